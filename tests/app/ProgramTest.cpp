// The running program across starts: first use and unlock, every menu
// command and the help of every dialog, what the exit does to the
// clipboard, and File > Reset.

#include <gtest/gtest.h>

#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QWhatsThis>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <tuple>

#include "FakeServices.h"
#include "Program.h"
#include "app/KeynestApp.h"
#include "app/RunningInstance.h"
#include "app/commands/CommandTable.h"
#include "app/HelpWindow.h"
#include "lock/LockFlow.h"
#include "lock/Watchdog.h"
#include "settings/SingleInstanceLock.h"
#include "settings/UserPaths.h"
#include "settings/StoreNames.h"
#include "ui/list/ItemListModel.h"
#include "ui/list/ItemListView.h"

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

// The Items, and a maximised window with its normal size kept.
TEST_F(ProgramTest, ItemsAndWindowComeBackAtTheNextStartOnlyWithTheRightPassword) {
    int normalWidth = 0;
    {
        Program first(m_fakes.AsServices(), StorePath());
        normalWidth = first.store.GetInt(StoreNames::kScreen, "cx", 0);
        first.frame.showMaximized();
        ASSERT_TRUE(WaitUntil([&] { return first.frame.isMaximized(); }));
        ASSERT_TRUE(first.Start());
        ASSERT_TRUE(first.AddStoredItem("site", "pw"));
        EXPECT_EQ(first.store.GetInt(StoreNames::kScreen, "cx", 0), normalWidth);
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
    EXPECT_TRUE(second.frame.isMaximized());
    second.frame.showNormal();
    EXPECT_EQ(second.frame.width(), normalWidth);
    ASSERT_TRUE(second.Start());
    ASSERT_EQ(second.view->Model().RowCount(), 1);
    EXPECT_EQ(second.view->Model().GetText(0, kColPassword), "pw");
}

// Every command of the menus, chosen from its menu as a user does in a
// state where its rule enables it, does something. Every dialog met on the
// way opens a help page of its own for F1 and is then cancelled.
TEST_F(ProgramTest, EveryMenuCommandRunsAndEveryDialogHasItsHelpPage) {
    {  // Items without a check value: the next first password sets them aside.
        Program earlier(m_fakes.AsServices(), StorePath());
        ASSERT_TRUE(earlier.Start(QStringLiteral("earlier")) && earlier.AddStoredItem("kept", "pw"));
        ASSERT_TRUE(earlier.store.DeleteValue(StoreNames::kKeynest, StoreNames::kPassword));
    }
    Program program(m_fakes.AsServices(), StorePath());
    ASSERT_TRUE(program.Start() && program.AddStoredItem("a", "1") && program.AddStoredItem("b", "2"));
    CKeynestView& view = *program.view;
    view.List().SelectRow(0);
    QApplication::setActiveWindow(&program.frame);
    QTest::keyClick(&program.frame, Qt::Key_F1);
    EXPECT_EQ(m_fakes.help.contexts.back(), kHelpMainWindow);
    QTest::keyClick(&program.frame, Qt::Key_F1, Qt::ShiftModifier);
    EXPECT_TRUE(QWhatsThis::inWhatsThisMode());
    QWhatsThis::leaveWhatsThisMode();

    std::vector<std::pair<std::string, int>> met;  // each dialog, and the help F1 asked for
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) return;
        QTest::keyClick(dialog, Qt::Key_F1);
        met.emplace_back(dialog->metaObject()->className(), m_fakes.help.contexts.back());
        dialog->reject();
    });
    answerer.start(5);
    // What the commands change, to see that each did something.
    const auto state = [&] {
        return std::tuple(met.size(), m_fakes.prompter.texts.size(), m_fakes.help.contexts.size(),
                          m_fakes.clipboard.copies, view.Model().RowCount(),
                          view.Model().PasswordsHidden(), program.frame.statusBar()->isVisible(),
                          program.frame.findChild<QToolBar*>()->isVisible(),
                          view.FindBox().hasFocus(), program.Unlocked(), program.frame.isVisible());
    };
    // With the answers to their questions; the list is emptied before the lock.
    const std::pair<int, std::deque<int>> steps[] = {
        {ID_EDIT_FIND, {}}, {ID_EDIT_COPY_PASSWORD, {}}, {ID_EDIT_PASSWORD_HEALTH, {}},
        {ID_EDIT_EDIT_ITEM, {}},
        {ID_EDIT_DELETE_ITEM, {}}, {ID_EDIT_UNDO_DELETE, {}}, {ID_VIEW_HIDE_PASSWORDS, {}},
        {ID_VIEW_TOOLBAR, {}}, {ID_VIEW_STATUS_BAR, {}}, {ID_HELP_FINDER, {}},
        {ID_EDIT_MAKE_PASSWORD, {}}, {ID_EDIT_PREFERENCES, {}}, {ID_EDIT_ADD_ITEM, {}},
        {ID_EDIT_CHANGE_PASSWORD, {kPromptOk, kPromptOk, kPromptYes}},
        {ID_FILE_HARDEN, {kPromptYes}}, {ID_FILE_UNHARDEN, {kPromptYes}},
        {ID_FILE_IMPORT, {kPromptYes, kPromptNo}}, {ID_FILE_EXPORT, {}},
        {ID_FILE_IMPORT_PROGRAM, {}}, {ID_FILE_EXPORT_CSV, {kPromptYes}},
        {ID_FILE_OPEN_SET_ASIDE, {}}, {ID_FILE_TEST_TWOFISH, {}}, {ID_APP_ABOUT, {}},
        {ID_FILE_PRINT, {kPromptYes}}, {ID_FILE_PRINT_PREVIEW, {kPromptYes}},
        {ID_FILE_PRINT_SETUP, {}}, {ID_EDIT_DELETE_ALL, {kPromptYes}}, {ID_FILE_LOCK, {}},
        {ID_FILE_UNLOCK, {}}, {ID_FILE_RESET, {}}, {ID_APP_EXIT, {}}};
    size_t inMenus = 0;
    for (const QAction* menu : program.frame.menuBar()->actions()) {
        for (const QAction* action : menu->menu()->actions()) inMenus += action->isSeparator() ? 0u : 1u;
    }
    EXPECT_EQ(std::size(steps), inMenus) << "a command of the menus has no step here";
    for (const auto& [id, answers] : steps) {
        QAction* action = program.frame.Action(id);
        auto* menu = qobject_cast<QMenu*>(action->associatedObjects().value(0));
        ASSERT_NE(menu, nullptr) << id;
        menu->popup(QPoint());  // brings its commands up to date, as for a user
        menu->hide();
        m_fakes.prompter.answers = answers;
        const auto before = state();
        action->trigger();
        EXPECT_TRUE(WaitUntil([&] { return state() != before; })) << id;
    }
    std::set<std::string> kinds;
    for (const auto& [dialog, help] : met) {
        kinds.insert(dialog);
        const QUrl page = CHelpWindow::PageFor(help);
        EXPECT_NE(page, CHelpWindow::PageFor(kHelpContents)) << dialog;
        EXPECT_TRUE(QFile::exists(u':' + page.path())) << dialog;
    }
    EXPECT_EQ(kinds.size(), 12u);  // the program's nine dialogs and Qt's file and print dialogs
    // F1 in the choice of a new password, then the help offered after its Cancel.
    EXPECT_EQ(std::ranges::count(m_fakes.help.contexts, kHelpChoosePassword), 2);
    EXPECT_TRUE(m_fakes.prompter.texts.contains(QStringLiteral(
        "You are requesting that Keynest erase \neverything you have entered.\n\nYou should only "
        "do this if you have\nforgotten your UnLock password.\n\nThis action cannot be "
        "undone.\n\nAre you sure you want to do this?")));
    EXPECT_TRUE(m_fakes.prompter.texts.contains(
        QStringLiteral("You seem frustrated.\n\nWould you like to read the Help File?")));
}

