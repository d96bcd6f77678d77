#include "lock/ChoosePasswordDlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstring>

#include "platform/HelpViewer.h"
#include "generator/PasswordGenerator.h"
#include "platform/Prompter.h"
#include "platform/PasswordBox.h"
#include "platform/StrengthLine.h"
#include "platform/TextBytes.h"

namespace {

QLineEdit* MakePasswordEdit(const QString& name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setEchoMode(QLineEdit::Password);
    LimitToPasswordBytes(*edit);
    return edit;
}

}  // namespace

CChoosePasswordDlg::CChoosePasswordDlg(const Services& services, const std::string& charSet,
                                       QWidget* parent)
    : QDialog(parent),
      m_services(services),
      m_strCharSet(charSet),
      m_firstEdit(MakePasswordEdit(QStringLiteral("firstEdit"), this)),
      m_secondEdit(MakePasswordEdit(QStringLiteral("secondEdit"), this)),
      m_charSetNote(new QLabel(
          QStringLiteral("The characters must be from the presently defined set."), this)),
      m_byteLimitNote(new QLabel(PasswordLimitNote(kKeyTextPasswordLimit), this)),
      m_maxNote(new QLabel(QStringLiteral("A password can be\n16 characters max."), this)) {
    setWindowTitle(QStringLiteral("Choose the Keynest Password"));
    setProperty(kHelpContextProperty, kHelpChoosePassword);

    auto* firstLabel = new QLabel(QStringLiteral("Choose an UnLock Password"), this);
    firstLabel->setBuddy(m_firstEdit);
    auto* secondLabel = new QLabel(QStringLiteral("Enter Password Again"), this);
    secondLabel->setBuddy(m_secondEdit);
    m_charSetNote->setObjectName(QStringLiteral("charSetNote"));
    m_charSetNote->setWordWrap(true);
    m_maxNote->setObjectName(QStringLiteral("maxNote"));
    m_byteLimitNote->setObjectName(QStringLiteral("byteLimitNote"));
    m_byteLimitNote->setWordWrap(true);
    m_byteLimitNote->hide();

    auto* okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    auto* cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    cancelButton->setAutoDefault(false);
    auto* helpButton = new QPushButton(QStringLiteral("Help"), this);
    helpButton->setObjectName(QStringLiteral("helpButton"));
    helpButton->setAutoDefault(false);

    auto* fields = new QGridLayout;
    fields->addWidget(firstLabel, 0, 0);
    fields->addWidget(m_firstEdit, 1, 0);
    fields->addWidget(secondLabel, 2, 0);
    fields->addWidget(m_secondEdit, 3, 0);
    fields->addWidget(m_maxNote, 1, 1, 3, 1, Qt::AlignTop);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    buttons->addWidget(helpButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(new CStrengthLine(*m_firstEdit, this));
    layout->addWidget(m_charSetNote);
    layout->addWidget(m_byteLimitNote);
    layout->addLayout(buttons);

    connect(okButton, &QPushButton::clicked, this, &CChoosePasswordDlg::OnOK);
    connect(cancelButton, &QPushButton::clicked, this, &CChoosePasswordDlg::reject);
    connect(helpButton, &QPushButton::clicked, this, &CChoosePasswordDlg::OnHelp);
    connect(m_firstEdit, &QLineEdit::inputRejected, this, &CChoosePasswordDlg::OnInputRejected);
    connect(m_secondEdit, &QLineEdit::inputRejected, this, &CChoosePasswordDlg::OnInputRejected);
}

CChoosePasswordDlg::~CChoosePasswordDlg() {
    WipeQString(m_strFirst);
    WipeQString(m_strSecond);
}

void CChoosePasswordDlg::SetFirstUse(bool firstUse) {
    m_bFirstUse = firstUse;
    m_charSetNote->setVisible(!m_bFirstUse);
}

void CChoosePasswordDlg::SetPasswordLimit(const PasswordLimit& limit) {
    LimitToPasswordBytes(*m_firstEdit, limit);
    LimitToPasswordBytes(*m_secondEdit, limit);
    m_byteLimitNote->setText(PasswordLimitNote(limit));
    m_maxNote->setText(QStringLiteral("A password can be\n%1 characters max.").arg(limit.chars));
}

std::string CChoosePasswordDlg::FirstEntry() const { return ToBytes(m_strFirst); }

std::string CChoosePasswordDlg::SecondEntry() const { return ToBytes(m_strSecond); }

void CChoosePasswordDlg::showEvent(QShowEvent* event) {
    m_firstEdit->setText(m_strFirst);
    m_secondEdit->setText(m_strSecond);
    m_charSetNote->setVisible(!m_bFirstUse);
    m_firstEdit->setFocus();
    QDialog::showEvent(event);
}

void CChoosePasswordDlg::OnOK() {
    WipeQString(m_strFirst);
    WipeQString(m_strSecond);
    m_strFirst = m_firstEdit->text();
    m_strSecond = m_secondEdit->text();
    std::string first = FirstEntry();
    std::string second = SecondEntry();
    auto tell = [this](const QString& text) {
        m_services.prompter.Show(text, PromptButtons::Ok, PromptIcon::None);
    };

    bool accepted = false;
    if (!IsInCharSet(first, m_strCharSet) || !IsInCharSet(second, m_strCharSet)) {
        tell(QStringLiteral("Please use characters from the following set...\n\n%1 ")
                 .arg(FromBytes(m_strCharSet)));
        m_firstEdit->setFocus();
    } else if (first.empty()) {
        tell(QStringLiteral("Please type text into the first box. "));
        m_firstEdit->setFocus();
    } else if (second.empty()) {
        tell(QStringLiteral("Please type text into the second box. "));
        m_secondEdit->setFocus();
    } else if (first != second) {
        tell(QStringLiteral("The two Passwords do not match. "));
        m_firstEdit->setFocus();
    } else if (IsAllAlpha(first) || IsAllNumeric(first) || first.size() < 8) {
        const int answer = m_services.prompter.Show(
            QStringLiteral("Your chosen password is either...\n\n   all numeric\n   all alpha\n"
                           "   less than 8 characters\n\nA more complex password would be\n"
                           "better than the one you have chosen. \n\nWould you like to improve "
                           "yours?\n\n(Click No to use as-is.)"),
            PromptButtons::YesNo, PromptIcon::Question);
        accepted = answer != kPromptYes;
    } else {
        accepted = true;
    }
    explicit_bzero(first.data(), first.size());
    explicit_bzero(second.data(), second.size());
    if (accepted) accept();
}

void CChoosePasswordDlg::OnHelp() {
    m_services.help.ShowHelp(kHelpChoosePassword);
}

void CChoosePasswordDlg::OnInputRejected() {
    // Say why the keystroke did nothing instead of leaving the user guessing.
    m_byteLimitNote->show();
}
