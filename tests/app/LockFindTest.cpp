// Lock now, locking with the desktop over a private D-Bus session bus, and
// the find box over the list, in the running program.

#include <QClipboard>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QLabel>
#include <QProcess>
#include <QTest>

#include "EventLoopWait.h"
#include "FakeServices.h"
#include "ModalDriver.h"
#include "TestSupport.h"
#include "app/KeynestView.h"
#include "app/MainFrame.h"
#include "lock/ChoosePasswordDlg.h"
#include "lock/UnlockDlg.h"
#include "ui/ItemDlg.h"
#include "ui/ItemListModel.h"
#include "ui/ItemListView.h"

namespace {

using namespace keynest_test;
const QString kPassword = QStringLiteral("Sesame2024");

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

// A first run over `services`, unlocked with a password chosen at its start.
struct Program {
    explicit Program(Services services) : frame(store, services.help) {
        view = new CKeynestView(services, store, &frame);
        frame.SetView(view);
        frame.show();
        WhenModal<CChoosePasswordDlg>([](CChoosePasswordDlg* dialog) {
            Box(dialog, "firstEdit")->setText(kPassword);
            Box(dialog, "secondEdit")->setText(kPassword);
            Press(dialog, "okButton");
        });
        view->OnInitialUpdate();
        EXPECT_TRUE(WaitUntil([this] { return Unlocked(); }));
    }
    ~Program() { frame.close(); }
    bool Unlocked() { return view->Vault().IsUnlocked(); }
    TempDir dir;
    CRegistryStore store{dir.File("keynest.sqlite")};
    bool opened = store.OpenBranch(CRegistryStore::kBranchPath, CRegistryStore::kRootKey, nullptr);
    CMainFrame frame;
    CKeynestView* view = nullptr;
};

TEST(LockFindTest, LockNowInsideAnItemDialogFollowsSaveCancel) {
    for (const int saveCancel : {1, 0}) {
        FakeServices fakes;
        CQtClipboard clipboard;
        Program run({fakes.prompter, clipboard, fakes.shell, fakes.help, fakes.random});
        run.view->Prefs().saveCancel = saveCancel;
        run.view->Prefs().createOnAdd = 0;
        clipboard.SetText("copied before the lock");
        bool lockedAndWiped = false;
        WhenModal<CUnlockDlg>([&](CUnlockDlg* dialog) {
            lockedAndWiped = !run.Unlocked() && run.view->Model().RowCount() == 0 &&
                             QGuiApplication::clipboard()->text().isEmpty();
            Box(dialog, "passwordEdit")->setText(kPassword);
            Press(dialog, "okButton");
        });
        WhenModal<CItemDlg>([&](CItemDlg* dialog) {
            Box(dialog, "locationEdit")->setText(QStringLiteral("zebra"));
            Box(dialog, "passwordEdit")->setText(QStringLiteral("stripes"));
            run.frame.OnCommand(ID_FILE_LOCK);
        });
        run.frame.OnCommand(ID_EDIT_ADD_ITEM);
        ASSERT_TRUE(WaitUntil([&] { return lockedAndWiped && run.Unlocked(); })) << saveCancel;
        EXPECT_EQ(run.view->Model().RowCount(), saveCancel);
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
        Program run(fakes.AsServices());
        run.view->Prefs().lockOnDesktop = c.lockOnDesktop;
        RejectWhenModal<CUnlockDlg>();
        const bool locks = c.active && c.lockOnDesktop == 1;
        // Sent until seen: the bus may take a moment to route it.
        EXPECT_EQ(WaitUntil(
                      [&] {
                          auto signal = QDBusMessage::createSignal(
                              QString::fromLatin1(c.path), QStringLiteral("org.freedesktop.ScreenSaver"),
                              QStringLiteral("ActiveChanged"));
                          sender.send(signal << c.active);
                          RunEventsFor(std::chrono::milliseconds(50));
                          return !run.Unlocked();
                      },
                      std::chrono::milliseconds(locks ? 3000 : 500)),
                  locks)
            << c.path << c.active << c.lockOnDesktop;
    }
}

TEST(LockFindTest, FindBoxFiltersAndCommandsActOnTheShownItems) {
    FakeServices fakes;
    Program run(fakes.AsServices());
    CItemListModel& rows = run.view->Model();
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
    CItemListView& list = run.view->List();
    QLineEdit& findBox = run.view->FindBox();
    run.frame.OnCommand(ID_EDIT_FIND);
    QTest::keyClicks(&findBox, QStringLiteral("kAT"));
    EXPECT_EQ(run.frame.findChild<QLabel*>(QStringLiteral("findPane"))->text(),
              QStringLiteral("3 of 5 Items shown"));

    // The second row shown is Cinema, the model's third.
    list.setCurrentIndex(list.model()->index(1, 0));
    run.frame.OnCommand(ID_EDIT_DELETE_ITEM);
    ASSERT_EQ(rows.RowCount(), 4);
    EXPECT_EQ(rows.GetText(2, kColLocation), "dentist");

    run.frame.OnCommand(ID_VIEW_HIDE_PASSWORDS);
    EXPECT_EQ(list.model()->index(1, kColPassword).data().toString(), QString(8, QChar(0x2022)));
    list.setCurrentIndex(list.model()->index(1, 0));
    run.frame.OnCommand(ID_EDIT_COPY_PASSWORD);
    EXPECT_EQ(fakes.clipboard.text, "Kattegat");

    QTest::keyClick(&findBox, Qt::Key_Escape);
    EXPECT_EQ(list.ShownRowCount(), 4);
    findBox.setText(QStringLiteral("bank"));
    RejectWhenModal<CUnlockDlg>();
    run.frame.OnCommand(ID_FILE_LOCK);
    ASSERT_TRUE(WaitUntil([&] { return !run.Unlocked(); }));
    EXPECT_TRUE(findBox.text().isEmpty());
}

}  // namespace
