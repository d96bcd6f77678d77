// The running program across starts: first use and unlock, the inactivity
// lock, what the exit does to the clipboard, and File > Reset.

#include <gtest/gtest.h>

#include <QTest>
#include <QMessageBox>
#include <QWhatsThis>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "FakeServices.h"
#include "Program.h"
#include "app/KeynestApp.h"
#include "app/RunningInstance.h"
#include "app/CommandTable.h"
#include "lock/LockFlow.h"
#include "lock/Watchdog.h"
#include "settings/SingleInstanceLock.h"
#include "settings/UserPaths.h"
#include "settings/StoreNames.h"
#include "ui/ItemListModel.h"

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
    EXPECT_EQ(m_fakes.help.contexts, (std::vector<int>{kHelpChoosePassword, kHelpContents}));
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
