#include "ui/items/ItemDlg.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <utility>

#include "generator/PasswordGenerator.h"
#include "settings/Preferences.h"
#include "platform/NewUserHint.h"
#include "platform/Prompter.h"
#include "platform/Clipboard.h"
#include "platform/HelpViewer.h"
#include "platform/PasswordBox.h"
#include "platform/StrengthLine.h"
#include "platform/TextBytes.h"

namespace {

struct FieldInfo {
    const char* objectName;
    const char* label;
    const char* boxName;  // how the too-long message names the box
};

constexpr std::array<FieldInfo, kItemColumnCount> kFields = {{
    {"locationEdit", "Location (required)", "Location"},
    {"urlEdit", "URL (optional)", "URL"},
    {"userIdEdit", "User ID (optional)", "User ID"},
    {"hintEdit", "Hint (optional)", "Hint"},
    {"noteEdit", "Note (optional)", "Note"},
    {"passwordEdit", "Password (required)", "Password"},
}};

}  // namespace

CItemDlg::CItemDlg(Services services, CRegistryStore& store, const Preferences& prefs,
                   QWidget* parent)
    : QDialog(parent), m_services(services), m_store(store), m_prefs(prefs) {
    setObjectName(QStringLiteral("itemDialog"));
    setWindowTitle(QStringLiteral("Add Keynest Item"));
    setProperty(kHelpContextProperty, kHelpItem);

    auto* layout = new QVBoxLayout(this);
    for (int column = 0; column < kItemColumnCount; ++column) {
        const FieldInfo& field = kFields[static_cast<size_t>(column)];
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(field.objectName));
        auto* label = new QLabel(QString::fromLatin1(field.label), this);
        label->setBuddy(edit);
        m_edits[static_cast<size_t>(column)] = edit;
        layout->addWidget(label);
        if (column != kColPassword) {
            edit->setMaxLength(kMaxTextChars);
            edit->setMinimumWidth(420);
            layout->addWidget(edit);
        }
    }

    BuildPasswordRow(*layout);
    BuildButtons(*layout);

    connect(m_copyButton, &QPushButton::clicked, this, &CItemDlg::OnCopyPassword);
    connect(m_createButton, &QPushButton::clicked, this, &CItemDlg::OnCreatePassword);
    connect(m_okButton, &QPushButton::clicked, this, &CItemDlg::OnOK);
    connect(m_cancelButton, &QPushButton::clicked, this, &CItemDlg::reject);

    QWidget* previous = m_edits[0];
    for (QWidget* next : {static_cast<QWidget*>(m_edits[1]), static_cast<QWidget*>(m_edits[2]),
                          static_cast<QWidget*>(m_edits[3]), static_cast<QWidget*>(m_edits[4]),
                          static_cast<QWidget*>(m_edits[5]), static_cast<QWidget*>(m_copyButton),
                          static_cast<QWidget*>(m_createButton), static_cast<QWidget*>(m_okButton),
                          static_cast<QWidget*>(m_cancelButton)}) {
        setTabOrder(previous, next);
        previous = next;
    }
}

void CItemDlg::BuildPasswordRow(QVBoxLayout& layout) {
    QLineEdit* password = m_edits[kColPassword];
    password->setEchoMode(QLineEdit::Normal);  // shown in clear on purpose
    password->setFixedWidth(password->fontMetrics().horizontalAdvance(QLatin1Char('W')) * 17);
    LimitToPasswordBytes(*password, m_passwordLimit);
    KeepSelectionPrivate(*password);
    CopyAsSecret(*password, m_services.clipboard);
    connect(password, &QLineEdit::inputRejected, this, [this] { ShowPasswordLimitNote(true); });
    password->installEventFilter(this);
    connect(password, &QLineEdit::textChanged, this, [this](const QString& text) {
        ShowPasswordLimitNote(!FitsPasswordLimit(text, m_passwordLimit));
    });

    auto* passwordRow = new QHBoxLayout;
    passwordRow->addWidget(password);
    auto* setNote = new QLabel(
        QStringLiteral(
            "The character set for the password can be adjusted in the Preferences dialog."),
        this);
    setNote->setWordWrap(true);
    passwordRow->addWidget(setNote, 1);
    layout.addLayout(passwordRow);

    m_passwordLimitLabel = new QLabel(PasswordLimitNote(m_passwordLimit), this);
    m_passwordLimitLabel->setObjectName(QStringLiteral("passwordLimitLabel"));
    m_passwordLimitLabel->setVisible(false);
    layout.addWidget(m_passwordLimitLabel);
    layout.addWidget(new CStrengthLine(*password, this));
}

