#include "ui/password/RandomPasswordDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <utility>

#include "platform/PasswordBox.h"
#include "platform/StrengthLine.h"
#include "platform/HelpViewer.h"
#include "platform/TextBytes.h"
#include "ui/password/RegenEdit.h"
#include "vault/ItemList.h"

CRandomPasswordDlg::CRandomPasswordDlg(std::function<std::string()> regenerate,
                                       IClipboard& clipboard, QWidget* parent)
    : QDialog(parent),
      m_passwordEdit(new CRegenEdit(std::move(regenerate), this)),
      m_closeButton(new QPushButton(QStringLiteral("Close"), this)) {
    setObjectName(QStringLiteral("randomPasswordDialog"));
    setWindowTitle(QStringLiteral("Keynest Random Password "));
    setProperty(kHelpContextProperty, kHelpMakePassword);

    m_passwordEdit->setObjectName(QStringLiteral("passwordEdit"));
    KeepSelectionPrivate(*m_passwordEdit);
    CopyAsSecret(*m_passwordEdit, clipboard);
    m_passwordEdit->setMinimumWidth(
        m_passwordEdit->fontMetrics().horizontalAdvance(QLatin1Char('W')) * 17);
    m_closeButton->setObjectName(QStringLiteral("closeButton"));
    m_closeButton->setDefault(true);
    connect(m_closeButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(m_passwordEdit, 1);
    top->addWidget(m_closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    auto* copyNote = new QLabel(QStringLiteral("You can Copy and Paste"), this);
    auto* regenNote = new QLabel(QStringLiteral("Or hit F3 to regenerate"), this);
    layout->addWidget(copyNote);
    layout->addWidget(regenNote);
    // The box has no label of its own: a screen reader names it and reads
    // the two notes below it as its description.
    m_passwordEdit->setAccessibleName(QStringLiteral("Random password"));
    m_passwordEdit->setAccessibleDescription(copyNote->text() + QStringLiteral(". ") +
                                             regenNote->text() + QLatin1Char('.'));
    layout->insertWidget(1, new CStrengthLine(*m_passwordEdit, this));
    setTabOrder(m_passwordEdit, m_closeButton);
}

CRandomPasswordDlg::~CRandomPasswordDlg() { WipeString(m_strPassword); }

void CRandomPasswordDlg::SetPassword(const std::string& password) {
    WipeString(m_strPassword);
    m_strPassword = password;
}

void CRandomPasswordDlg::showEvent(QShowEvent* event) {
    if (!m_bInitialized && !event->spontaneous()) {
        m_bInitialized = true;
        OnInitDialog();
    }
    QDialog::showEvent(event);
}

void CRandomPasswordDlg::OnInitDialog() {
    m_passwordEdit->setText(FromBytes(m_strPassword));
    m_passwordEdit->setFocus();
}
