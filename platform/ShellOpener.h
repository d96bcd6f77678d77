#pragma once

#include <sys/types.h>

#include <mutex>
#include <string>
#include <vector>

/// Opens a URL with the desktop's handler.
class IShellOpener {
public:
    virtual ~IShellOpener() = default;
    /// Opens `url`; returns false when the handler could not be started.
    virtual bool Open(const std::string& url) = 0;
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

private:
    void ReapFinished();

    std::string m_program;
    std::mutex m_mutex;
    std::vector<pid_t> m_children;  // started, not reaped yet
};
