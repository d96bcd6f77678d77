#pragma once

#include <string>

/// Opens a URL with the desktop's handler.
class IShellOpener {
public:
    virtual ~IShellOpener() = default;
    /// Opens `url`; returns false when the handler could not be started.
    virtual bool Open(const std::string& url) = 0;
};

/// Runs `xdg-open URL` directly (no shell): the URL is one argument and is
/// never interpreted. Waits for the child so that none is left behind.
class CXdgOpenShell final : public IShellOpener {
public:
    explicit CXdgOpenShell(std::string program = "xdg-open") : m_program(std::move(program)) {}
    bool Open(const std::string& url) override;

private:
    std::string m_program;
};
