#include "extras/AboutDlg.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QSysInfo>
#include <QVBoxLayout>

#include "extras/AboutTexts.h"
#include "extras/StaticLink.h"
#include "platform/HelpViewer.h"

namespace {

QLabel* CentredText(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    return label;
}

QGroupBox* GroupWithText(const QString& title, const QString& text, QWidget* parent) {
    auto* group = new QGroupBox(title, parent);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(CentredText(text, group));
    return group;
}

}  // namespace

CAboutDlg::CAboutDlg(int& mailVisited, int& webVisited, IShellOpener& shell, QWidget* parent)
    : QDialog(parent),
      m_mailLink(new CStaticLink(QString::fromLatin1(AboutTexts::kSupportMail), mailVisited, shell,
                                 this)),
      m_webLink(
          new CStaticLink(QString::fromLatin1(AboutTexts::kHomePage), webVisited, shell, this)) {
    setWindowTitle(QStringLiteral("About Keynest"));
    setProperty(kHelpContextProperty, kHelpAbout);
    m_mailLink->setObjectName(QStringLiteral("mailLink"));
    m_webLink->setObjectName(QStringLiteral("webLink"));

    auto* left = new QVBoxLayout;
    left->addWidget(GroupWithText(QStringLiteral("What Keynest Does"),
                                  QStringLiteral("Manages your passwords"), this));
    left->addWidget(GroupWithText(
        QStringLiteral("Legal Stuff"),
        QStringLiteral("Keynest comes as it is, with no warranty of any kind."), this));
    left->addStretch();

    auto* icon = new QLabel(this);
    const QIcon appIcon = QApplication::windowIcon().isNull()
                              ? style()->standardIcon(QStyle::SP_MessageBoxInformation)
                              : QApplication::windowIcon();
    icon->setPixmap(appIcon.pixmap(32, 32));
    auto* okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &CAboutDlg::accept);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(icon);
    bottom->addStretch();
    bottom->addWidget(okButton);

    auto* right = new QVBoxLayout;
    right->addWidget(CentredText(QStringLiteral("Keynest Version 1.4"), this));
    right->addWidget(CentredText(QStringLiteral("Copyright 2024-2026"), this));
    right->addWidget(
        CentredText(QStringLiteral("A %1 bit application").arg(QSysInfo::WordSize), this));
    right->addWidget(
        CentredText(QStringLiteral("Written by the Keynest\ndevelopers and contributors"), this));
    right->addWidget(m_mailLink);
    right->addWidget(m_webLink);
    right->addStretch();
    right->addLayout(bottom);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(right, 1);
}

CAboutDlg::~CAboutDlg() = default;
