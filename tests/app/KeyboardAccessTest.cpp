// What a keyboard or screen-reader user meets in the main window: a row
// selected after an unlock, a copy told in the status bar, and the names of
// the list, the find box, the menu items and the toolbar buttons.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolButton>

#include "FakeServices.h"
#include "Program.h"
#include "app/commands/CommandTable.h"
#include "ui/list/ItemListView.h"

namespace {

using namespace keynest_test;

QString Name(QAccessibleInterface* accessible, QAccessible::Text text = QAccessible::Name) {
    return accessible->text(text);
}
QString Name(QObject* object) { return Name(QAccessible::queryAccessibleInterface(object)); }

TEST(KeyboardAccessTest, UnlockSelectsARowAndACopyIsToldInTheStatusBar) {
    FakeServices fakes;
    FreshProgram run(fakes.AsServices());
    Program& program = run.program;
    ASSERT_TRUE(program.AddStoredItem("Amazon", "pw-a"));
    ASSERT_TRUE(program.AddStoredItem("Bank", "pw-b"));
    QStatusBar& status = *program.frame.statusBar();
    for (const int seconds : {20, 0}) {
        program.view->Prefs().clipSeconds = seconds;
        program.view->List().SelectRow(1);
        program.frame.OnCommand(ID_EDIT_COPY_PASSWORD);
        // The screen reader reads the status bar's message as its name.
        EXPECT_EQ(Name(&status),
                  QStringLiteral("Password of \"Bank\" copied to the Clipboard; ") +
                      (seconds ? QStringLiteral("it is cleared in 20 seconds.")
                               : QStringLiteral("it is cleared when Keynest locks or ends.")));
    }

    bool readyWhileLocked = false;
    WhenModal<CUnlockDlg>([&](CUnlockDlg* dialog) {
        readyWhileLocked =
            !program.Unlocked() && status.currentMessage() == QStringLiteral("Ready");
        Box(dialog, "passwordEdit")->setText(kProgramPassword);
        Press(dialog, "okButton");
    });
    program.frame.OnCommand(ID_FILE_LOCK);
    ASSERT_TRUE(WaitUntil([&] { return readyWhileLocked && program.Unlocked(); }));
    EXPECT_EQ(program.view->List().FirstSelectedRow(), 0);
    EXPECT_TRUE(
        WaitUntil([&] { return program.frame.Action(ID_EDIT_COPY_PASSWORD)->isEnabled(); }));
}

TEST(KeyboardAccessTest, ControlsMenuItemsAndToolbarButtonsAreNamedWithoutTheirKeys) {
    FakeServices fakes;
    FreshProgram run(fakes.AsServices());
    CMainFrame& frame = run.program.frame;
    EXPECT_EQ(Name(&run.program.view->List()), QStringLiteral("Items"));
    EXPECT_EQ(Name(&run.program.view->FindBox()), QStringLiteral("Find"));

    // The menu still shows the key after a tab, as it always did; the
    // reader hears the name and gets the key as the item's shortcut.
    QAction* add = frame.Action(ID_EDIT_ADD_ITEM);
    EXPECT_EQ(add->text(), QStringLiteral("&Add Item...\tCtrl-A"));
    QStringList names;
    for (QAction* title : frame.menuBar()->actions()) {
        QAccessibleInterface* menu = QAccessible::queryAccessibleInterface(title->menu());
        for (int i = 0; i < menu->childCount(); ++i) {
            names << Name(menu->child(i));
            if (menu->child(i)->object() != add) continue;
            EXPECT_EQ(Name(menu->child(i)), QStringLiteral("Add Item..."));
            EXPECT_EQ(Name(menu->child(i), QAccessible::Accelerator), QStringLiteral("Ctrl+A"));
        }
    }
    for (QToolButton* button : frame.findChildren<QToolButton*>()) {
        if (button->defaultAction() != nullptr) names << Name(button);
    }
    EXPECT_TRUE(names.contains(QStringLiteral("Add Item")));
    EXPECT_EQ(names.filter(QStringLiteral("\t")), QStringList());
}

}  // namespace
