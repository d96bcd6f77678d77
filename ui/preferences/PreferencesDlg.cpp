#include "ui/preferences/PreferencesDlg.h"

#include <algorithm>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <utility>

#include "generator/PasswordGenerator.h"
#include "platform/HelpViewer.h"
#include "platform/NewUserHint.h"
#include "platform/Prompter.h"
#include "platform/TextBytes.h"
#include "ui/preferences/RangeSpinBox.h"

namespace {

const QString kNoDogHint = QStringLiteral(
    "New User Hint...\n\nYou are choosing not to have Keynest\nself-lock due to "
    "inactivity.\n\nThis will compromise your security.\n\nHit F1 for Help at anytime.");
const QString kSaveCancelHint = QStringLiteral(
    "New User Hint...\n\nYou are choosing not to have Keynest attempt to \nSave the dialog box "
    "information from an open Add or \nEdit Dialog box when Keynest is attempting to "
    "Auto-Lock.\n\nThis is not recommended.\n\nYou could loose a password already stored to a "
    "Location.\n\nAre you sure you want to do this?\n\nHit F1 for Help at anytime.");
const QString kEmptySetRefusal = QStringLiteral(
    "The Password Character Set is empty.\n\nNew passwords are drawn from these characters, so "
    "please type some or choose an easy-to-use set.");

// The minutes arrows stop at an hour; longer times are typed.
constexpr unsigned kDogTimeArrowsHigh = 60;

void SetArrows(CRangeSpinBox& box, PreferenceRange range) {
    box.SetArrowRange(static_cast<int>(range.low), static_cast<int>(range.high));
}

template <class T>
T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// The radio button of `group` with id `value`; none is checked when no
// button has that id.
void CheckRadio(QButtonGroup* group, int value) {
    if (QAbstractButton* button = group->button(value)) {
        button->setChecked(true);
        return;
    }
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons()) button->setChecked(false);
    group->setExclusive(true);
}

// Tab enters `group` at its checked button (at its first while none is
// checked), as radio groups do elsewhere on the desktop; the arrow keys
// still move within the group.
void LetTabEnterAtCheckedButton(QButtonGroup* group) {
    const auto follow = [group] {
        const QList<QAbstractButton*> buttons = group->buttons();
        QAbstractButton* entry = group->checkedButton();
        if (entry == nullptr && !buttons.isEmpty()) entry = buttons.first();
        for (QAbstractButton* button : buttons) {
            button->setFocusPolicy(button == entry ? Qt::StrongFocus : Qt::ClickFocus);
        }
    };
    QObject::connect(group, &QButtonGroup::buttonToggled, group, follow);
    follow();
}

void ReadRadio(const QButtonGroup* group, int& value) {
    if (group->checkedId() >= 0) value = group->checkedId();
}

}  // namespace

CPreferencesDlg::CPreferencesDlg(Services services, CRegistryStore& store, bool unlocked,
                                 std::function<void()> changePassword, QWidget* parent)
    : QDialog(parent),
      m_services(services),
      m_store(store),
      m_bUnlocked(unlocked),
      m_changePassword(std::move(changePassword)) {
    setObjectName(QStringLiteral("preferencesDialog"));
    setWindowTitle(QStringLiteral("Keynest Preferences"));
    setProperty(kHelpContextProperty, kHelpPreferences);
    BuildControls();
}

CPreferencesDlg::~CPreferencesDlg() = default;

