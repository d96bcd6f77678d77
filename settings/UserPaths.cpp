#include "settings/UserPaths.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <pwd.h>
#include <unistd.h>

namespace {

std::string HomeDirectory() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir) return entry->pw_dir;
    return "/tmp";
}

// An XDG variable counts only when it holds an absolute path.
std::string XdgDirectory(const char* variable, const char* fallbackBelowHome) {
    if (const char* value = std::getenv(variable); value && value[0] == '/') return value;
    return HomeDirectory() + fallbackBelowHome;
}

}  // namespace

namespace UserPaths {

std::string DataDirectory() { return XdgDirectory("XDG_DATA_HOME", "/.local/share") + "/Keynest"; }

std::string ConfigDirectory() { return XdgDirectory("XDG_CONFIG_HOME", "/.config"); }

std::string StoreFile() { return DataDirectory() + "/keynest.sqlite"; }

bool MakePrivateDirectory(const std::string& directory) {
    size_t pos = 0;
    while (pos != std::string::npos) {
        pos = directory.find('/', pos + 1);
        const std::string partial = directory.substr(0, pos);
        if (partial.empty()) continue;
        if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    // A folder that was there already may be open to others: only the user
    // may list or enter it.
    struct stat info {};
    if (::stat(directory.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return false;
    return (info.st_mode & 077) == 0 || ::chmod(directory.c_str(), info.st_mode & 0700) == 0;
}

std::string IniFile() { return ConfigDirectory() + "/Keynest.INI"; }

}  // namespace UserPaths
