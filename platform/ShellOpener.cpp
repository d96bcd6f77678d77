#include "platform/ShellOpener.h"

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>

extern char** environ;

CXdgOpenShell::~CXdgOpenShell() {
    m_watched.clear();
    ReapFinished();
}

void CXdgOpenShell::ReapFinished() {
    std::lock_guard lock(m_mutex);
    // A watched child is reaped by OutcomeOf, which needs its exit status.
    m_children.erase(std::remove_if(m_children.begin(), m_children.end(),
                                    [this](pid_t child) {
                                        return std::find(m_watched.begin(), m_watched.end(),
                                                         child) == m_watched.end() &&
                                               ::waitpid(child, nullptr, WNOHANG) != 0;
                                    }),
                     m_children.end());
}

bool CXdgOpenShell::Open(const std::string& url) { return Spawn(url, false) != 0; }

long CXdgOpenShell::Start(const std::string& url) { return Spawn(url, true); }

HandlerOutcome CXdgOpenShell::OutcomeOf(long started) {
    const auto child = static_cast<pid_t>(started);
    std::lock_guard lock(m_mutex);
    const auto watched = std::find(m_watched.begin(), m_watched.end(), child);
    if (child <= 0 || watched == m_watched.end()) return HandlerOutcome::Failed;
    int status = 0;
    const pid_t ended = ::waitpid(child, &status, WNOHANG);
    if (ended == 0) return HandlerOutcome::Running;
    m_watched.erase(watched);
    m_children.erase(std::remove(m_children.begin(), m_children.end(), child), m_children.end());
    return ended == child && WIFEXITED(status) && WEXITSTATUS(status) == 0
               ? HandlerOutcome::Succeeded
               : HandlerOutcome::Failed;
}

void CXdgOpenShell::Forget(long started) {
    std::lock_guard lock(m_mutex);
    m_watched.erase(std::remove(m_watched.begin(), m_watched.end(), static_cast<pid_t>(started)),
                    m_watched.end());
}

pid_t CXdgOpenShell::Spawn(const std::string& url, bool watched) {
    ReapFinished();
    if (url.empty()) return 0;
    std::string program = m_program;
    std::string argument = url;
    std::vector<char*> argv = {program.data(), argument.data(), nullptr};
    pid_t child = 0;
    if (::posix_spawnp(&child, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
        return 0;
    }
    // Handlers may run the browser in the foreground: never wait for it.
    // The child is reaped by a later call once it has ended.
    std::lock_guard lock(m_mutex);
    m_children.push_back(child);
    if (watched) m_watched.push_back(child);
    return child;
}
