// The running program across starts: first use and unlock, the inactivity
// lock, what the exit does to the clipboard, and File > Reset.

#include <gtest/gtest.h>

#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QWhatsThis>
#include <cstring>
#include <deque>
#include <fstream>
#include <map>
#include <optional>
#include <set>

#include "FakeServices.h"
#include "Program.h"
#include "app/KeynestApp.h"
#include "app/CommandTable.h"
#include "app/HelpWindow.h"
#include "lock/LockFlow.h"
#include "lock/Watchdog.h"
#include "settings/SingleInstanceLock.h"
#include "settings/UserPaths.h"
#include "settings/StoreNames.h"
#include "ui/PreferencesDlg.h"
#include "ui/ItemListModel.h"
#include "ui/ItemListView.h"
#include "vault/Vault.h"

namespace {

using namespace keynest_test;

// The real start-up with its folders in `dir`.
struct PrivateHome {
    explicit PrivateHome(const TempDir& dir)
        : home("HOME", dir.Path()),
          data("XDG_DATA_HOME", dir.File("data")),
          config("XDG_CONFIG_HOME", dir.File("config")) {}
    ScopedEnv home;
    ScopedEnv data;
    ScopedEnv config;
};

class ProgramTest : public ::testing::Test {
  protected:
    std::string StorePath() const { return m_dir.File("keynest.sqlite"); }

