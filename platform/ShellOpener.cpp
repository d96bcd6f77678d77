#include "platform/ShellOpener.h"

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>

extern char** environ;

CXdgOpenShell::~CXdgOpenShell() { ReapFinished(); }

void CXdgOpenShell::ReapFinished() {
    std::lock_guard lock(m_mutex);
    m_children.erase(std::remove_if(m_children.begin(), m_children.end(),
                                    [](pid_t child) { return ::waitpid(child, nullptr, WNOHANG) != 0; }),
                     m_children.end());
}

bool CXdgOpenShell::Open(const std::string& url) {
    ReapFinished();
    if (url.empty()) return false;
    std::string program = m_program;
    std::string argument = url;
    std::vector<char*> argv = {program.data(), argument.data(), nullptr};
    pid_t child = 0;
    if (::posix_spawnp(&child, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
        return false;
    }
    // Handlers may run the browser in the foreground: never wait for it.
    // The child is reaped by a later call once it has ended.
    std::lock_guard lock(m_mutex);
    m_children.push_back(child);
    return true;
}
