// The icons built into the program: with no desktop theme, every one draws
// through ThemeIcon, and an unknown name stays null.

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QImage>
#include <algorithm>

#include "platform/CommandIcons.h"

namespace {

// True when `icon` draws at least one visible pixel at `size` pixels.
bool DrawsAt(const QIcon& icon, int size) {
    const QImage image = icon.pixmap(size).toImage().convertToFormat(QImage::Format_Alpha8);
    const auto* bits = image.constBits();
    return !image.isNull() &&
           std::any_of(bits, bits + image.sizeInBytes(), [](auto a) { return a; });
}

TEST(CommandIconsTest, BuiltInIconsDrawWithoutATheme) {
    const QStringList searchPaths = QIcon::themeSearchPaths();
    QIcon::setThemeSearchPaths({});
    int count = 0;
    for (QDirIterator it(QStringLiteral(":/icons/actions")); it.hasNext(); ++count) {
        const QByteArray name = QFileInfo(it.next()).completeBaseName().toLatin1();
        EXPECT_TRUE(DrawsAt(ThemeIcon(name.constData()), 16)) << name.constData();
    }
    EXPECT_GT(count, 0);
    EXPECT_TRUE(ThemeIcon("keynest-no-such-icon").isNull());
    for (const int size : {16, 256}) EXPECT_TRUE(DrawsAt(AppIcon(), size)) << size;
    QIcon::setThemeSearchPaths(searchPaths);
}

}  // namespace