void CItemDlg::BuildButtons(QVBoxLayout& layout) {
    m_copyButton = new QPushButton(QStringLiteral("Copy Password to Clipboard"), this);
    m_copyButton->setObjectName(QStringLiteral("copyPasswordButton"));
    m_copyButton->setAutoDefault(false);
    m_createButton = new QPushButton(QStringLiteral("Create a new Password"), this);
    m_createButton->setObjectName(QStringLiteral("createPasswordButton"));
    m_createButton->setAutoDefault(false);
    m_okButton = new QPushButton(QStringLiteral("OK"), this);
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_okButton->setDefault(true);
    m_cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    m_cancelButton->setAutoDefault(false);

    auto* buttons = new QGridLayout;
    buttons->addWidget(m_copyButton, 0, 0);
    buttons->addWidget(m_createButton, 1, 0);
    buttons->setColumnStretch(1, 1);
    buttons->addWidget(m_okButton, 1, 2);
    buttons->addWidget(m_cancelButton, 1, 3);
    layout.addLayout(buttons);
}

CItemDlg::~CItemDlg() {
    for (int column = 0; column < kItemColumnCount; ++column) WipeString(Value(column));
}

std::string CItemDlg::*CItemDlg::Member(int column) {
    switch (column) {
        case kColUrl: return &CItemDlg::m_strUrl;
        case kColUserId: return &CItemDlg::m_strUserId;
        case kColHint: return &CItemDlg::m_strHint;
        case kColNote: return &CItemDlg::m_strNote;
        case kColPassword: return &CItemDlg::m_strPassword;
        default: return &CItemDlg::m_strLocation;
    }
}

void CItemDlg::SetText(int column, const std::string& text) {
    if (column < 0 || column >= kItemColumnCount) return;
    std::string& value = Value(column);
    WipeString(value);
    value = text;
}

const std::string& CItemDlg::Text(int column) const { return this->*Member(column); }

void CItemDlg::showEvent(QShowEvent* event) {
    if (!m_bInitialized && !event->spontaneous()) {
        m_bInitialized = true;
        OnInitDialog();
    }
    QDialog::showEvent(event);
}

void CItemDlg::OnInitDialog() {
    LoadBoxes();
    if (m_bEditMode) {
        setWindowTitle(QStringLiteral("Edit Keynest Item"));
        m_okButton->setText(QStringLiteral("Save"));
    }
    m_edits[0]->setFocus();
}

void CItemDlg::LoadBoxes() {
    for (int column = 0; column < kItemColumnCount; ++column) {
        const QString text = FromBytes(Value(column));
        QLineEdit* edit = m_edits[static_cast<size_t>(column)];
        // A stored text longer than the limit is shown whole, not cut; the
        // check on reading back then asks the user to shorten it.
        if (column != kColPassword) {
            edit->setMaxLength(static_cast<int>(std::max<qsizetype>(kMaxTextChars, text.size())));
        }
        edit->setText(text);
    }
}

void CItemDlg::ReadBoxes() {
    for (int column = 0; column < kItemColumnCount; ++column) {
        std::string& value = Value(column);
        WipeString(value);
        value = ToBytes(m_edits[static_cast<size_t>(column)]->text());
    }
}

bool CItemDlg::CheckLimits(bool showMessages) {
    for (int column = 0; column < kItemColumnCount; ++column) {
        QLineEdit* edit = m_edits[static_cast<size_t>(column)];
        const bool isPassword = column == kColPassword;
        const bool tooLong = isPassword ? !FitsPasswordLimit(edit->text(), m_passwordLimit)
                                        : edit->text().size() > kMaxTextChars;
        if (!tooLong) continue;
        if (showMessages) {
            const QString text =
                isPassword ? PasswordLimitNote(m_passwordLimit) +
                                 QStringLiteral("\n\nPlease shorten the Password.")
                           : QStringLiteral("The %1 box holds at most %2 characters.\n\n"
                                            "Please shorten the text.")
                                 .arg(QString::fromLatin1(kFields[static_cast<size_t>(column)].boxName))
                                 .arg(kMaxTextChars);
            m_services.prompter.Show(text, PromptButtons::Ok, PromptIcon::Warning);
            edit->setFocus();
            edit->selectAll();
        }
        return false;
    }
    return true;
}

