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
/// Creates `directory` and any missing parents with mode 0700.
bool MakePrivateDirectory(const std::string& directory);
/// The old INI file migrated into a newly created branch.
std::string IniFile();

}  // namespace UserPaths
