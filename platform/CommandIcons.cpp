#include "platform/CommandIcons.h"

#include <QFile>
#include <QString>

QIcon ThemeIcon(const char* freedesktopName) {
    const QString name = QString::fromLatin1(freedesktopName);
    const QString builtIn = QStringLiteral(":/icons/actions/%1.svg").arg(name);
    if (!QFile::exists(builtIn)) return QIcon::fromTheme(name);
    return QIcon::fromTheme(name, QIcon(builtIn));
}

QIcon AppIcon() { return QIcon(QStringLiteral(":/icons/io.keynest.Keynest.svg")); }