// The list's context menu is made from the command rows, with their rules:
// locked, UnLock and Preferences; unlocked without a selection, none.
TEST_F(ProgramTest, ListContextMenuTakesItsCommandsFromTheRows) {
    Program program(m_fakes.AsServices(), StorePath());
    QStringList seen;
    const auto rightClick = [&] {
        seen.clear();
        QTimer::singleShot(0, [&seen] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (menu == nullptr) return;
            for (const QAction* action : menu->actions()) {
                seen << action->text() + (action->isEnabled() ? u'+' : u'-');
            }
            menu->close();
        });
        program.view->List().ShowContextMenu({5, 5});
    };
    rightClick();
    EXPECT_EQ(seen.join(u' '),
              QStringLiteral("&Unlock...+ &Add Item...- &Delete Item- &Edit Item...- &Preferences...+"));
    ASSERT_TRUE(program.Start());
    program.view->List().clearSelection();
    rightClick();
    EXPECT_TRUE(seen.isEmpty());
}

TEST_F(ProgramTest, StartsThatCannotGoOnSayWhatToDo) {
    const PrivateHome home(m_dir);
    const std::string folder = m_dir.File("data/Keynest");
    ASSERT_TRUE(UserPaths::MakePrivateDirectory(folder));
    // keynest-cli, then a copy that does not answer, hold the lock; a store that is no database.
    std::optional<CSingleInstanceLock> other(std::in_place, folder + "/keynest.lock",
                                             CSingleInstanceLock::kCliHolder);
    const QString changing = QStringLiteral("keynest-cli is changing Keynest's Items right now.");
    const QString running = QStringLiteral(
        "Keynest is already running.\n\nPlease use the Keynest window that is open already.");
    std::ofstream(folder + "/keynest.sqlite") << std::string(8192, 'x');
    const QString damaged = QStringLiteral("Keynest cannot open its data file:");
    for (const QString& expected : {changing, running, damaged}) {
        QString shown;
        WhenModal<QMessageBox>([&shown](QMessageBox* box) {
            shown = box->text();
            box->accept();
        });
        EXPECT_FALSE(CKeynestApp().InitInstance());
        EXPECT_TRUE(shown.startsWith(expected)) << shown.toStdString();
        other.reset();
        if (expected != changing) continue;
        other.emplace(folder + "/keynest.lock", CSingleInstanceLock::kDesktopHolder);
    }
}

