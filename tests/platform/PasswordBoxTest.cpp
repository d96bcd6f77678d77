// A password copied or cut out of a password box goes through the clipboard
// seam, by key or by the box's own menu.

#include <gtest/gtest.h>

#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include "FakeServices.h"
#include "platform/PasswordBox.h"

namespace {

TEST(PasswordBoxTest, CopyAndCutGoThroughTheSeamByKeyAndMenu) {
    for (const auto key : {QKeySequence::Copy, QKeySequence::Cut}) {
        for (const bool byMenu : {false, true}) {
            keynest_test::FakeClipboard clipboard;
            QLineEdit box(QStringLiteral("ab-p\u00E4ss"));
            CopyAsSecret(box, clipboard);
            box.setSelection(3, 5);
            if (byMenu) {
                QContextMenuEvent event(QContextMenuEvent::Keyboard, {1, 1},
                                        box.mapToGlobal(QPoint(1, 1)));
                QCoreApplication::sendEvent(&box, &event);
                const std::unique_ptr<QMenu> menu(box.findChild<QMenu*>());
                ASSERT_TRUE(menu);
                const QString named = QKeySequence(key).toString(QKeySequence::NativeText);
                for (QAction* action : menu->actions()) {
                    if (action->text().endsWith(QLatin1Char('\t') + named)) action->trigger();
                }
            } else {
                QTest::keySequence(&box, key);
            }
            EXPECT_EQ(clipboard.text, "p\xC3\xA4ss") << key << byMenu;
            EXPECT_EQ(box.text().size(), key == QKeySequence::Cut ? 3 : 7) << key << byMenu;
        }
    }
}

}  // namespace