bool CItemDlg::ValidateFields(bool showMessages) {
    ReadBoxes();
    if (!CheckLimits(showMessages)) return false;

    if (m_strLocation.empty()) {
        if (showMessages) {
            m_services.prompter.Show(QStringLiteral("Please type text into the Location box. "),
                                      PromptButtons::Ok, PromptIcon::Warning);
        }
        return false;
    }
    if (m_strPassword.empty()) {
        if (showMessages) {
            m_services.prompter.Show(QStringLiteral("Please type text into the Password box. "),
                                      PromptButtons::Ok, PromptIcon::Warning);
        }
        return false;
    }
    if (!IsInCharSet(m_strPassword, m_prefs.pwdChars)) {
        if (!showMessages) return false;
        const QString question =
            QStringLiteral(
                "Your preferred character set is...\n\n%1\n\nAt least one character in your "
                "chosen\npassword is not in that preferred set.\n\nDo you want to use %2\nas "
                "this item's password?")
                .arg(FromBytes(m_prefs.pwdChars), FromBytes(m_strPassword));
        return m_services.prompter.Show(question, PromptButtons::YesNo, PromptIcon::Question) ==
               kPromptYes;
    }
    return true;
}

void CItemDlg::accept() { OnOK(); }

void CItemDlg::OnOK() {
    if (!ValidateFields(true)) return;
    ReadBoxes();
    QDialog::accept();
}

bool CItemDlg::SaveSilently() {
    if (!ValidateFields(false)) return false;
    ReadBoxes();
    QDialog::accept();
    return true;
}

bool CItemDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_edits[kColPassword] && event->type() == QEvent::FocusIn) {
        // Run after the focus change has finished: the hint is a modal box,
        // which must not open in the middle of moving the focus.
        QTimer::singleShot(0, this, [this] {
            if (isVisible()) OnSetFocusPassword();
        });
    }
    return QDialog::eventFilter(watched, event);
}

void CItemDlg::OnSetFocusPassword() {
    if (!m_bEditMode || m_bChangeAcknowledged) return;
    // Set first: closing the box gives the focus back to the Password box,
    // and this handler must then do nothing.
    m_bChangeAcknowledged = true;
    ShowNewUserHint(
        m_store, m_services.prompter, NewUserHints::kChangeEditPwd,
        QStringLiteral("New User Hint...\n\nIf you are changing this existing password \nyou may "
                       "want to write it down now.\n\nYou will need to visit the Location or Web "
                       "\nsite and change it there too. Right?"));
}

void CItemDlg::OnCreatePassword() {
    ReadBoxes();
    // A classic vault's 16 characters cut a longer Length the preferences keep.
    const auto length =
        static_cast<unsigned>(std::min<std::size_t>(m_prefs.length, m_passwordLimit.chars));
    std::string fresh =
        GeneratePassword(m_prefs.pwdChars, length, m_prefs.alphaNum, m_services.random);
    if (fresh.empty()) {
        // Only an empty character set gives nothing; an empty Password
        // would be refused on OK anyway, so say why instead.
        m_services.prompter.Show(QString::fromUtf8(kEmptyCharSetMessage), PromptButtons::Ok,
                                  PromptIcon::Warning);
        return;
    }
    if (m_bEditMode && !m_strPassword.empty() && !m_bChangeAcknowledged) {
        const QString question =
            QStringLiteral(
                "Your existing password is %1\n\nIf you are changing this existing password \nyou "
                "may want to write it down now.\n\nYou will need to visit the Location or Web "
                "site \nand change it there too. Right?\n\nDo you want to change now?")
                .arg(FromBytes(m_strPassword));
        if (m_services.prompter.Show(question, PromptButtons::YesNo, PromptIcon::Question) !=
            kPromptYes) {
            WipeString(fresh);
            return;
        }
        m_bChangeAcknowledged = true;
    }
    WipeString(m_strPassword);
    m_strPassword = std::move(fresh);
    // The other values were just read from their boxes; only the Password changes.
    m_edits[kColPassword]->setText(FromBytes(m_strPassword));
}

void CItemDlg::OnCopyPassword() {
    ReadBoxes();
    m_services.clipboard.SetText(m_strPassword);
}

void CItemDlg::SetPasswordLimit(const PasswordLimit& limit) {
    m_passwordLimit = limit;
    LimitToPasswordBytes(*m_edits[kColPassword], limit);
    m_passwordLimitLabel->setText(PasswordLimitNote(limit));
}

void CItemDlg::ShowPasswordLimitNote(bool visible) {
    if (m_passwordLimitLabel) m_passwordLimitLabel->setVisible(visible);
}
