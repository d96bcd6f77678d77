#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "contract/Activity.h"
#include "contract/UrlLauncher.h"
#include "platform/ManualResetEvent.h"

class QObject;
class IShellOpener;

/// The two worker threads of the program: DogThread, which waits for a sign
/// of activity and starts the lock stages when none comes in time, and
/// LauncherThread, which opens URLs so that the user-interface thread never
/// waits for the desktop's handler. The workers touch no widget: they only
/// post events and call the shell opener.
class CWatchdog final : public IActivity, public IUrlLauncher {
public:
    /// At most this many URLs wait for the launcher; older ones go first.
    static constexpr std::size_t kMaxPendingLaunches = 16;

    /// A clock in milliseconds that keeps counting while the machine sleeps.
    using Clock = std::function<std::int64_t()>;
    /// Milliseconds of CLOCK_BOOTTIME, which counts time spent suspended.
    static std::int64_t BootTimeMs();

    /// `clock` measures the inactive time; tests pass one they can move.
    explicit CWatchdog(Clock clock = &CWatchdog::BootTimeMs);
    /// Stops the threads (bounded, see Stop()).
    ~CWatchdog() override;
    CWatchdog(const CWatchdog&) = delete;
    CWatchdog& operator=(const CWatchdog&) = delete;

    /// Starts both threads with the wait time kInfinite. Timeouts post
    /// kWmDogCloseBoxes to `stageTarget`; launches go to `shell`, which must
    /// outlive the program's run. Starts once: returns false when called again.
    bool Start(QObject* stageTarget, IShellOpener& shell);

    /// A sign of user activity: DogThread begins a fresh wait.
    void SignalActivity() override;
    /// Sets the wait time (kInfinite = never) and signals activity so that it
    /// takes effect at once.
    void SetDogTimeout(std::uint32_t ms) override;
    /// The wait time DogThread uses for its next wait.
    std::uint32_t DogTimeout() const;

    /// Asks LauncherThread to open `url`. The text is copied; requests made
    /// while an earlier URL is being opened are queued, in order.
    void RequestLaunch(const std::string& url) override;

    /// Signals both threads to end and waits for them up to `bound`. After
    /// this nothing more is posted to the stage target. Returns false when
    /// a thread did not end in time; it is then left to finish on its own
    /// and touches only state it co-owns. A second call does not wait again.
    bool Stop(std::chrono::milliseconds bound = std::chrono::milliseconds(5000));

    /// True between a successful Start() and Stop().
    bool IsRunning() const { return m_launcher.joinable() || m_dog.joinable(); }

private:
    struct SharedState;
    static void DogThread(std::shared_ptr<SharedState> state);
    static void LauncherThread(std::shared_ptr<SharedState> state);

    std::shared_ptr<SharedState> m_state;
    bool m_started = false;
    std::thread m_launcher;
    std::thread m_dog;
};
