#pragma once

#include <QDialog>
#include <QString>
#include <string>

#include "platform/PasswordBox.h"
#include "contract/Services.h"

class QLabel;
class QLineEdit;

/// The dialog for choosing the UnLock password: two entries that must
/// match and come from the character set, with a question when the
/// password is simple.
class CChoosePasswordDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CChoosePasswordDlg)

  public:
    CChoosePasswordDlg(const Services& services, const std::string& charSet,
                       QWidget* parent = nullptr);
    ~CChoosePasswordDlg() override;

    /// At first use the note about the character set is hidden.
    void SetFirstUse(bool firstUse);
    /// The longest password the boxes take, and the notes that say so:
    /// the vault format's.
    void SetPasswordLimit(const PasswordLimit& limit);

    /// The entries as UTF-8 bytes; after OK both hold the chosen password.
    std::string FirstEntry() const;
    std::string SecondEntry() const;

    QString m_strFirst;
    QString m_strSecond;
    bool m_bFirstUse = false;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void OnOK();
    void OnHelp();
    void OnInputRejected();

    Services m_services;
    std::string m_strCharSet;
    QLineEdit* m_firstEdit;
    QLineEdit* m_secondEdit;
    QLabel* m_charSetNote;
    QLabel* m_byteLimitNote;
    QLabel* m_maxNote;
};
