// What a keyboard or screen-reader user meets in the main window: a row
// selected after an unlock, a copy told in the status bar, and the names of
// the list, the find box, the menu items and the toolbar buttons.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include "FakeServices.h"
#include "Program.h"
#include "app/CommandTable.h"
#include "ui/ItemListView.h"

namespace {

using namespace keynest_test;

QString Accessible(QObject* object, QAccessible::Text text = QAccessible::Name) {
    return QAccessible::queryAccessibleInterface(object)->text(text);
}

TEST(KeyboardAccessTest, UnlockSelectsARowAndACopyIsToldInTheStatusBar) {
    FakeServices fakes;
    FreshProgram run(fakes.AsServices());
    Program& program = run.program;
    ASSERT_TRUE(program.AddStoredItem("Amazon", "pw-a"));
    ASSERT_TRUE(program.AddStoredItem("Bank", "pw-b"));
    QStatusBar& status = *program.frame.statusBar();
    const struct {
        int clipSeconds;
        const char* said;
    } cases[] = {{20, "Password of \"Bank\" copied to the Clipboard; it is cleared in 20 seconds."},
                 {0, "Password of \"Bank\" copied to the Clipboard; it is cleared when Keynest "
                     "locks or ends."}};
    for (const auto& c : cases) {
        program.view->Prefs().clipSeconds = c.clipSeconds;
        program.view->List().SelectRow(1);
        program.frame.OnCommand(ID_EDIT_COPY_PASSWORD);
        EXPECT_EQ(fakes.clipboard.text, "pw-b");
        // The screen reader reads the status bar's message as its name.
        EXPECT_EQ(Accessible(&status), QString::fromUtf8(c.said));
    }

    // After a lock and an unlock the first row is selected: the keys act at once.
    bool readyWhileLocked = false;
    WhenModal<CUnlockDlg>([&](CUnlockDlg* dialog) {
        readyWhileLocked = !program.Unlocked() && status.currentMessage() == QStringLiteral("Ready");
        Box(dialog, "passwordEdit")->setText(kProgramPassword);
        Press(dialog, "okButton");
    });
    program.frame.OnCommand(ID_FILE_LOCK);
    ASSERT_TRUE(WaitUntil([&] { return readyWhileLocked && program.Unlocked(); }));
    EXPECT_EQ(program.view->List().FirstSelectedRow(), 0);
    EXPECT_TRUE(WaitUntil([&] { return program.frame.Action(ID_EDIT_COPY_PASSWORD)->isEnabled(); }));
}

TEST(KeyboardAccessTest, ControlsMenuItemsAndToolbarButtonsAreNamedWithoutTheirKeys) {
    FakeServices fakes;
    FreshProgram run(fakes.AsServices());
    CMainFrame& frame = run.program.frame;
    EXPECT_EQ(Accessible(&run.program.view->List()), QStringLiteral("Items"));
    EXPECT_EQ(Accessible(&run.program.view->FindBox()), QStringLiteral("Find"));

    // The menu still shows the key the specification names; the reader
    // hears the name and gets the key as the item's shortcut.
    QAction* add = frame.Action(ID_EDIT_ADD_ITEM);
    EXPECT_EQ(add->text(), QStringLiteral("&Add Item...\tCtrl-A"));
    int menuItems = 0;
    for (QAction* title : frame.menuBar()->actions()) {
        QMenu* menu = title->menu();
        QAccessibleInterface* menuAccessible = QAccessible::queryAccessibleInterface(menu);
        for (int i = 0; i < menuAccessible->childCount(); ++i) {
            QAccessibleInterface* item = menuAccessible->child(i);
            if (item->role() != QAccessible::MenuItem) continue;
            ++menuItems;
            EXPECT_FALSE(item->text(QAccessible::Name).contains(QLatin1Char('\t')))
                << item->text(QAccessible::Name).toStdString();
            if (item->object() != add) continue;
            EXPECT_EQ(item->text(QAccessible::Name), QStringLiteral("Add Item..."));
            EXPECT_EQ(item->text(QAccessible::Accelerator), QStringLiteral("Ctrl+A"));
        }
    }
    EXPECT_GE(menuItems, 20);

    const auto buttons = frame.findChild<QToolBar*>(QStringLiteral("toolbar"))->findChildren<QToolButton*>();
    int named = 0;
    for (QToolButton* button : buttons) {
        if (button->defaultAction() == nullptr) continue;
        const QString name = Accessible(button);
        EXPECT_FALSE(name.isEmpty() || name.contains(QLatin1Char('\t'))) << name.toStdString();
        if (button->defaultAction() == add) {
            EXPECT_EQ(name, QStringLiteral("Add Item"));
        }
        ++named;
    }
    EXPECT_GE(named, 10);
}

}  // namespace