    TempDir m_dir;
    FakeServices m_fakes;
};

TEST_F(ProgramTest, ItemsComeBackAtTheNextStartOnlyWithTheRightPassword) {
    {
        Program first(m_fakes.AsServices(), StorePath());
        ASSERT_TRUE(first.Start());
        ASSERT_TRUE(first.AddStoredItem("site", "pw"));
    }
    {
        Program wrong(m_fakes.AsServices(), StorePath());
        WhenModal<CUnlockDlg>([](CUnlockDlg* dialog) {
            Box(dialog, "passwordEdit")->setText(QStringLiteral("sesame2024"));
            Press(dialog, "okButton");
        });
        const QString refused = QStringLiteral(
            "The Password you entered is not correct. \n\nUse menu pick File > UnLock to try "
            "again. ");
        wrong.view->OnInitialUpdate();
        EXPECT_TRUE(WaitUntil([&] { return m_fakes.prompter.texts.contains(refused); }));
        EXPECT_FALSE(wrong.Unlocked());
        EXPECT_EQ(wrong.view->Model().RowCount(), 0);
    }
    Program second(m_fakes.AsServices(), StorePath());
    ASSERT_TRUE(second.Start());
    ASSERT_EQ(second.view->Model().RowCount(), 1);
    EXPECT_EQ(second.view->Model().GetText(0, kColPassword), "pw");
}

TEST_F(ProgramTest, HelpKeysWorkInEveryWindowAtItsPage) {
    Program program(m_fakes.AsServices(), StorePath());
    WhenModal<CChoosePasswordDlg>([](CChoosePasswordDlg* dialog) {
        QTest::keyClick(dialog, Qt::Key_F1);
        QTest::keyClick(dialog, Qt::Key_F1, Qt::ShiftModifier);
        EXPECT_TRUE(QWhatsThis::inWhatsThisMode());
        QWhatsThis::leaveWhatsThisMode();
        dialog->reject();
    });
    program.view->OnInitialUpdate();
    ASSERT_TRUE(WaitUntil([&] { return !m_fakes.help.contexts.empty(); }));
    RunEventsFor(std::chrono::milliseconds(50));
    QTest::keyClick(&program.frame, Qt::Key_F1);
    EXPECT_EQ(m_fakes.help.contexts, (std::vector<int>{kHelpChoosePassword, kHelpMainWindow}));
}

// Every command of the menus, chosen as a user chooses it, in a state where
// its rule enables it. Every dialog met on the way is asked for help with
// F1, which must open a page of its own, and is then cancelled.
TEST_F(ProgramTest, EveryMenuCommandRunsAndEveryDialogHasItsHelpPage) {
    {
        // Items stored without a check value: the first password sets them aside.
        CRegistryStore store(StorePath());
        ASSERT_TRUE(store.OpenBranch(CRegistryStore::kBranchPath, CRegistryStore::kRootKey, nullptr));
        CVault earlier(store);
        CMemoryItemList rows;
        rows.SetText(rows.AppendRow("kept"), kColPassword, "pw");
        ASSERT_TRUE(earlier.ChooseFirstPassword("earlier") && earlier.SaveAllItems(rows));
        ASSERT_TRUE(store.DeleteValue(StoreNames::kKeynest, StoreNames::kPassword));
    }
    Program program(m_fakes.AsServices(), StorePath());
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(program.AddStoredItem("alpha", "pw1") && program.AddStoredItem("beta", "pw2"));
    CKeynestView& view = *program.view;
    view.List().SelectRow(0);
    QApplication::setActiveWindow(&program.frame);

    struct Met {
        std::string dialog;
        int help;
    };
    std::vector<Met> met;
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) return;
        QTest::keyClick(dialog, Qt::Key_F1);
        met.push_back({dialog->metaObject()->className(), m_fakes.help.contexts.back()});
        dialog->reject();
    });
    answerer.start(5);
    size_t metBeforeStep = 0;
    const auto opened = [&](const char* dialog) {
        return [&, dialog] { return met.size() > metBeforeStep && met.back().dialog == dialog; };
    };
    CItemListModel& rows = view.Model();
    const struct {
        int id;
        std::deque<int> answers;
        std::function<bool()> ran;
    } steps[] = {
        {ID_EDIT_FIND, {}, [&] { return view.FindBox().hasFocus(); }},
        {ID_EDIT_COPY_PASSWORD, {}, [&] { return m_fakes.clipboard.copies > 0; }},
        {ID_EDIT_EDIT_ITEM, {}, opened("CItemDlg")},
        {ID_EDIT_DELETE_ITEM, {}, [&] { return rows.RowCount() == 1; }},
        {ID_EDIT_UNDO_DELETE, {}, [&] { return rows.RowCount() == 2; }},
        {ID_VIEW_HIDE_PASSWORDS, {}, [&] { return rows.PasswordsHidden(); }},
        {ID_VIEW_TOOLBAR, {}, [&] { return program.frame.findChild<QToolBar*>()->isHidden(); }},
        {ID_VIEW_STATUS_BAR, {}, [&] { return program.frame.statusBar()->isHidden(); }},
        {ID_HELP_FINDER, {}, [&] { return m_fakes.help.contexts.back() == kHelpContents; }},
        {ID_EDIT_MAKE_PASSWORD, {}, opened("CRandomPasswordDlg")},
        {ID_EDIT_PREFERENCES, {}, opened("CPreferencesDlg")},
        {ID_EDIT_ADD_ITEM, {}, opened("CItemDlg")},
        {ID_EDIT_CHANGE_PASSWORD, {}, opened("CChoosePasswordDlg")},
        {ID_FILE_IMPORT, {kPromptYes, kPromptNo}, opened("QFileDialog")},
        {ID_FILE_EXPORT, {}, opened("QFileDialog")},
        {ID_FILE_OPEN_SET_ASIDE, {}, opened("CUnlockDlg")},
        {ID_FILE_TEST_TWOFISH, {}, opened("CTwofishTestDlg")},
        {ID_APP_ABOUT, {}, opened("CAboutDlg")},
        {ID_FILE_PRINT, {kPromptYes}, opened("QPrintDialog")},
        {ID_FILE_PRINT_PREVIEW, {kPromptYes}, opened("QPrintPreviewDialog")},
        {ID_FILE_PRINT_SETUP, {}, opened("QPageSetupDialog")},
        {ID_EDIT_DELETE_ALL, {kPromptYes}, [&] { return rows.RowCount() == 0; }},
        {ID_FILE_LOCK, {}, [&] { return !program.Unlocked() && opened("CUnlockDlg")(); }},
        {ID_FILE_UNLOCK, {}, opened("CUnlockDlg")},
        {ID_FILE_RESET, {}, [&] { return m_fakes.prompter.texts.back().contains(u"erase"); }},
        {ID_APP_EXIT, {}, [&] { return !program.frame.isVisible(); }},
    };
    // Each command's menu and its action there.
    std::map<int, std::pair<QMenu*, QAction*>> inMenus;
    for (QAction* title : program.frame.menuBar()->actions()) {
        for (QAction* action : title->menu()->actions()) {
            if (action->isSeparator()) continue;
            inMenus[action->objectName().mid(int(std::strlen("command"))).toInt()] = {title->menu(),
                                                                                    action};
        }
    }
    std::set<int> run;
    for (const auto& step : steps) {
        SCOPED_TRACE(step.id);
        run.insert(step.id);
        const auto found = inMenus.find(step.id);
        ASSERT_NE(found, inMenus.end());
        auto [menu, action] = found->second;
        // Opening the menu brings its commands up to date, as for a user.
        menu->popup(QPoint(0, 0));
        menu->hide();
        m_fakes.prompter.answers = step.answers;
        metBeforeStep = met.size();
        action->trigger();
        EXPECT_TRUE(WaitUntil(step.ran));
    }
    EXPECT_EQ(run.size(), inMenus.size()) << "a command in the menus has no step here";
    for (const Met& dialog : met) {
        const QUrl page = CHelpWindow::PageFor(dialog.help);
        EXPECT_NE(page, CHelpWindow::PageFor(kHelpContents)) << dialog.dialog;
        EXPECT_TRUE(QFile::exists(QLatin1Char(':') + page.path())) << dialog.dialog;
    }
}

