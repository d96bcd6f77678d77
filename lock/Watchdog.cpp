#include "lock/Watchdog.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <algorithm>
#include <atomic>
#include <ctime>
#include <condition_variable>
#include <deque>
#include <mutex>

#include "contract/AppMessages.h"
#include "platform/ShellOpener.h"

// Everything the workers use lives here, co-owned by each thread, so that a
// thread left running after Stop() gave up on it never reads freed memory.
struct CWatchdog::SharedState {
    std::shared_ptr<CEventHub> hub = std::make_shared<CEventHub>();
    CManualResetEvent m_hQuitLauncher{hub};
    CManualResetEvent m_hLaunch{hub};
    CManualResetEvent m_hQuitDog{hub};
    CManualResetEvent m_hActivity{hub};
    std::atomic<std::uint32_t> m_dwDogTimeout{kInfinite};
    Clock clock;

    // URLs waiting for the launcher, handed over as copies under the mutex.
    std::mutex launchMutex;
    std::deque<std::string> pendingUrls;
    IShellOpener* shell = nullptr;

    // Cleared by Stop(), so nothing is posted to a target that may be gone.
    std::mutex targetMutex;
    QObject* stageTarget = nullptr;

    std::mutex endMutex;
    std::condition_variable ended;
    bool m_bLauncherDone = false;
    bool m_bDogDone = false;

    SharedState() {
        for (CManualResetEvent* event : {&m_hQuitLauncher, &m_hLaunch, &m_hQuitDog, &m_hActivity}) {
            event->Reset();
        }
    }

    void MarkEnded(bool SharedState::*flag) {
        {
            std::lock_guard lock(endMutex);
            this->*flag = true;
        }
        ended.notify_all();
    }
};

std::int64_t CWatchdog::BootTimeMs() {
    timespec now{};
    ::clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

CWatchdog::CWatchdog(Clock clock) : m_state(std::make_shared<SharedState>()) {
    m_state->clock = std::move(clock);
}

CWatchdog::~CWatchdog() {
    Stop();
}

bool CWatchdog::Start(QObject* stageTarget, IShellOpener& shell) {
    if (m_started) return false;
    {
        std::lock_guard lock(m_state->targetMutex);
        m_state->stageTarget = stageTarget;
    }
    m_state->shell = &shell;
    m_state->m_dwDogTimeout = kInfinite;
    m_started = true;
    m_launcher = std::thread(&CWatchdog::LauncherThread, m_state);
    m_dog = std::thread(&CWatchdog::DogThread, m_state);
    return true;
}

void CWatchdog::SignalActivity() {
    m_state->m_hActivity.Set();
}

void CWatchdog::SetDogTimeout(std::uint32_t ms) {
    m_state->m_dwDogTimeout = ms;
    m_state->m_hActivity.Set();
}

std::uint32_t CWatchdog::DogTimeout() const {
    return m_state->m_dwDogTimeout;
}

void CWatchdog::RequestLaunch(const std::string& url) {
    {
        std::lock_guard lock(m_state->launchMutex);
        if (m_state->pendingUrls.size() >= kMaxPendingLaunches) m_state->pendingUrls.pop_front();
        m_state->pendingUrls.push_back(url);
    }
    m_state->m_hLaunch.Set();
}

bool CWatchdog::Stop(std::chrono::milliseconds bound) {
    SharedState& state = *m_state;
    if (!IsRunning()) {
        // Stopped before (the close handler, then the destructor): no second wait.
        std::lock_guard lock(state.endMutex);
        return !m_started || (state.m_bLauncherDone && state.m_bDogDone);
    }
    state.m_hQuitLauncher.Set();
    state.m_hQuitDog.Set();
    bool launcherDone = false;
    bool dogDone = false;
    {
        std::unique_lock lock(state.endMutex);
        state.ended.wait_for(lock, bound, [&state] { return state.m_bLauncherDone && state.m_bDogDone; });
        launcherDone = state.m_bLauncherDone;
        dogDone = state.m_bDogDone;
    }
    {
        std::lock_guard lock(state.targetMutex);
        state.stageTarget = nullptr;
    }
    // A thread that set its flag is about to return, so joining it is quick.
    auto finish = [](std::thread& worker, bool done) {
        if (!worker.joinable()) return;
        if (done) {
            worker.join();
        } else {
            worker.detach();
        }
    };
    finish(m_launcher, launcherDone);
    finish(m_dog, dogDone);
    return launcherDone && dogDone;
}

void CWatchdog::DogThread(std::shared_ptr<SharedState> state) {
    // The inactive time is measured on a clock that counts suspend, and the
    // wait wakes up now and then to look at it: a machine put to sleep while
    // unlocked locks as soon as it wakes when the time has passed.
    constexpr std::int64_t kLookAtClockMs = 500;
    for (;;) {
        // The wait time is read afresh for every wait: the user-interface
        // thread changes it and then signals activity.
        const std::uint32_t timeout = state->m_dwDogTimeout;
        const std::int64_t deadline = state->clock() + timeout;
        int signalled = kWaitTimeout;
        for (;;) {
            const std::int64_t left = deadline - state->clock();
            if (timeout != kInfinite && left <= 0) break;
            const auto slice = timeout == kInfinite
                                   ? kInfinite
                                   : static_cast<std::uint32_t>(std::min(left, kLookAtClockMs));
            signalled = WaitForAny({&state->m_hQuitDog, &state->m_hActivity}, slice);
            if (signalled != kWaitTimeout) break;
        }
        if (signalled == 0) break;
        if (signalled == 1) {
            state->m_hActivity.Reset();
            continue;
        }
        std::lock_guard lock(state->targetMutex);
        if (state->stageTarget != nullptr) {
            QCoreApplication::postEvent(state->stageTarget, new QEvent(kWmDogCloseBoxes));
        }
    }
    state->MarkEnded(&SharedState::m_bDogDone);
}

void CWatchdog::LauncherThread(std::shared_ptr<SharedState> state) {
    for (;;) {
        const int signalled = WaitForAny({&state->m_hQuitLauncher, &state->m_hLaunch}, kInfinite);
        if (signalled == 0) break;
        std::string url;
        {
            // The event is reset only when no URL is waiting, under the same
            // lock RequestLaunch() queues with, so no request is lost.
            std::lock_guard lock(state->launchMutex);
            if (state->pendingUrls.empty()) {
                state->m_hLaunch.Reset();
                continue;
            }
            url = std::move(state->pendingUrls.front());
            state->pendingUrls.pop_front();
        }
        // The handler's result is not reported: a browser that does not
        // start leaves nothing for the program to do.
        if (!url.empty()) state->shell->Open(url);
    }
    state->MarkEnded(&SharedState::m_bLauncherDone);
}
