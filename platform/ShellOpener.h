#pragma once

#include <sys/types.h>

#include <mutex>
#include <string>
#include <vector>

/// How a handler started by IShellOpener::Start has ended so far.
enum class HandlerOutcome { Running, Succeeded, Failed };

/// Opens a URL with the desktop's handler.
class IShellOpener {
public:
    virtual ~IShellOpener() = default;
    /// Opens `url`; returns false when the handler could not be started.
    virtual bool Open(const std::string& url) = 0;
    /// Opens `url` as Open does, and keeps the handler's end to be asked
    /// for by the returned number; 0 when the handler could not be started.
    virtual long Start(const std::string& url) = 0;
    /// How the handler `started` (a number from Start) has ended; never waits.
    virtual HandlerOutcome OutcomeOf(long started) = 0;
    /// Its end is no longer asked for: the handler `started` is reaped like
    /// any other, so that none is left behind as a zombie.
    virtual void Forget(long started) = 0;
};

/// Runs `xdg-open URL` directly (no shell): the URL is one argument and is
/// never interpreted. Returns at once; finished children are reaped by later
/// calls, so none is left behind for long.
class CXdgOpenShell final : public IShellOpener {
public:
    explicit CXdgOpenShell(std::string program = "xdg-open") : m_program(std::move(program)) {}
    ~CXdgOpenShell() override;
    CXdgOpenShell(const CXdgOpenShell&) = delete;
    CXdgOpenShell& operator=(const CXdgOpenShell&) = delete;

    /// Starts the handler for `url`; false when it could not be started.
    bool Open(const std::string& url) override;
    /// The handler's process id is the number; its exit status 0 is success.
    long Start(const std::string& url) override;
    HandlerOutcome OutcomeOf(long started) override;
    void Forget(long started) override;

private:
    void ReapFinished();
    pid_t Spawn(const std::string& url, bool watched);

    std::string m_program;
    std::mutex m_mutex;
    std::vector<pid_t> m_children;  // started, not reaped yet
    std::vector<pid_t> m_watched;   // of those, the ones whose end is asked for
};
