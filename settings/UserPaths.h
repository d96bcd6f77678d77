#pragma once

#include <string>

/// Where Keynest keeps its files, following the XDG base directories.
namespace UserPaths {

/// $XDG_DATA_HOME/Keynest, or ~/.local/share/Keynest.
std::string DataDirectory();
/// $XDG_CONFIG_HOME, or ~/.config.
std::string ConfigDirectory();
/// The settings database inside DataDirectory().
std::string StoreFile();
/// Creates `directory` and any missing parents with mode 0700; a
/// `directory` that was there already is made private (0700) too.
bool MakePrivateDirectory(const std::string& directory);
/// Creates the missing folders of `directory` with mode 0700; folders that
/// are there already are left as they are.
bool MakeMissingDirectories(const std::string& directory);
/// The lock file that guards the store at `storePath`: beside the store's
/// real location, links resolved, so that every path to one store meets
/// one lock.
std::string StoreLockFile(const std::string& storePath);
/// The old INI file migrated into a newly created branch.
std::string IniFile();

}  // namespace UserPaths