TEST_F(ProgramTest, StartsThatCannotGoOnSayWhatToDo) {
    const PrivateHome home(m_dir);
    const std::string folder = m_dir.File("data/Keynest");
    ASSERT_TRUE(UserPaths::MakePrivateDirectory(folder));
    // Another copy holds the lock but does not answer; a store that is no database.
    std::optional<CSingleInstanceLock> other(std::in_place, folder + "/keynest.lock");
    const QString running = QStringLiteral(
        "Keynest is already running.\n\nPlease use the Keynest window that is open already.");
    std::ofstream(folder + "/keynest.sqlite") << std::string(8192, 'x');
    const QString damaged = QStringLiteral("Keynest cannot open its data file:");
    for (const QString& expected : {running, damaged}) {
        QString shown;
        WhenModal<QMessageBox>([&shown](QMessageBox* box) {
            shown = box->text();
            box->accept();
        });
        EXPECT_FALSE(CKeynestApp().InitInstance());
        EXPECT_TRUE(shown.startsWith(expected)) << shown.toStdString();
        other.reset();
    }
}

TEST_F(ProgramTest, ResetAndTheHelpOfferAskAsWritten) {
    Program program(m_fakes.AsServices(), StorePath());
    ASSERT_TRUE(program.Start());
    program.view->OnFileReset();
    RejectWhenModal<CChoosePasswordDlg>();
    m_fakes.prompter.answers = {kPromptYes, kPromptYes, kPromptYes};  // hints, then the offer
    program.view->Lock().OnChangePassword();
    EXPECT_TRUE(m_fakes.prompter.texts.contains(QStringLiteral(
        "You are requesting that Keynest erase \neverything you have entered.\n\nYou should only "
        "do this if you have\nforgotten your UnLock password.\n\nThis action cannot be "
        "undone.\n\nAre you sure you want to do this?")));
    EXPECT_EQ(m_fakes.prompter.texts.back(),
              QStringLiteral("You seem frustrated.\n\nWould you like to read the Help File?"));
    EXPECT_EQ(m_fakes.help.contexts, std::vector<int>{kHelpChoosePassword});
    EXPECT_TRUE(program.Unlocked());
}

TEST_F(ProgramTest, AnOpenHelpWindowClosesWithTheMainWindow) {
    const PrivateHome home(m_dir);
    CKeynestApp app;
    ASSERT_TRUE(app.InitInstance());
    app.MainFrame()->OnCommand(ID_HELP_FINDER);
    auto* help = app.MainFrame()->findChild<QWidget*>(QStringLiteral("helpWindow"));
    ASSERT_TRUE(help && help->isVisible());
    app.MainFrame()->close();
    EXPECT_FALSE(help->isVisible());
}

