#include <QApplication>

#include "platform/CommandIcons.h"
#include "platform/FocusRingStyle.h"
#include "app/KeynestApp.h"
#include "vault/ProcessHardening.h"

int main(int argc, char** argv) {
    RestartWithFreedMemoryWiped(argv);
    ForbidMemoryDumps();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Keynest"));
    QApplication::setApplicationVersion(QStringLiteral(KEYNEST_VERSION));
    // Ties the windows to the installed desktop entry: the Wayland app id,
    // and the name desktops look up for the icon and the launcher.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.keynest.Keynest"));
    QApplication::setWindowIcon(AppIcon());
    UseFocusRingStyle();
    CKeynestApp keynest;
    if (!keynest.InitInstance()) return 0;
    const int result = QApplication::exec();
    keynest.ExitInstance();
    return result;
}
