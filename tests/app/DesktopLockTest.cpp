// The screen saver starting, seen on a private session bus, locks the
// running program; nothing else it says does.

#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QStandardPaths>

#include "FakeServices.h"
#include "RunningProgram.h"
#include "lock/UnlockDlg.h"

namespace {

using namespace keynest_test;
using std::chrono::milliseconds;

class DesktopLockTest : public ::testing::Test {
  protected:
    // One private bus for the whole program: Qt connects to the session bus once.
    static void SetUpTestSuite() {
        if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty()) return;
        s_daemon = new QProcess;
        s_daemon->start(QStringLiteral("dbus-daemon"),
                        {QStringLiteral("--session"), QStringLiteral("--nofork"),
                         QStringLiteral("--print-address")});
        if (!s_daemon->waitForReadyRead(5000)) return;
        s_address = QString::fromUtf8(s_daemon->readLine().trimmed());
        qputenv("DBUS_SESSION_BUS_ADDRESS", s_address.toUtf8());
    }
    static void TearDownTestSuite() {
        if (s_daemon == nullptr) return;
        s_daemon->kill();
        s_daemon->waitForFinished();
        delete s_daemon;
    }
    void SetUp() override {
        if (s_address.isEmpty()) GTEST_SKIP() << "dbus-daemon is not installed";
    }

    static inline QProcess* s_daemon = nullptr;
    static inline QString s_address;
};

TEST_F(DesktopLockTest, ScreenSaverStartingLocksWhenTheUserWantsIt) {
    const struct {
        const char* path;
        bool active;
        int lockOnDesktop;
        bool locks;
    } cases[] = {
        {"/org/freedesktop/ScreenSaver", true, 1, true},
        {"/ScreenSaver", true, 1, true},
        {"/ScreenSaver", false, 1, false},
        {"/ScreenSaver", true, 0, false},
    };
    QDBusConnection sender = QDBusConnection::connectToBus(s_address, QStringLiteral("sender"));
    ASSERT_TRUE(sender.isConnected());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path + std::string(c.active ? " on, pref " : " off, pref ") +
                     std::to_string(c.lockOnDesktop));
        FakeServices fakes;
        RunningProgram run(fakes.AsServices());
        run.Add({"alpha", "", "", "", "", "pw"});
        run.view->Prefs().lockOnDesktop = c.lockOnDesktop;
        RejectWhenModal<CUnlockDlg>();
        // Sent again until seen or given up, as the bus may take a moment
        // to route the signal to the program.
        const bool locked = WaitUntil(
            [&] {
                QDBusMessage signal = QDBusMessage::createSignal(
                    QString::fromLatin1(c.path), QStringLiteral("org.freedesktop.ScreenSaver"),
                    QStringLiteral("ActiveChanged"));
                signal << c.active;
                sender.send(signal);
                RunEventsFor(milliseconds(50));
                return !run.view->Vault().IsUnlocked();
            },
            milliseconds(c.locks ? 3000 : 500));
        EXPECT_EQ(locked, c.locks);
        EXPECT_EQ(run.Rows().RowCount(), c.locks ? 0 : 1);
    }
    QDBusConnection::disconnectFromBus(QStringLiteral("sender"));
}

}  // namespace
