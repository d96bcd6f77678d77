// The inactivity wait: timing of the first lock stage, activity, the
// never-ending wait and a bounded stop.

#include <gtest/gtest.h>

#include <QEvent>
#include <QObject>

#include "contract/AppMessages.h"
#include "EventLoopWait.h"
#include "FakeServices.h"
#include "platform/ShellOpener.h"
#include "TestSupport.h"
#include "lock/Watchdog.h"

using namespace std::chrono_literals;
using keynest_test::RunEventsFor;
using keynest_test::WaitUntil;
using Clock = std::chrono::steady_clock;

namespace {

/// Records when the first lock stage arrives.
class StageRecorder final : public QObject {
  public:
    void customEvent(QEvent* event) override {
        if (event->type() == kWmDogCloseBoxes) arrivals.push_back(Clock::now());
    }
    std::vector<Clock::time_point> arrivals;
};

class WatchdogTest : public ::testing::Test {
  protected:
    StageRecorder m_target;
    keynest_test::FakeShellOpener m_shell;
    CWatchdog m_dog;
};

TEST_F(WatchdogTest, TimeoutPostsFirstStageAndKeepsPostingWhileIdle) {
    ASSERT_TRUE(m_dog.Start(&m_target, m_shell));
    const auto begin = Clock::now();
    m_dog.SetDogTimeout(150);
    ASSERT_TRUE(WaitUntil([&] { return m_target.arrivals.size() >= 2; }));
    EXPECT_GE(m_target.arrivals[0] - begin, 150ms);
    // Nobody answered the first time-out: the same wait runs again.
    EXPECT_GE(m_target.arrivals[1] - m_target.arrivals[0], 140ms);
    EXPECT_TRUE(m_dog.Stop());
}

TEST_F(WatchdogTest, ActivityRestartsTheFullWait) {
    ASSERT_TRUE(m_dog.Start(&m_target, m_shell));
    m_dog.SetDogTimeout(200);
    const auto busyUntil = Clock::now() + 600ms;
    while (Clock::now() < busyUntil) {
        m_dog.SignalActivity();
        RunEventsFor(50ms);
    }
    EXPECT_TRUE(m_target.arrivals.empty());
    const auto lastActivity = Clock::now();
    m_dog.SignalActivity();
    ASSERT_TRUE(WaitUntil([&] { return !m_target.arrivals.empty(); }));
    EXPECT_GE(m_target.arrivals[0] - lastActivity, 200ms);
}

TEST_F(WatchdogTest, InfiniteWaitNeverTimesOut) {
    ASSERT_TRUE(m_dog.Start(&m_target, m_shell));
    EXPECT_EQ(m_dog.DogTimeout(), kInfinite);
    // A short wait replaced at once, as the lock step does, must not fire.
    m_dog.SetDogTimeout(100);
    m_dog.SetDogTimeout(kInfinite);
    RunEventsFor(400ms);
    EXPECT_TRUE(m_target.arrivals.empty());
}

TEST_F(WatchdogTest, StopEndsBothThreadsPromptly) {
    ASSERT_TRUE(m_dog.Start(&m_target, m_shell));
    EXPECT_FALSE(m_dog.Start(&m_target, m_shell));
    m_dog.SetDogTimeout(50);
    const auto begin = Clock::now();
    EXPECT_TRUE(m_dog.Stop());
    EXPECT_LT(Clock::now() - begin, 500ms);
    EXPECT_FALSE(m_dog.IsRunning());
}

}  // namespace
