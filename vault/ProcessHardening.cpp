#include "vault/ProcessHardening.h"

#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace {

// Set in the restarted program; holds the caller's own GLIBC_TUNABLES.
constexpr const char* kRestartMark = "KEYNEST_WIPE_FREED";
// Every freed block is filled with 0xA5; with the per-thread cache off,
// no freed block skips the fill.
constexpr const char* kTunables = "glibc.malloc.perturb=165:glibc.malloc.tcache_count=0";

}  // namespace

bool ForbidMemoryDumps() {
    const rlimit none{0, 0};
    const bool noCore = ::setrlimit(RLIMIT_CORE, &none) == 0;
    const bool notDumpable = ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0) == 0;
    return noCore && notDumpable;
}

void RestartWithFreedMemoryWiped(char** argv) {
    if (const char* mark = std::getenv(kRestartMark)) {
        // Restarted: children get back the environment the user gave us.
        const std::string own = mark;
        if (own.empty()) {
            ::unsetenv("GLIBC_TUNABLES");
        } else {
            ::setenv("GLIBC_TUNABLES", own.substr(1).c_str(), 1);
        }
        ::unsetenv(kRestartMark);
        return;
    }
    const char* own = std::getenv("GLIBC_TUNABLES");
    // "=" marks a value that was set, even to the empty text.
    const std::string mark = own ? std::string("=") + own : std::string();
    std::string tunables = own && *own ? std::string(own) + ":" + kTunables : kTunables;
    ::setenv(kRestartMark, mark.c_str(), 1);
    ::setenv("GLIBC_TUNABLES", tunables.c_str(), 1);
    // The file itself, not /proc/self/exe, so that the process keeps its name.
    std::string self(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", self.data(), self.size() - 1);
    if (length > 0) ::execv(self.c_str(), argv);
    // The restart failed: go on as we are, with the environment as it was.
    ::unsetenv(kRestartMark);
    if (own) {
        ::setenv("GLIBC_TUNABLES", mark.substr(1).c_str(), 1);
    } else {
        ::unsetenv("GLIBC_TUNABLES");
    }
}
