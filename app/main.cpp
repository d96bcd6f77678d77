#include <QApplication>

#include "app/KeynestApp.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Keynest"));
    QApplication::setApplicationVersion(QStringLiteral("1.4"));
    CKeynestApp keynest;
    if (!keynest.InitInstance()) return 0;
    const int result = QApplication::exec();
    keynest.ExitInstance();
    return result;
}
