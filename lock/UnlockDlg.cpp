#include "lock/UnlockDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/HelpViewer.h"
#include "platform/PasswordBox.h"
#include "platform/Prompter.h"
#include "platform/TextBytes.h"

CUnlockDlg::CUnlockDlg(IPrompter& prompter, QWidget* parent)
    : QDialog(parent), m_prompter(prompter), m_passwordEdit(new QLineEdit(this)) {
    setWindowTitle(QStringLiteral("UnLock Keynest"));
    setProperty(kHelpContextProperty, kHelpUnlock);

    auto* prompt = new QLabel(QStringLiteral("Enter Keynest Password"), this);
    m_passwordEdit->setObjectName(QStringLiteral("passwordEdit"));
    m_passwordEdit->setEchoMode(QLineEdit::Password);
    // No password over the key's length can match: refuse it while typing.
    LimitToPasswordBytes(*m_passwordEdit);
    prompt->setBuddy(m_passwordEdit);

    auto* okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    auto* cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    m_shutdownButton = new QPushButton(QStringLiteral("Shutdown Keynest"), this);
    m_shutdownButton->setObjectName(QStringLiteral("shutdownButton"));
    m_shutdownButton->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    buttons->addStretch();
    buttons->addWidget(m_shutdownButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(m_passwordEdit);
    layout->addLayout(buttons);

    connect(okButton, &QPushButton::clicked, this, &CUnlockDlg::OnOK);
    connect(cancelButton, &QPushButton::clicked, this, &CUnlockDlg::reject);
    connect(m_shutdownButton, &QPushButton::clicked, this, &CUnlockDlg::OnShutdown);
}

CUnlockDlg::~CUnlockDlg() { WipeQString(m_strPassword); }

std::string CUnlockDlg::Password() const { return ToBytes(m_strPassword); }

void CUnlockDlg::showEvent(QShowEvent* event) {
    m_passwordEdit->setText(m_strPassword);
    m_passwordEdit->setFocus();
    if (QWidget* owner = parentWidget()) {
        const QRect area = owner->window()->frameGeometry();
        move(area.center() - rect().center());
    }
    QDialog::showEvent(event);
}

void CUnlockDlg::OnOK() {
    WipeQString(m_strPassword);
    m_strPassword = m_passwordEdit->text();
    if (m_strPassword.isEmpty()) {
        m_prompter.Show(QStringLiteral("Enter your Keynest Password. "), PromptButtons::Ok,
                        PromptIcon::None);
        m_passwordEdit->setFocus();
        return;
    }
    accept();
}

void CUnlockDlg::OnShutdown() {
    // The main window's close path ends the program and takes this dialog with it.
    Q_EMIT shutdownRequested();
}

void CUnlockDlg::SetPasswordLimit(const PasswordLimit& limit) {
    LimitToPasswordBytes(*m_passwordEdit, limit);
}

void CUnlockDlg::AskForSetAsideItems() {
    setWindowTitle(QStringLiteral("Open Set-Aside Items"));
    setProperty(kHelpContextProperty, kHelpSetAside);
    m_shutdownButton->hide();
}
