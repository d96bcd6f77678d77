// Lock now, locking with the desktop over a private D-Bus session bus, and
// the find box over the list, in the running program.

#include <QClipboard>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QFileDialog>
#include <QLabel>
#include <QProcess>
#include <QTest>

#include "FakeServices.h"
#include "Program.h"
#include "lock/Watchdog.h"
#include "ui/items/ItemDlg.h"
#include "ui/list/ItemListModel.h"
#include "ui/list/ItemListView.h"

namespace {

using namespace keynest_test;

// A private session bus, set before the first view connects to the bus.
class SessionBus : public ::testing::Environment {
  public:
    void SetUp() override {
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--session"), QStringLiteral("--nofork"),
                        QStringLiteral("--print-address")});
        if (!m_daemon.waitForReadyRead(5000)) return;
        s_address = QString::fromUtf8(m_daemon.readLine().trimmed());
        qputenv("DBUS_SESSION_BUS_ADDRESS", s_address.toUtf8());
    }
    void TearDown() override {
        m_daemon.kill();
        m_daemon.waitForFinished();
    }
    static inline QString s_address;

  private:
    QProcess m_daemon;
};
const auto* const kBus = ::testing::AddGlobalTestEnvironment(new SessionBus);

// Saved by Lock now, cancelled by the inactivity lock.
TEST(LockFindTest, LockNowAndTheIdleLockInsideAnItemDialogFollowSaveCancel) {
    for (const int saveCancel : {1, 0}) {
        FakeServices fakes;
        CQtClipboard clipboard;
        FreshProgram run({fakes.prompter, clipboard, fakes.shell, fakes.help, fakes.random});
        run.program.view->Prefs().saveCancel = saveCancel;
        run.program.view->Prefs().createOnAdd = 0;
        clipboard.SetText("copied before the lock");
        bool lockedAndWiped = false;
        WhenModal<CUnlockDlg>([&](CUnlockDlg* dialog) {
            lockedAndWiped = !run.program.Unlocked() && run.program.view->Model().RowCount() == 0 &&
                             QGuiApplication::clipboard()->text().isEmpty();
            Box(dialog, "passwordEdit")->setText(kProgramPassword);
            Press(dialog, "okButton");
        });
        WhenModal<CItemDlg>([&](CItemDlg* dialog) {
            Box(dialog, "locationEdit")->setText(QStringLiteral("zebra"));
            Box(dialog, "passwordEdit")->setText(QStringLiteral("stripes"));
            if (saveCancel == 1) run.program.frame.OnCommand(ID_FILE_LOCK);
            if (saveCancel == 0) run.program.view->Watchdog().SetDogTimeout(100);
        });
        run.program.frame.OnCommand(ID_EDIT_ADD_ITEM);
        ASSERT_TRUE(WaitUntil([&] { return lockedAndWiped && run.program.Unlocked(); })) << saveCancel;
        EXPECT_EQ(run.program.view->Model().RowCount(), saveCancel);
    }
}

TEST(LockFindTest, ScreenSaverStartingLocksWhenTheUserWantsIt) {
    if (SessionBus::s_address.isEmpty()) GTEST_SKIP() << "dbus-daemon is not installed";
    const struct {
        const char* path;
        bool active;
        int lockOnDesktop;
    } cases[] = {{"/org/freedesktop/ScreenSaver", true, 1}, {"/ScreenSaver", true, 1},
                 {"/ScreenSaver", false, 1}, {"/ScreenSaver", true, 0}};
    QDBusConnection sender = QDBusConnection::connectToBus(SessionBus::s_address, QStringLiteral("s"));
    for (const auto& c : cases) {
        FakeServices fakes;
        FreshProgram run(fakes.AsServices());
        run.program.view->Prefs().lockOnDesktop = c.lockOnDesktop;
        const bool locks = c.active && c.lockOnDesktop == 1;
        if (locks) RejectWhenModal<CUnlockDlg>();
        // Sent until seen: the bus may take a moment to route it.
        EXPECT_EQ(WaitUntil(
                      [&] {
                          auto signal = QDBusMessage::createSignal(
                              QString::fromLatin1(c.path), QStringLiteral("org.freedesktop.ScreenSaver"),
                              QStringLiteral("ActiveChanged"));
                          sender.send(signal << c.active);
                          RunEventsFor(std::chrono::milliseconds(50));
                          return !run.program.Unlocked();
                      },
                      std::chrono::milliseconds(locks ? 3000 : 500)),
                  locks)
            << c.path << c.active << c.lockOnDesktop;
    }
}