QGroupBox* CPreferencesDlg::BuildEnvironmentGroup() {
    auto* environment = new QGroupBox(QStringLiteral("Environment Preferences"), this);
    m_createOnAddCheck = Named(
        new QCheckBox(QStringLiteral("Suggest a password when an item is added"), environment),
        "createOnAddCheck");
    m_emptyCheck = Named(
        new QCheckBox(QStringLiteral("Erase the Clipboard when exiting Keynest"), environment),
        "emptyCheck");
    m_restoreHintsCheck =
        Named(new QCheckBox(QStringLiteral("Restore \"New User Hints\""), environment),
              "restoreHintsCheck");
    m_launchCheck = Named(new QCheckBox(QStringLiteral("If an Item has a URL, have my browser take "
                                                       "me there when I select the Location field"),
                                        environment),
                          "launchCheck");
    // How long a copied password stays on the clipboard.
    m_clipSecondsBox = Named(new CRangeSpinBox(environment), "clipSecondsBox");
    SetArrows(*m_clipSecondsBox, RangeOf(&Preferences::clipSeconds));
    auto* clipLabel = new QLabel(
        QStringLiteral("Clear a copied password from the Clipboard after"), environment);
    clipLabel->setBuddy(m_clipSecondsBox);
    auto* clipRow = new QHBoxLayout;
    clipRow->addWidget(clipLabel);
    clipRow->addWidget(m_clipSecondsBox);
    clipRow->addWidget(new QLabel(QStringLiteral("seconds (0: never)"), environment));
    clipRow->addStretch();
    auto* environmentLayout = new QVBoxLayout(environment);
    for (QWidget* w : {m_createOnAddCheck, m_emptyCheck, m_restoreHintsCheck, m_launchCheck}) {
        environmentLayout->addWidget(w);
    }
    environmentLayout->addLayout(clipRow);
    return environment;
}

QGroupBox* CPreferencesDlg::BuildGenerationGroup() {
    auto* generation = new QGroupBox(QStringLiteral("Password Generation Preference"), this);
    auto* dialogRadio =
        Named(new QRadioButton(QStringLiteral("In a Dialog box"), generation), "dialogRadio");
    auto* clipboardRadio =
        Named(new QRadioButton(QStringLiteral("On the Clipboard"), generation), "clipboardRadio");
    m_makePwdGroup = new QButtonGroup(this);
    m_makePwdGroup->addButton(dialogRadio, 0);
    m_makePwdGroup->addButton(clipboardRadio, 1);
    LetTabEnterAtCheckedButton(m_makePwdGroup);
    auto* generationLayout = new QVBoxLayout(generation);
    auto* generationText = new QLabel(
        QStringLiteral("Command \"Edit > Make a Password\" creates a password..."), generation);
    generationText->setWordWrap(true);
    generationLayout->addWidget(generationText);
    generationLayout->addWidget(dialogRadio);
    generationLayout->addWidget(clipboardRadio);
    return generation;
}

QGroupBox* CPreferencesDlg::BuildCharacteristicsGroup() {
    auto* characteristics =
        new QGroupBox(QStringLiteral("Password Characteristics Preferences"), this);
    m_alphaNumCheck =
        Named(new QCheckBox(QStringLiteral("Create with at least one Alpha and one Numeric"),
                            characteristics),
              "alphaNumCheck");
    m_lengthBox = Named(new CRangeSpinBox(characteristics), "lengthBox");
    SetArrows(*m_lengthBox, {RangeOf(&Preferences::length).low, m_maxLength});
    auto* lengthLabel =
        new QLabel(QStringLiteral("New passwords are to be this length"), characteristics);
    lengthLabel->setBuddy(m_lengthBox);
    auto* characteristicsLayout = new QGridLayout(characteristics);
    characteristicsLayout->addWidget(m_alphaNumCheck, 0, 0, 1, 2);
    characteristicsLayout->addWidget(m_lengthBox, 1, 0);
    characteristicsLayout->addWidget(lengthLabel, 1, 1);
    characteristicsLayout->setColumnStretch(1, 1);
    return characteristics;
}

