#include "cli/Terminal.h"

#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>

#include "cli/ExitStatus.h"
#include "vault/ItemList.h"

namespace {

// The terminal settings to restore when a signal stops or ends the program
// while echo is off, and the quiet ones to take back on SIGCONT; written
// before the handlers are installed.
termios g_savedTerminal{};
termios g_quietTerminal{};

void RestoreTerminalAndExit(int signalNumber) {
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &g_savedTerminal);
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

// Ctrl+Z: the shell gets the terminal back as it was, then the program
// stops for real; it takes the terminal back when it is continued in the
// foreground. Only async-signal-safe calls.
void RestoreTerminalAndStop(int) {
    const int savedErrno = errno;
    ::tcsetattr(STDIN_FILENO, TCSANOW, &g_savedTerminal);
    std::signal(SIGTSTP, SIG_DFL);
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGTSTP);
    ::sigprocmask(SIG_UNBLOCK, &stop, nullptr);
    std::raise(SIGTSTP);
    // Continued: SIGCONT's handler has taken the terminal back.
    std::signal(SIGTSTP, RestoreTerminalAndStop);
    errno = savedErrno;
}

void TakeTerminalBack(int) {
    const int savedErrno = errno;
    // In the background the shell keeps the terminal; `fg` continues us again.
    if (::tcgetpgrp(STDIN_FILENO) == ::getpgrp()) {
        ::tcsetattr(STDIN_FILENO, TCSANOW, &g_quietTerminal);
    }
    errno = savedErrno;
}

constexpr int kEchoSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

// Turns echo off for the life of the object; a line break is still echoed
// so the next output starts on its own line.
class CEchoOff final {
  public:
    CEchoOff() {
        if (::tcgetattr(STDIN_FILENO, &g_savedTerminal) != 0) return;
        g_quietTerminal = g_savedTerminal;
        g_quietTerminal.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        g_quietTerminal.c_lflag |= ECHONL;
        for (const int signalNumber : kEchoSignals)
            std::signal(signalNumber, RestoreTerminalAndExit);
        std::signal(SIGTSTP, RestoreTerminalAndStop);
        std::signal(SIGCONT, TakeTerminalBack);
        m_bActive = ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &g_quietTerminal) == 0;
    }
    ~CEchoOff() {
        if (m_bActive) ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &g_savedTerminal);
        for (const int signalNumber : kEchoSignals) std::signal(signalNumber, SIG_DFL);
        std::signal(SIGTSTP, SIG_DFL);
        std::signal(SIGCONT, SIG_DFL);
    }
    CEchoOff(const CEchoOff&) = delete;
    CEchoOff& operator=(const CEchoOff&) = delete;

  private:
    bool m_bActive = false;
};

// Reads up to the next line break one byte at a time, so no part of a
// secret is left behind in a stream buffer.
bool ReadRawLine(std::string& line) {
    WipeString(line);
    bool any = false;
    char c = 0;
    for (;;) {
        const ssize_t count = ::read(STDIN_FILENO, &c, 1);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) break;
        any = true;
        if (c == '\n') break;
        line.push_back(c);
    }
    c = 0;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return any;
}

}  // namespace

CTerminal::CTerminal() : m_bInteractive(::isatty(STDIN_FILENO) == 1) {}

bool CTerminal::ReadLine(const std::string& prompt, std::string& line, bool secret) {
    if (!m_bInteractive) return ReadRawLine(line);
    std::fputs(prompt.c_str(), stderr);
    std::fflush(stderr);
    if (!secret) return ReadRawLine(line);
    const CEchoOff echoOff;
    return ReadRawLine(line);
}

bool CTerminal::Confirm(const std::string& question, bool assumeYes) {
    if (assumeYes) return true;
    if (!m_bInteractive) return false;
    std::string answer;
    if (!ReadLine(question + " [y/N] ", answer, false)) return false;
    return answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes" || answer == "YES";
}

ExitStatus CTerminal::Declined(const std::string& what) const {
    const std::string why = m_bInteractive
                                ? what + ": not confirmed; nothing changed"
                                : what +
                                      " needs --yes when standard input is not a terminal; "
                                      "nothing changed";
    return Fail(ExitStatus::Usage, why);
}
