#include "app/HelpWindow.h"

CHelpWindow::CHelpWindow(QWidget* parent) : QTextBrowser(parent) {
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(QStringLiteral("Keynest Help"));
    setOpenExternalLinks(false);
    resize(640, 560);
}

QUrl CHelpWindow::PageFor(int context) {
    switch (context) {
        case kHelpChoosePassword: return QUrl(QStringLiteral("qrc:/help/choose-password.html"));
        default: return QUrl(QStringLiteral("qrc:/help/index.html"));
    }
}

void CHelpWindow::ShowHelp(int context) {
    setSource(PageFor(context));
    show();
    raise();
    activateWindow();
}