// Ctrl+`key` typed in the find box, as in the active main window.
void TypeCommandKey(Program& program, Qt::Key key) {
    QApplication::setActiveWindow(&program.frame);
    program.frame.OnCommand(ID_EDIT_FIND);
    QTest::keyClick(&program.view->FindBox(), key, Qt::ControlModifier);
}

TEST(LockFindTest, FindBoxFiltersAndCommandsActOnTheShownItems) {
    FakeServices fakes;
    FreshProgram run(fakes.AsServices());
    CItemListModel& rows = run.program.view->Model();
    // Location, User ID, Hint, Note; the Password is the Location.
    for (const auto& item : {std::array{"Amazon", "", "", ""}, {"bank", "KAte", "", ""},
                             {"Cinema", "", "ask kat", ""}, {"dentist", "", "", "kat"},
                             {"Kattegat", "", "", ""}}) {
        const int row = rows.AppendRow(item[0]);
        for (const int column : {kColUserId, kColHint, kColNote}) {
            rows.SetText(row, column, item[static_cast<size_t>(column - 1)]);
        }
        rows.SetText(row, kColPassword, item[0]);
    }
    CItemListView& list = run.program.view->List();
    QLineEdit& findBox = run.program.view->FindBox();
    run.program.frame.OnCommand(ID_EDIT_FIND);
    QTest::keyClicks(&findBox, QStringLiteral("kAT"));
    EXPECT_EQ(run.program.frame.findChild<QLabel*>(QStringLiteral("findPane"))->text(),
              QStringLiteral("3 of 5 Items shown"));

    // The second row shown is Cinema, the model's third.
    list.setCurrentIndex(list.model()->index(1, 0));
    run.program.frame.OnCommand(ID_EDIT_DELETE_ITEM);
    ASSERT_EQ(rows.RowCount(), 4);
    EXPECT_EQ(rows.GetText(2, kColLocation), "dentist");

    run.program.frame.OnCommand(ID_VIEW_HIDE_PASSWORDS);
    for (const int shown : {0, 1}) {  // as many dots for "bank" as for "Kattegat"
        EXPECT_EQ(list.model()->index(shown, kColPassword).data().toString(),
                  QString(8, u'\u2022'));
    }
    list.setCurrentIndex(list.model()->index(1, 0));
    run.program.frame.OnCommand(ID_EDIT_COPY_PASSWORD);
    EXPECT_EQ(fakes.clipboard.text, "Kattegat");

    QTest::keyClick(&findBox, Qt::Key_Escape);
    EXPECT_EQ(list.ShownRowCount(), 4);
    // Commands on every Item empty the box before they ask (declined here).
    // Export comes by Ctrl+E typed in the box, which leaves command keys alone.
    for (const int command :
         {ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, ID_FILE_EXPORT, ID_EDIT_DELETE_ALL}) {
        findBox.setText(QStringLiteral("bank"));
        if (command == ID_EDIT_DELETE_ALL) fakes.prompter.answers = {kPromptYes};
        if (command == ID_FILE_EXPORT) {
            RejectWhenModal<QFileDialog>();
            TypeCommandKey(run.program, Qt::Key_E);
        } else {
            run.program.frame.OnCommand(command);
        }
        EXPECT_EQ(list.ShownRowCount(), rows.RowCount()) << command;
    }
    EXPECT_EQ(rows.RowCount(), 0);
    EXPECT_TRUE(run.program.frame.findChild<QLabel*>(QStringLiteral("findPane"))->isHidden());
    findBox.setText(QStringLiteral("bank"));
    RejectWhenModal<CUnlockDlg>();
    TypeCommandKey(run.program, Qt::Key_L);
    ASSERT_TRUE(WaitUntil([&] { return !run.program.Unlocked(); }));
    EXPECT_TRUE(findBox.text().isEmpty());
}

}  // namespace
