#pragma once

#include <QDialog>
#include <functional>

#include "contract/Services.h"
#include "settings/Preferences.h"

class CRangeSpinBox;
class CRegistryStore;
class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

/// The modal form in which the user sets every preference. It holds the
/// values apart from its controls: the opener sets them before the run and
/// reads them after OK. It stores nothing but the New User Hint flags it shows.
class CPreferencesDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CPreferencesDlg)

  public:
    /// `unlocked` enables "Change Keynest Password", which runs `changePassword`.
    CPreferencesDlg(Services services, CRegistryStore& store, bool unlocked,
                    std::function<void()> changePassword, QWidget* parent = nullptr);
    ~CPreferencesDlg() override;

    /// The values shown when the dialog opens; their Length is the one in
    /// force for the character-set checks. "Restore hints" starts unticked.
    void SetValues(const Preferences& values);
    /// The longest Length the vault's format keeps (kMaxLength unless the
    /// vault is hardened); a longer Length in the values is shown cut to it.
    void SetMaxLength(unsigned maxLength);
    /// After OK: the values as confirmed.
    const Preferences& Values() const { return m_values; }
    /// After OK: whether every New User Hint is to show again.
    bool RestoreHints() const { return m_restoreHints != 0; }

    /// Loads the values into the controls and enables them; runs on the first show.
    void OnInitDialog();
    /// Enables the controls of auto-lock while it is on.
    void EnableAutoLockControls(bool enable);
    /// The auto-lock check box was clicked.
    void OnAutoLock();
    /// "Cancel the Dialog Box" was clicked.
    void OnCancelDialogChoice();
    /// The easy-to-use set buttons.
    void OnUpperCaseSet();
    void OnLowerCaseSet();
    /// "Show me the Defaults".
    void OnShowDefaults();
    /// "Change Keynest Password".
    void OnChangePasswordButton();
    /// OK and Enter: closes with OK when every value passes its checks.
    void OnOK();

    void accept() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    /// The buttons and the layout of the groups below.
    void BuildControls();
    QGroupBox* BuildEnvironmentGroup();
    QGroupBox* BuildGenerationGroup();
    QGroupBox* BuildCharacteristicsGroup();
    QGroupBox* BuildAutoLockGroup();
    QGroupBox* BuildCharSetGroup();
    void LoadControls();
    /// Reads every control into the values; a number box that holds no
    /// number leaves its value as it was.
    void ReadControls();
    /// True when the number box holds a whole number in the range `field` is declared with;
    /// otherwise says so and puts the focus in the box.
    bool CheckRange(CRangeSpinBox* box, PreferenceRange range);
    /// True when the character set is one new passwords can be drawn from.
    bool CheckCharSet();
    int Ask(const QString& text);
    void Warn(const QString& text);

    Services m_services;
    CRegistryStore& m_store;
    bool m_bUnlocked;
    std::function<void()> m_changePassword;

    Preferences m_values;
    int m_restoreHints = 0;
    unsigned m_lengthInForce = 16;
    unsigned m_maxLength = kMaxLength;
    bool m_bInitialized = false;

    QCheckBox* m_createOnAddCheck = nullptr;
    QCheckBox* m_emptyCheck = nullptr;
    QCheckBox* m_restoreHintsCheck = nullptr;
    QCheckBox* m_launchCheck = nullptr;
    QButtonGroup* m_makePwdGroup = nullptr;
    QCheckBox* m_alphaNumCheck = nullptr;
    CRangeSpinBox* m_lengthBox = nullptr;
    QCheckBox* m_autoLockCheck = nullptr;
    CRangeSpinBox* m_dogTimeBox = nullptr;
    QLabel* m_saveCancelText = nullptr;
    QButtonGroup* m_saveCancelGroup = nullptr;
    QRadioButton* m_cancelDialogRadio = nullptr;
    QRadioButton* m_trySaveRadio = nullptr;
    QLineEdit* m_charSetEdit = nullptr;
    QPushButton* m_changePasswordButton = nullptr;
    CRangeSpinBox* m_clipSecondsBox = nullptr;
    QCheckBox* m_lockOnDesktopCheck = nullptr;
};
