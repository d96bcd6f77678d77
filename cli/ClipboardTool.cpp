#include "cli/ClipboardTool.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "vault/ItemList.h"

extern char** environ;

namespace {

bool IsOnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    if (path == nullptr) return false;
    const std::string entries = path;
    std::size_t start = 0;
    while (start <= entries.size()) {
        std::size_t end = entries.find(':', start);
        if (end == std::string::npos) end = entries.size();
        const std::string folder = end > start ? entries.substr(start, end - start) : ".";
        if (::access((folder + "/" + program).c_str(), X_OK) == 0) return true;
        start = end + 1;
    }
    return false;
}

// One child process with its standard input fed from `input` and, when
// `output` is given, its standard output read into it; otherwise output
// and errors go to /dev/null. The tools fork into the background to own
// the selection: they must not keep our pipes open.
bool Run(const std::vector<std::string>& args, const std::string& input, std::string* output) {
    int inPipe[2] = {-1, -1};
    int outPipe[2] = {-1, -1};
    if (::pipe2(inPipe, O_CLOEXEC) != 0) return false;
    if (output != nullptr && ::pipe2(outPipe, O_CLOEXEC) != 0) {
        ::close(inPipe[0]);
        ::close(inPipe[1]);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, inPipe[0], STDIN_FILENO);
    if (output != nullptr) {
        posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    }
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    const bool started =
        ::posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    ::close(inPipe[0]);
    if (output != nullptr) ::close(outPipe[1]);

    // A tool that ends early must not end us with SIGPIPE.
    const auto oldHandler = std::signal(SIGPIPE, SIG_IGN);
    std::size_t written = 0;
    while (started && written < input.size()) {
        const ssize_t count = ::write(inPipe[1], input.data() + written, input.size() - written);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) break;
        written += static_cast<std::size_t>(count);
    }
    ::close(inPipe[1]);
    std::signal(SIGPIPE, oldHandler);

    if (output != nullptr) {
        WipeString(*output);
        char buffer[256];
        for (;;) {
            const ssize_t count = ::read(outPipe[0], buffer, sizeof buffer);
            if (count < 0 && errno == EINTR) continue;
            if (count <= 0) break;
            output->append(buffer, static_cast<std::size_t>(count));
        }
        explicit_bzero(buffer, sizeof buffer);
        ::close(outPipe[0]);
    }
    if (!started) return false;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return written == input.size() && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void SleepSeconds(int seconds) {
    timespec left{seconds, 0};
    while (::nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}

}  // namespace

CClipboardTool CClipboardTool::Find() {
    CClipboardTool tool;
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (wayland != nullptr && *wayland != '\0' && IsOnPath("wl-copy")) {
        tool.m_strName = "wl-copy";
        // --sensitive asks clipboard managers not to keep the text; older
        // wl-copy does not know it, and then the plain form is used.
        tool.m_copyArgs = {"wl-copy", "--sensitive", "--type", "text/plain"};
        tool.m_plainCopyArgs = {"wl-copy", "--type", "text/plain"};
        tool.m_pasteArgs = {"wl-paste", "--no-newline", "--type", "text/plain"};
        tool.m_clearArgs = {"wl-copy", "--clear"};
    } else if (IsOnPath("xclip")) {
        tool.m_strName = "xclip";
        tool.m_copyArgs = {"xclip", "-selection", "clipboard", "-in"};
        tool.m_pasteArgs = {"xclip", "-selection", "clipboard", "-out"};
        tool.m_clearArgs = tool.m_copyArgs;
    }
    return tool;
}

bool CClipboardTool::Copy(const std::string& text) const {
    if (!IsFound()) return false;
    if (Run(m_copyArgs, text, nullptr)) return true;
    return !m_plainCopyArgs.empty() && Run(m_plainCopyArgs, text, nullptr);
}

bool CClipboardTool::ReadClipboard(std::string& text) const { return Run(m_pasteArgs, {}, &text); }

// xclip has no clear command: it empties the clipboard by owning it with
// an empty text.
bool CClipboardTool::Clear() const { return Run(m_clearArgs, std::string(), nullptr); }

bool CClipboardTool::ClearLater(const std::string& text, int seconds) const {
    if (!IsFound() || seconds <= 0) return false;
    const pid_t pid = ::fork();
    if (pid < 0) return false;
    if (pid > 0) return true;

    // The child: its own session, so closing the terminal does not end it,
    // and none of the caller's files, so whoever reads our output sees its
    // end now and the lock file and store are not held for the wait.
    ::setsid();
    const int devNull = ::open("/dev/null", O_RDWR);
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) ::dup2(devNull, fd);
    ::close_range(STDERR_FILENO + 1, ~0U, 0);
    SleepSeconds(seconds);
    std::string current;
    if (ReadClipboard(current) && current == text) Clear();
    WipeString(current);
    std::_Exit(0);
}