QGroupBox* CPreferencesDlg::BuildAutoLockGroup() {
    auto* autoLock = new QGroupBox(QStringLiteral("Auto-Lock"), this);
    m_autoLockCheck = Named(
        new QCheckBox(QStringLiteral("Auto-Lock Keynest when inactive for too long"), autoLock),
        "autoLockCheck");
    m_dogTimeBox = Named(new CRangeSpinBox(autoLock), "dogTimeBox");
    SetArrows(*m_dogTimeBox, {RangeOf(&Preferences::dogTimeMinutes).low, kDogTimeArrowsHigh});
    auto* dogTimeLabel = new QLabel(QStringLiteral("Inactive duration (minutes)"), autoLock);
    dogTimeLabel->setBuddy(m_dogTimeBox);
    m_saveCancelText = Named(new QLabel(QStringLiteral("If Auto-Locking while an 'Add Item' or "
                                                       "'Edit Item' dialog is displayed do the "
                                                       "following"),
                                        autoLock),
                             "saveCancelText");
    m_saveCancelText->setWordWrap(true);
    m_cancelDialogRadio = Named(new QRadioButton(QStringLiteral("Cancel the Dialog Box"), autoLock),
                                "cancelDialogRadio");
    m_trySaveRadio = Named(new QRadioButton(QStringLiteral("Try to Save the Dialog Box"), autoLock),
                           "trySaveRadio");
    m_saveCancelGroup = new QButtonGroup(this);
    m_saveCancelGroup->addButton(m_cancelDialogRadio, 0);
    m_saveCancelGroup->addButton(m_trySaveRadio, 1);
    LetTabEnterAtCheckedButton(m_saveCancelGroup);
    m_lockOnDesktopCheck = Named(
        new QCheckBox(QStringLiteral("Lock when the screen locks or the computer sleeps"), autoLock),
        "lockOnDesktopCheck");
    auto* autoLockLayout = new QGridLayout(autoLock);
    autoLockLayout->addWidget(m_lockOnDesktopCheck, 5, 0, 1, 2);
    autoLockLayout->addWidget(m_autoLockCheck, 0, 0, 1, 2);
    autoLockLayout->addWidget(m_dogTimeBox, 1, 0);
    autoLockLayout->addWidget(dogTimeLabel, 1, 1);
    autoLockLayout->addWidget(m_saveCancelText, 2, 0, 1, 2);
    autoLockLayout->addWidget(m_cancelDialogRadio, 3, 0, 1, 2);
    autoLockLayout->addWidget(m_trySaveRadio, 4, 0, 1, 2);
    autoLockLayout->setColumnStretch(1, 1);
    connect(m_autoLockCheck, &QCheckBox::clicked, this, &CPreferencesDlg::OnAutoLock);
    connect(m_cancelDialogRadio, &QRadioButton::clicked, this,
            &CPreferencesDlg::OnCancelDialogChoice);
    return autoLock;
}

QGroupBox* CPreferencesDlg::BuildCharSetGroup() {
    auto* charSet = new QGroupBox(QStringLiteral("Password Character Set"), this);
    m_charSetEdit = Named(new QLineEdit(charSet), "charSetEdit");
    auto* upperButton =
        Named(new QPushButton(QStringLiteral("Make an easy-to-use set using Upper-case characters"),
                              charSet),
              "upperCaseSetButton");
    auto* lowerButton =
        Named(new QPushButton(QStringLiteral("Make an easy-to-use set using Lower-case characters"),
                              charSet),
              "lowerCaseSetButton");
    auto* charSetLayout = new QGridLayout(charSet);
    charSetLayout->addWidget(m_charSetEdit, 0, 0, 1, 2);
    charSetLayout->addWidget(upperButton, 1, 0);
    charSetLayout->addWidget(lowerButton, 1, 1);
    upperButton->setAutoDefault(false);
    lowerButton->setAutoDefault(false);
    connect(upperButton, &QPushButton::clicked, this, &CPreferencesDlg::OnUpperCaseSet);
    connect(lowerButton, &QPushButton::clicked, this, &CPreferencesDlg::OnLowerCaseSet);
    return charSet;
}

