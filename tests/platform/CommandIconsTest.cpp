// The icons built into the program: every one draws, and a theme without
// an icon falls back to the built-in one.

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QImage>
#include <QPixmap>

#include "CommandIcons.h"

namespace {

// True when `icon` draws something visible at `size` pixels.
bool DrawsAt(const QIcon& icon, int size) {
    const QImage image = icon.pixmap(size).toImage();
    if (image.isNull()) return false;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0) return true;
    return false;
}

class CommandIconsTest : public ::testing::Test {
  protected:
    // No theme at all, so that only the built-in pictures can answer.
    void SetUp() override {
        m_searchPaths = QIcon::themeSearchPaths();
        QIcon::setThemeSearchPaths({});
    }
    void TearDown() override { QIcon::setThemeSearchPaths(m_searchPaths); }

  private:
    QStringList m_searchPaths;
};

TEST_F(CommandIconsTest, EveryBuiltInIconDrawsThroughThemeIcon) {
    int count = 0;
    for (QDirIterator it(QStringLiteral(":/icons/actions")); it.hasNext(); ++count) {
        const QString name = QFileInfo(it.next()).completeBaseName();
        EXPECT_TRUE(DrawsAt(ThemeIcon(name.toLatin1().constData()), 16)) << name.toStdString();
    }
    EXPECT_GT(count, 0);
}

TEST_F(CommandIconsTest, UnknownNameWithoutThemeIsNull) {
    EXPECT_TRUE(ThemeIcon("keynest-no-such-icon").isNull());
}

TEST_F(CommandIconsTest, AppIconDrawsAtEveryWindowSize) {
    for (const int size : {16, 32, 256}) EXPECT_TRUE(DrawsAt(AppIcon(), size)) << size;
}

}  // namespace
