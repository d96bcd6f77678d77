#pragma once

#include <QDialog>
#include <functional>
#include <string>

class CRegenEdit;
class IClipboard;
class QPushButton;

/// The small window that shows a fresh random password in clear text, for
/// the user to copy; F3 in the box draws another one. It stores nothing.
class CRandomPasswordDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CRandomPasswordDlg)

  public:
    /// `regenerate` gives each password F3 asks for; a copy out of the box
    /// goes to `clipboard`.
    CRandomPasswordDlg(std::function<std::string()> regenerate, IClipboard& clipboard,
                       QWidget* parent = nullptr);
    ~CRandomPasswordDlg() override;

    /// The password shown when the dialog opens (UTF-8 bytes).
    void SetPassword(const std::string& password);
    const std::string& Password() const { return m_strPassword; }

    /// Loads the password into the box and puts the focus there; runs on the first show.
    void OnInitDialog();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    std::string m_strPassword;
    bool m_bInitialized = false;
    CRegenEdit* m_passwordEdit;
    QPushButton* m_closeButton;
};