TEST_F(ProgramTest, ASecondStartBringsTheRunningWindowForward) {
    const PrivateHome home(m_dir);
    CKeynestApp running;
    ASSERT_TRUE(running.InitInstance());
    running.MainFrame()->showMinimized();
    ASSERT_TRUE(WaitUntil([&] { return running.MainFrame()->isMinimized(); }));
    CKeynestApp second;
    EXPECT_FALSE(second.InitInstance());
    EXPECT_TRUE(WaitUntil([&] { return !running.MainFrame()->isMinimized(); }));
}

TEST_F(ProgramTest, AMaximisedWindowComesBackMaximisedWithItsNormalSizeKept) {
    int normalWidth = 0;
    {
        Program first(m_fakes.AsServices(), StorePath());
        normalWidth = first.store.GetInt(StoreNames::kScreen, "cx", 0);
        first.frame.showMaximized();
        ASSERT_TRUE(WaitUntil([&] { return first.frame.isMaximized(); }));
        EXPECT_EQ(first.store.GetInt(StoreNames::kScreen, "cx", 0), normalWidth);
    }
    Program second(m_fakes.AsServices(), StorePath());
    EXPECT_TRUE(second.frame.isMaximized());
    second.frame.showNormal();
    EXPECT_EQ(second.frame.width(), normalWidth);
}

TEST_F(ProgramTest, IdleProgramLocksEmptiesTheListAndAsksAgain) {
    Program program(m_fakes.AsServices(), StorePath());
    ASSERT_TRUE(program.Start());
    program.view->Model().AppendRow("site");
    bool asked = false;
    WhenModal<CUnlockDlg>([&](CUnlockDlg* dialog) {
        asked = program.view->Model().RowCount() == 0 && !program.Unlocked();
        dialog->reject();
    });
    program.view->Watchdog().SetDogTimeout(100);
    EXPECT_TRUE(WaitUntil([&] { return asked; }));
}

TEST_F(ProgramTest, ExitEmptiesTheClipboardOnlyWhenTheUserWantsIt) {
    for (const int empty : {1, 0}) {
        FakeServices fakes;
        Program program(fakes.AsServices(), m_dir.File(std::to_string(empty) + ".sqlite"));
        ASSERT_TRUE(program.Start());
        program.view->Prefs().emptyClipboard = empty;
        fakes.clipboard.SetText("the user's own text");
        program.frame.close();
        EXPECT_EQ(fakes.clipboard.cleared, empty == 1) << empty;
    }
}

TEST_F(ProgramTest, TheClipboardClearsAfterTheSecondsSetInThePreferences) {
    Program program(m_fakes.AsServices(), StorePath());
    ASSERT_TRUE(program.Start());
    WhenModal<CPreferencesDlg>([](CPreferencesDlg* dialog) {
        Child<QSpinBox>(dialog, "clipSecondsBox")->setValue(7);
        Press(dialog, "okButton");
    });
    program.frame.OnCommand(ID_EDIT_PREFERENCES);
    ASSERT_TRUE(m_fakes.clipboard.clearDelay);
    EXPECT_EQ(m_fakes.clipboard.clearDelay(), std::chrono::seconds(7));
}

TEST_F(ProgramTest, ResetLeavesNothingTheProgramWrote) {
    Program program(m_fakes.AsServices(), StorePath());
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(program.AddStoredItem("site", "pw"));
    m_fakes.prompter.answers = {kPromptYes};
    program.view->OnFileReset();
    EXPECT_TRUE(WaitUntil([&] { return !program.frame.isVisible(); }));
    EXPECT_EQ(program.view->Model().RowCount(), 0);
    std::vector<std::string> names;
    for (const char* section : StoreNames::kAllSections) {
        ASSERT_TRUE(program.store.ValueNames(section, names));
        EXPECT_TRUE(names.empty()) << section;
    }
}

}  // namespace