void CPreferencesDlg::BuildControls() {
    // Made in the order the Tab key visits them.
    QGroupBox* environment = BuildEnvironmentGroup();
    QGroupBox* generation = BuildGenerationGroup();
    QGroupBox* characteristics = BuildCharacteristicsGroup();
    QGroupBox* autoLock = BuildAutoLockGroup();
    QGroupBox* charSet = BuildCharSetGroup();
    m_changePasswordButton = Named(new QPushButton(QStringLiteral("Change Keynest Password"), this),
                                   "changePasswordButton");
    auto* defaultsButton =
        Named(new QPushButton(QStringLiteral("Show me the Defaults"), this), "defaultsButton");
    auto* okButton = Named(new QPushButton(QStringLiteral("OK"), this), "okButton");
    auto* cancelButton = Named(new QPushButton(QStringLiteral("Cancel"), this), "cancelButton");
    for (QPushButton* button : {m_changePasswordButton, defaultsButton, cancelButton}) {
        button->setAutoDefault(false);
    }
    okButton->setDefault(true);

    auto* left = new QVBoxLayout;
    left->addWidget(environment);
    left->addWidget(generation);
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(characteristics);
    right->addWidget(autoLock);
    right->addStretch(1);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_changePasswordButton);
    buttons->addWidget(defaultsButton);
    buttons->addStretch(1);
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(charSet);
    layout->addLayout(buttons);

    connect(defaultsButton, &QPushButton::clicked, this, &CPreferencesDlg::OnShowDefaults);
    connect(m_changePasswordButton, &QPushButton::clicked, this,
            &CPreferencesDlg::OnChangePasswordButton);
    connect(okButton, &QPushButton::clicked, this, &CPreferencesDlg::OnOK);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void CPreferencesDlg::SetValues(const Preferences& values) {
    m_values = values;
    m_lengthInForce = values.length;
    m_restoreHints = 0;
}

void CPreferencesDlg::SetMaxLength(unsigned maxLength) {
    m_maxLength = maxLength;
    m_lengthInForce = std::min(m_lengthInForce, maxLength);
    SetArrows(*m_lengthBox, {RangeOf(&Preferences::length).low, m_maxLength});
}

void CPreferencesDlg::showEvent(QShowEvent* event) {
    if (!m_bInitialized && !event->spontaneous()) {
        m_bInitialized = true;
        OnInitDialog();
    }
    QDialog::showEvent(event);
}

void CPreferencesDlg::OnInitDialog() {
    LoadControls();
    m_changePasswordButton->setEnabled(m_bUnlocked);
    EnableAutoLockControls(m_values.dog != 0);
}

void CPreferencesDlg::LoadControls() {
    m_createOnAddCheck->setChecked(m_values.createOnAdd != 0);
    m_emptyCheck->setChecked(m_values.emptyClipboard != 0);
    m_restoreHintsCheck->setChecked(m_restoreHints != 0);
    m_launchCheck->setChecked(m_values.launch != 0);
    CheckRadio(m_makePwdGroup, m_values.makePwdRadio);
    m_alphaNumCheck->setChecked(m_values.alphaNum != 0);
    m_lengthBox->setValue(static_cast<int>(std::min(m_values.length, m_maxLength)));
    m_autoLockCheck->setChecked(m_values.dog != 0);
    m_dogTimeBox->setValue(m_values.dogTimeMinutes);
    CheckRadio(m_saveCancelGroup, m_values.saveCancel);
    m_charSetEdit->setText(FromBytes(m_values.pwdChars));
    m_clipSecondsBox->setValue(m_values.clipSeconds);
    m_lockOnDesktopCheck->setChecked(m_values.lockOnDesktop != 0);
}

void CPreferencesDlg::ReadControls() {
    m_values.createOnAdd = m_createOnAddCheck->isChecked() ? 1 : 0;
    m_values.emptyClipboard = m_emptyCheck->isChecked() ? 1 : 0;
    m_restoreHints = m_restoreHintsCheck->isChecked() ? 1 : 0;
    m_values.launch = m_launchCheck->isChecked() ? 1 : 0;
    ReadRadio(m_makePwdGroup, m_values.makePwdRadio);
    m_values.alphaNum = m_alphaNumCheck->isChecked() ? 1 : 0;
    if (const auto length = m_lengthBox->Number()) m_values.length = *length;
    m_values.dog = m_autoLockCheck->isChecked() ? 1 : 0;
    if (const auto minutes = m_dogTimeBox->Number()) {
        m_values.dogTimeMinutes = static_cast<int>(*minutes);
    }
    ReadRadio(m_saveCancelGroup, m_values.saveCancel);
    m_values.pwdChars = ToBytes(m_charSetEdit->text());
    if (const auto seconds = m_clipSecondsBox->Number()) {
        m_values.clipSeconds = static_cast<int>(*seconds);
    }
    m_values.lockOnDesktop = m_lockOnDesktopCheck->isChecked() ? 1 : 0;
}

