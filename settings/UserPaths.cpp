#include "settings/UserPaths.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
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

bool MakeMissingDirectories(const std::string& directory) {
    size_t pos = 0;
    while (pos != std::string::npos) {
        pos = directory.find('/', pos + 1);
        const std::string partial = directory.substr(0, pos);
        if (partial.empty()) continue;
        if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    struct stat info {};
    return ::stat(directory.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool MakePrivateDirectory(const std::string& directory) {
    if (!MakeMissingDirectories(directory)) return false;
    // A folder that was there already may be open to others: only the user
    // may list or enter it.
    struct stat info {};
    if (::stat(directory.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return false;
    return (info.st_mode & 077) == 0 || ::chmod(directory.c_str(), info.st_mode & 0700) == 0;
}

std::string StoreLockFile(const std::string& storePath) {
    std::error_code ignored;
    const std::filesystem::path store = std::filesystem::absolute(storePath, ignored);
    // A store not made yet: its folder may still be reached through a link.
    std::filesystem::path real = std::filesystem::canonical(store, ignored);
    if (real.empty()) real = std::filesystem::weakly_canonical(store, ignored);
    if (real.empty()) real = store;
    return (real.parent_path() / "keynest.lock").string();
}

std::string IniFile() { return ConfigDirectory() + "/Keynest.INI"; }

}  // namespace UserPaths
