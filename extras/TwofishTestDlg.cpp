#include "extras/TwofishTestDlg.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <string>

#include "platform/HelpViewer.h"
#include "platform/Prompter.h"
#include "platform/TextBytes.h"
#include "vault/ItemList.h"
#include "vault/PasswordSealer.h"

namespace {

constexpr int kMaxTextChars = 16;
constexpr int kMaxHexDigits = 32;

bool IsPrintableAscii(const QString& text) {
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() >= 0x21 && c.unicode() <= 0x7E; });
}

QLineEdit* NamedEdit(const char* name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

}  // namespace

CTwofishTestDlg::CTwofishTestDlg(CPasswordSealer& sealer, IPrompter& prompter, QWidget* parent)
    : QDialog(parent),
      m_sealer(sealer),
      m_prompter(prompter),
      m_keyEdit(NamedEdit("keyEdit", this)),
      m_plainEdit(NamedEdit("plainTextEdit", this)),
      m_cipherEdit(NamedEdit("cipherTextEdit", this)),
      m_asciiButton(new QRadioButton(QStringLiteral("ASCII Text"), this)),
      m_hexButton(new QRadioButton(QStringLiteral("Hex Nibbles"), this)) {
    setWindowTitle(QStringLiteral("Keynest's TwoFish Tester"));
    setProperty(kHelpContextProperty, kHelpTwofishTest);
    m_asciiButton->setObjectName(QStringLiteral("asciiButton"));
    m_hexButton->setObjectName(QStringLiteral("hexButton"));

    auto* layout = new QVBoxLayout(this);
    for (const QString& text :
         {QStringLiteral("Keynest uses TwoFish with a 128 bit key in Electronic Code Book (ECB) "
                         "mode."),
          QStringLiteral("TwoFish Test Vectors are publicly available and some are in the Help "
                         "File (Hit F1)."),
          QStringLiteral("The easiest set is 128 bits of 0 for both the Key and the PlainText. "
                         "\nThis yields a CipherText of..."),
          QStringLiteral("9F589F5CF6122C32B6BFEC2F2AE8C35A"),
          QStringLiteral("Click the Compute button right now to generate that!  (null strings "
                         "are zeros)")}) {
        auto* label = new QLabel(text, this);
        label->setTextFormat(Qt::PlainText);
        layout->addWidget(label);
    }

    auto* group = new QGroupBox(QStringLiteral("I am entering data as"), this);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(m_asciiButton);
    groupLayout->addWidget(m_hexButton);
    auto* computeButton = new QPushButton(QStringLiteral("Compute"), this);
    computeButton->setObjectName(QStringLiteral("computeButton"));
    computeButton->setDefault(true);
    auto* closeButton = new QPushButton(QStringLiteral("Close"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    closeButton->setAutoDefault(false);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Key"), this), 0, 0);
    grid->addWidget(m_keyEdit, 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("PlainText"), this), 2, 0);
    grid->addWidget(m_plainEdit, 3, 0);
    grid->addWidget(group, 0, 1, 4, 2);
    grid->addWidget(new QLabel(QStringLiteral("CipherText"), this), 4, 0);
    grid->addWidget(m_cipherEdit, 5, 0);
    grid->addWidget(computeButton, 5, 1);
    grid->addWidget(closeButton, 5, 2);
    grid->setColumnStretch(0, 1);
    layout->addLayout(grid);

    setTabOrder(m_keyEdit, m_plainEdit);
    setTabOrder(m_plainEdit, m_asciiButton);
    setTabOrder(m_asciiButton, m_hexButton);
    setTabOrder(m_hexButton, computeButton);
    setTabOrder(computeButton, closeButton);
    setTabOrder(closeButton, m_cipherEdit);

    connect(computeButton, &QPushButton::clicked, this, &CTwofishTestDlg::OnCompute);
    connect(closeButton, &QPushButton::clicked, this, &CTwofishTestDlg::accept);
}

CTwofishTestDlg::~CTwofishTestDlg() {
    // A user may well try a real password as the key.
    WipeQString(m_strKey);
    WipeQString(m_strPlainText);
}

void CTwofishTestDlg::showEvent(QShowEvent* event) {
    LoadControls();
    QDialog::showEvent(event);
}

void CTwofishTestDlg::done(int result) {
    TakeFromControls();
    QDialog::done(result);
}

void CTwofishTestDlg::TakeFromControls() {
    WipeQString(m_strKey);
    WipeQString(m_strPlainText);
    m_strKey = m_keyEdit->text();
    m_strPlainText = m_plainEdit->text();
    m_strCipherText = m_cipherEdit->text();
    m_nDataForm = m_asciiButton->isChecked() ? kAsciiText
                  : m_hexButton->isChecked() ? kHexNibbles
                                             : kNoForm;
}

void CTwofishTestDlg::LoadControls() {
    m_keyEdit->setText(m_strKey);
    m_plainEdit->setText(m_strPlainText);
    m_cipherEdit->setText(m_strCipherText);
    // Two auto radio buttons with no group: unchecking one leaves both clear.
    m_asciiButton->setAutoExclusive(false);
    m_hexButton->setAutoExclusive(false);
    m_asciiButton->setChecked(m_nDataForm == kAsciiText);
    m_hexButton->setChecked(m_nDataForm == kHexNibbles);
    m_asciiButton->setAutoExclusive(true);
    m_hexButton->setAutoExclusive(true);
}

QString CTwofishTestDlg::CheckInput() const {
    if (m_nDataForm == kAsciiText) {
        if (!IsPrintableAscii(m_strKey) || !IsPrintableAscii(m_strPlainText)) {
            return QStringLiteral("Error: Character of of range of ! to ` (0x21 to 0x7e).");
        }
        if (m_strKey.size() > kMaxTextChars || m_strPlainText.size() > kMaxTextChars) {
            return QStringLiteral("Error: ASCII strings must have 16 or fewer characters.");
        }
        return {};
    }
    // Hex Nibbles, and also when neither form is chosen.
    if (m_strKey.size() % 2 != 0 || m_strPlainText.size() % 2 != 0) {
        return QStringLiteral("Error: Hex strings must be even nibble length.");
    }
    if (m_strKey.size() > kMaxHexDigits || m_strPlainText.size() > kMaxHexDigits) {
        return QStringLiteral("Error: Hex strings must have 32 or fewer nibbles.");
    }
    if (!CPasswordSealer::IsHexText(ToBytes(m_strKey)) ||
        !CPasswordSealer::IsHexText(ToBytes(m_strPlainText))) {
        return QStringLiteral("Error: Hex strings have non-hex nibbles.");
    }
    return {};
}

void CTwofishTestDlg::ShowError(const QString& text) {
    m_prompter.Show(text, PromptButtons::Ok, PromptIcon::None);
}

void CTwofishTestDlg::OnCompute() {
    TakeFromControls();
    const QString problem = CheckInput();
    if (!problem.isEmpty()) {
        ShowError(problem);
        return;
    }
    std::string key = ToBytes(m_strKey);
    std::string plain = ToBytes(m_strPlainText);
    const bool encrypted = m_sealer.EncryptBlock(key, plain, m_nDataForm);
    WipeString(key);
    WipeString(plain);
    if (!encrypted) {
        ShowError(QStringLiteral("Error: Encryption failed."));
        return;
    }
    m_strCipherText = QString::fromLatin1(m_sealer.CipherBlockToHex());
    LoadControls();
}
