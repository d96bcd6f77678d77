// A password copied or cut out of a password box goes through the clipboard
// seam, by key or by the box's menu; an ordinary box copies as usual.

#include <gtest/gtest.h>

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include "FakeServices.h"
#include "platform/PasswordBox.h"

namespace {

// Chooses the entry of the box's context menu that names `key`.
void ChooseInMenu(QLineEdit& box, QKeySequence::StandardKey key) {
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(1, 1), box.mapToGlobal(QPoint(1, 1)));
    QCoreApplication::sendEvent(&box, &event);
    auto* menu = box.findChild<QMenu*>();
    ASSERT_NE(menu, nullptr);
    const QString keyText = QKeySequence(key).toString(QKeySequence::NativeText);
    for (QAction* action : menu->actions()) {
        if (action->text().endsWith(QLatin1Char('\t') + keyText)) action->trigger();
    }
    delete menu;
}

TEST(PasswordBoxTest, CopyAndCutGoThroughTheSeamByKeyAndMenu) {
    const struct {
        QKeySequence::StandardKey key;
        bool byMenu;
    } cases[] = {{QKeySequence::Copy, false}, {QKeySequence::Cut, false},
                 {QKeySequence::Copy, true},  {QKeySequence::Cut, true}};
    for (const auto& c : cases) {
        keynest_test::FakeClipboard clipboard;
        QLineEdit box;
        CopyAsSecret(box, clipboard);
        box.setText(QStringLiteral("ab-p\u00E4ss"));
        box.setSelection(3, 5);
        if (c.byMenu) {
            ChooseInMenu(box, c.key);
        } else {
            QTest::keySequence(&box, QKeySequence(c.key));
        }
        EXPECT_EQ(clipboard.text, "p\xC3\xA4ss") << c.key << c.byMenu;
        EXPECT_EQ(box.text(), c.key == QKeySequence::Cut ? QStringLiteral("ab-")
                                                           : QStringLiteral("ab-p\u00E4ss"));
        EXPECT_FALSE(box.dragEnabled());
    }

    QLineEdit ordinary(QStringLiteral("Location"));
    ordinary.selectAll();
    QTest::keySequence(&ordinary, QKeySequence(QKeySequence::Copy));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("Location"));
}

}  // namespace