void CPreferencesDlg::EnableAutoLockControls(bool enable) {
    for (QWidget* w :
         {static_cast<QWidget*>(m_dogTimeBox), static_cast<QWidget*>(m_saveCancelText),
          static_cast<QWidget*>(m_cancelDialogRadio), static_cast<QWidget*>(m_trySaveRadio)}) {
        w->setEnabled(enable);
    }
}

void CPreferencesDlg::OnAutoLock() {
    ReadControls();
    EnableAutoLockControls(m_values.dog != 0);
    if (m_values.dog == 0) ShowNewUserHint(m_store, m_services.prompter, NewUserHints::kNoDog, kNoDogHint);
}

void CPreferencesDlg::OnCancelDialogChoice() {
    ReadControls();
    if (m_values.dog == 0) return;
    const std::optional<int> answer = ShowNewUserHint(
        m_store, m_services.prompter, NewUserHints::kSaveCancel, kSaveCancelHint, PromptButtons::YesNo);
    if (answer && *answer != kPromptYes) {
        m_values.saveCancel = 1;
        CheckRadio(m_saveCancelGroup, m_values.saveCancel);
    }
}

void CPreferencesDlg::OnUpperCaseSet() {
    m_charSetEdit->setText(QString::fromLatin1(kEasyUpperCharSet));
}

void CPreferencesDlg::OnLowerCaseSet() {
    m_charSetEdit->setText(QString::fromLatin1(kEasyLowerCharSet));
}

void CPreferencesDlg::OnShowDefaults() {
    ResetDialogPreferences(m_values);
    m_restoreHints = 1;
    EnableAutoLockControls(true);
    LoadControls();
}

void CPreferencesDlg::OnChangePasswordButton() {
    if (m_changePassword) m_changePassword();
}

void CPreferencesDlg::accept() { OnOK(); }

void CPreferencesDlg::OnOK() {
    ReadControls();
    if (!CheckRange(m_lengthBox, {RangeOf(&Preferences::length).low, m_maxLength})) return;
    if (!CheckRange(m_dogTimeBox, RangeOf(&Preferences::dogTimeMinutes))) return;
    if (!CheckRange(m_clipSecondsBox, RangeOf(&Preferences::clipSeconds))) return;
    if (!CheckCharSet()) {
        m_charSetEdit->setFocus();
        return;
    }
    QDialog::accept();
}

bool CPreferencesDlg::CheckRange(CRangeSpinBox* box, PreferenceRange range) {
    const auto [low, high] = range;
    const auto number = box->Number();
    if (number && *number >= low && *number <= high) return true;
    Warn(QStringLiteral("Please enter a whole number from %1 to %2.").arg(low).arg(high));
    box->setFocus();
    box->selectAll();
    return false;
}

bool CPreferencesDlg::CheckCharSet() {
    // Nothing can be drawn from an empty set, whatever else is chosen.
    if (m_values.pwdChars.empty()) {
        Warn(kEmptySetRefusal);
        return false;
    }
    return AcceptCharSet(
        m_values.pwdChars, m_values.alphaNum, m_lengthInForce,
        [this](const std::string& question) {
            return Ask(QString::fromStdString(question)) == kPromptYes;
        },
        [this](const std::string& warning) { Warn(QString::fromStdString(warning)); });
}

int CPreferencesDlg::Ask(const QString& text) {
    return m_services.prompter.Show(text, PromptButtons::YesNo, PromptIcon::Question);
}

void CPreferencesDlg::Warn(const QString& text) {
    m_services.prompter.Show(text, PromptButtons::Ok, PromptIcon::Warning);
}
