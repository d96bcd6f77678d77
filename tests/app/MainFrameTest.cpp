// The main window: menus, accelerators and toolbar, the lock pane, its
// geometry from the store, Help Topics and commands not built yet.

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "ui/CommandStates.h"
#include "app/CommandTable.h"
#include "FakeServices.h"
#include "app/MainFrame.h"
#include "TestSupport.h"

namespace {

class MainFrameTest : public ::testing::Test, protected keynest_test::TempStore {
  protected:
    keynest_test::FakeHelpViewer m_help;
};

// The items of a menu, separators as "-", joined by "|".
QString MenuTexts(const QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    return texts.join(QLatin1Char('|'));
}

TEST_F(MainFrameTest, MenusHoldEveryCommandInOrderWithSeparators) {
    CMainFrame frame(m_store, m_help);
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Keynest"));
    const QList<QAction*> menus = frame.menuBar()->actions();
    ASSERT_EQ(menus.size(), 4);
    EXPECT_EQ(
        MenuTexts(menus[0]->menu()),
        QStringLiteral("&UnLock...\tF10|&Import From File...\tCtrl-I|&Export To File...\tCtrl-E|"
                       "-|&Test TwoFish...\tF7|-|Re&set|-|&Print...\tCtrl+P|Print Pre&view|"
                       "P&rint Setup...|-|E&xit"));
    EXPECT_EQ(MenuTexts(menus[1]->menu()),
              QStringLiteral("&Add Item...\tCtrl-A|&Delete Item\tDel|&Undo Delete\tCtrl-Z|"
                             "De&lete All Items|&Edit Item...\tF2|-|&Make a Password\tF3|"
                             "C&hange Password...\tF4|&Copy Password to Clipboard\tCtrl+C|-|"
                             "&Preferences...\tF5"));
    EXPECT_EQ(MenuTexts(menus[3]->menu()), QStringLiteral("&Help Topics|-|&About Keynest..."));
}

TEST_F(MainFrameTest, AcceleratorsAndToolbarFollowTheTable) {
    CMainFrame frame(m_store, m_help);
    EXPECT_EQ(frame.Action(ID_FILE_UNLOCK)->shortcut(), QKeySequence(Qt::Key_F10));
    EXPECT_EQ(frame.Action(ID_EDIT_COPY_PASSWORD)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
    EXPECT_EQ(frame.Action(ID_EDIT_DELETE_ITEM)->shortcut(), QKeySequence(Qt::Key_Delete));
    // The Print label names Ctrl+P, but no key is bound to it.
    EXPECT_TRUE(frame.Action(ID_FILE_PRINT)->shortcut().isEmpty());
    EXPECT_EQ(frame.Action(ID_EDIT_ADD_ITEM)->statusTip(), QStringLiteral("Add Item"));
    EXPECT_EQ(frame.Action(ID_EDIT_COPY_PASSWORD)->toolTip(), QStringLiteral("Copy"));

    QList<int> ids;
    for (QAction* action : frame.findChild<QToolBar*>(QStringLiteral("toolbar"))->actions()) {
        ids << (action->isSeparator() ? 0 : action->objectName().mid(7).toInt());
    }
    EXPECT_EQ(ids, QList<int>({ID_FILE_UNLOCK, ID_FILE_IMPORT, ID_FILE_EXPORT, ID_FILE_PRINT, 0,
                               ID_EDIT_ADD_ITEM, ID_EDIT_DELETE_ITEM, ID_EDIT_EDIT_ITEM,
                               ID_EDIT_MAKE_PASSWORD, ID_EDIT_COPY_PASSWORD, ID_EDIT_PREFERENCES, 0,
                               ID_APP_ABOUT}));
}

TEST_F(MainFrameTest, LockPaneKeepsItsBlanksAndFitsTheText) {
    CMainFrame frame(m_store, m_help);
    EXPECT_EQ(frame.StatusText(CMainFrame::kLockPane), QStringLiteral(" UNLOCKED"));
    frame.SetStatusText(CMainFrame::kLockPane, QStringLiteral(" LOCKED "));
    EXPECT_EQ(frame.StatusText(CMainFrame::kLockPane), QStringLiteral(" LOCKED "));
    auto* pane = frame.findChild<QWidget*>(QStringLiteral("lockPane"));
    ASSERT_NE(pane, nullptr);
    const int lockedWidth = pane->width();
    frame.SetStatusText(CMainFrame::kLockPane, QStringLiteral(" UNLOCKED "));
    EXPECT_GT(pane->width(), lockedWidth);
}

TEST_F(MainFrameTest, GeometryComesFromTheStoreAndIsTrackedUnlessMinimised) {
    // Out of range: the centred default, written back.
    m_store.SetInt("Screen", "cx", 0);
    m_store.SetInt("Screen", "cy", 300);
    {
        CMainFrame frame(m_store, m_help);
        EXPECT_GT(m_store.GetInt("Screen", "cx", 0), 0);
        EXPECT_EQ(frame.width(), m_store.GetInt("Screen", "cx", 0));
    }
    m_store.SetInt("Screen", "x", 30);
    m_store.SetInt("Screen", "y", 40);
    m_store.SetInt("Screen", "cx", 500);
    m_store.SetInt("Screen", "cy", 300);
    CMainFrame frame(m_store, m_help);
    EXPECT_EQ(frame.size(), QSize(500, 300));
    frame.show();
    frame.resize(520, 310);
    EXPECT_EQ(m_store.GetInt("Screen", "cx", 0), 520);
    EXPECT_EQ(m_store.GetInt("Screen", "cy", 0), 310);
    frame.setWindowState(Qt::WindowMinimized);
    frame.resize(100, 100);
    EXPECT_EQ(m_store.GetInt("Screen", "cx", 0), 520);
}

TEST_F(MainFrameTest, HelpTopicsOpensTheContentsAndUnbuiltCommandsAreDisabled) {
    CMainFrame frame(m_store, m_help);
    frame.Action(ID_HELP_FINDER)->trigger();
    EXPECT_EQ(m_help.contexts, std::vector<int>({kHelpContents}));
    frame.UpdateCommandStates();
    EXPECT_FALSE(frame.Action(ID_FILE_TEST_TWOFISH)->isEnabled());
    EXPECT_TRUE(frame.Action(ID_FILE_RESET)->isEnabled());
    EXPECT_TRUE(frame.Action(ID_APP_EXIT)->isEnabled());
}

}  // namespace
