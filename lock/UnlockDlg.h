#pragma once

#include <QDialog>
#include <QString>
#include <string>

#include "vault/ItemRules.h"

class IPrompter;
class QLineEdit;
class QPushButton;

/// The UnLock dialog: asks for the Keynest password. OK with an empty box
/// is refused with a message; "Shutdown Keynest" asks the program to end.
class CUnlockDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CUnlockDlg)

  public:
    CUnlockDlg(IPrompter& prompter, QWidget* parent = nullptr);
    ~CUnlockDlg() override;

    /// Turns the dialog into the question for a password that may open the
    /// set-aside Items: its own title and no "Shutdown Keynest".
    void AskForSetAsideItems();
    /// The longest password the box takes: the vault format's.
    void SetPasswordLimit(const PasswordLimit& limit);

    /// The accepted password as UTF-8 bytes.
    std::string Password() const;

    /// The typed password, loaded into the box when the dialog opens and
    /// read back on OK.
    QString m_strPassword;

  Q_SIGNALS:
    /// The user chose "Shutdown Keynest"; the main window should close.
    void shutdownRequested();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void OnOK();
    void OnShutdown();

    IPrompter& m_prompter;
    QLineEdit* m_passwordEdit;
    QPushButton* m_shutdownButton;
};
