#include "app/HelpWindow.h"

#include <QApplication>
#include <QWindow>

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
    // A modal dialog blocks every window but those it is a parent of, so
    // while one is open the help window is tied to it, to stay usable.
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != this && modal->windowHandle() && windowHandle()) {
        windowHandle()->setTransientParent(modal->windowHandle());
    }
    raise();
    activateWindow();
}
