#include "app/HelpWindow.h"

#include <QApplication>
#include <QWindow>

CHelpWindow::CHelpWindow(QWidget* parent) : QTextBrowser(parent) {
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(QStringLiteral("Keynest Help"));
    setOpenExternalLinks(false);
    resize(640, 560);
}

namespace {

struct HelpPage {
    int context;
    const char* file;
};

// The page of each window; every other context opens the contents.
constexpr HelpPage kPages[] = {
    {kHelpMainWindow, "main-window.html"},
    {kHelpUnlock, "unlock.html"},
    {kHelpSetAside, "set-aside.html"},
    {kHelpChoosePassword, "choose-password.html"},
    {kHelpItem, "item.html"},
    {kHelpMakePassword, "make-password.html"},
    {kHelpPreferences, "preferences.html"},
    {kHelpExportImport, "export-import.html"},
    {kHelpPrinting, "printing.html"},
    {kHelpTwofishTest, "twofish-test.html"},
    {kHelpPasswordHealth, "password-health.html"},
    {kHelpVaultFormat, "hardened-vault.html"},
    {kHelpAbout, "about.html"},
};

}  // namespace

QUrl CHelpWindow::PageFor(int context) {
    const char* file = "index.html";
    for (const HelpPage& page : kPages) {
        if (page.context == context) file = page.file;
    }
    return QUrl(QStringLiteral("qrc:/help/") + QString::fromLatin1(file));
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
