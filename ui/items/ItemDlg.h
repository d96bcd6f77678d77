#pragma once

#include <QDialog>
#include <array>
#include <string>

#include "contract/AutoSaveDialog.h"
#include "vault/ItemList.h"
#include "vault/ItemRules.h"
#include "contract/Services.h"

class CRegistryStore;
class QLabel;
class QVBoxLayout;
class QLineEdit;
class QPushButton;
struct Preferences;

/// The modal form in which the user types a new Item or changes an existing
/// one. It holds the six texts (UTF-8 bytes) apart from its boxes: the opener
/// sets them before the modal run and reads them after OK. It stores nothing.
class CItemDlg final : public QDialog, public IAutoSaveDialog {
    Q_OBJECT

public:
    /// Longest text of the Location, URL, User ID, Hint and Note boxes, in characters.
    static constexpr int kMaxTextChars = 300;

    CItemDlg(Services services, CRegistryStore& store, const Preferences& prefs,
             QWidget* parent = nullptr);
    ~CItemDlg() override;

    /// Sets the value of one column (kColLocation ... kColPassword).
    void SetText(int column, const std::string& text);
    /// The value of one column: after OK, the text as it stood in its box.
    const std::string& Text(int column) const;
    /// Edit mode: the Item exists already; set by the opener before the run.
    void SetEditMode(bool editMode) { m_bEditMode = editMode; }
    /// The longest Password the form takes: the vault format's.
    void SetPasswordLimit(const PasswordLimit& limit);

    /// Loads the values into the boxes and sets the edit-mode title; runs on the first show.
    void OnInitDialog();
    /// Reads the boxes into the values and checks them; messages only with showMessages.
    bool ValidateFields(bool showMessages);
    /// The OK button and Enter: closes with OK when the fields pass.
    void OnOK();
    /// Closes with OK when the fields pass without any message; used by the inactivity lock.
    bool SaveSilently() override;
    /// Runs when the Password box gets the focus: the one-time hint in edit mode.
    void OnSetFocusPassword();
    /// The "Create a new Password" button.
    void OnCreatePassword();
    /// The "Copy Password to Clipboard" button.
    void OnCopyPassword();

    /// OK from any path goes through the checks.
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// The Password box with its note and the limit note below it.
    void BuildPasswordRow(QVBoxLayout& layout);
    void BuildButtons(QVBoxLayout& layout);
    /// The member that holds the value of `column`.
    static std::string CItemDlg::*Member(int column);
    std::string& Value(int column) { return this->*Member(column); }
    void LoadBoxes();
    void ReadBoxes();
    /// True when every box holds no more than its limit; otherwise tells
    /// the user (with showMessages) and puts the focus in the box.
    bool CheckLimits(bool showMessages);
    void ShowPasswordLimitNote(bool visible);

    Services m_services;
    CRegistryStore& m_store;
    const Preferences& m_prefs;

    std::string m_strLocation;
    std::string m_strUrl;
    std::string m_strUserId;
    std::string m_strHint;
    std::string m_strNote;
    std::string m_strPassword;
    bool m_bEditMode = false;
    bool m_bChangeAcknowledged = false;
    bool m_bInitialized = false;

    std::array<QLineEdit*, kItemColumnCount> m_edits{};
    QLabel* m_passwordLimitLabel = nullptr;
    PasswordLimit m_passwordLimit = kKeyTextPasswordLimit;
    QPushButton* m_copyButton = nullptr;
    QPushButton* m_createButton = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};