int OpenDescriptors() {
    return static_cast<int>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                          std::filesystem::directory_iterator()));
}

TEST_F(ProgramTest, IdleConnectionsNeitherWedgeTheProgramNorStopItsLock) {
    const PrivateHome home(m_dir);
    CKeynestApp running;
    ASSERT_TRUE(running.InitInstance());
    WhenModal<QMessageBox>([](QMessageBox* welcome) {
        AnswerPasswordDialog();
        welcome->accept();
    });
    ASSERT_TRUE(WaitUntil([&] { return running.View()->Vault().IsUnlocked(); }));
    running.View()->Model().AppendRow("site");
    sockaddr_un address{AF_UNIX, {}};
    m_dir.File("data/Keynest/keynest.socket").copy(address.sun_path, sizeof address.sun_path - 1);
    const int before = OpenDescriptors();
    // Connections that never send anything, as fast as the program takes them.
    std::vector<int> idle;
    for (int tries = 0; idle.size() < 400 && tries < 100000; ++tries) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
            idle.push_back(fd);
        } else {
            ::close(fd);
            RunEventsFor(std::chrono::milliseconds(1));
        }
    }
    EXPECT_EQ(idle.size(), 400u);
    EXPECT_LE(OpenDescriptors() - before - static_cast<int>(idle.size()),
              CRunningInstance::kMaxConnections + 4);

    running.MainFrame()->showMinimized();
    ASSERT_TRUE(WaitUntil([&] { return running.MainFrame()->isMinimized(); }));
    EXPECT_FALSE(CKeynestApp().InitInstance());
    EXPECT_TRUE(WaitUntil([&] { return !running.MainFrame()->isMinimized(); }));
    bool locked = false;
    WhenModal<CUnlockDlg>([&](CUnlockDlg* dialog) {
        locked = running.View()->Model().RowCount() == 0 && !running.View()->Vault().IsUnlocked();
        RejectWhenModal<QMessageBox>();  // "You can unlock Keynest later."
        dialog->reject();
    });
    running.View()->Watchdog().SetDogTimeout(100);
    EXPECT_TRUE(WaitUntil([&] { return locked; }));
    for (const int fd : idle) ::close(fd);

    // The help window ends with the main window.
    running.MainFrame()->OnCommand(ID_HELP_FINDER);
    auto* help = running.MainFrame()->findChild<QWidget*>(QStringLiteral("helpWindow"));
    ASSERT_TRUE(help && help->isVisible());
    running.MainFrame()->close();
    EXPECT_FALSE(help->isVisible());
}

TEST_F(ProgramTest, TheClipboardFollowsThePreferencesAndIsEmptiedAtExitWhenWanted) {
    for (const int empty : {1, 0}) {
        FakeServices fakes;
        Program program(fakes.AsServices(), m_dir.File(std::to_string(empty) + ".sqlite"));
        ASSERT_TRUE(program.Start());
        program.view->Prefs().clipSeconds = 7 + empty;
        EXPECT_EQ(fakes.clipboard.clearDelay(), std::chrono::seconds(7 + empty));
        program.view->Prefs().emptyClipboard = empty;
        fakes.clipboard.SetText("the user's own text");
        program.frame.close();
        EXPECT_EQ(fakes.clipboard.cleared, empty == 1) << empty;
    }
}

TEST_F(ProgramTest, ResetLeavesNothingTheProgramWrote) {
    Program program(m_fakes.AsServices(), StorePath());
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(program.AddStoredItem("site", "pw"));
    m_fakes.prompter.answers = {kPromptYes};
    program.frame.OnCommand(ID_FILE_RESET);
    EXPECT_TRUE(WaitUntil([&] { return !program.frame.isVisible(); }));
    EXPECT_EQ(program.view->Model().RowCount(), 0);
    std::vector<std::string> names;
    for (const char* section : StoreNames::kAllSections) {
        ASSERT_TRUE(program.store.ValueNames(section, names));
        EXPECT_TRUE(names.empty()) << section;
    }
}

}  // namespace
