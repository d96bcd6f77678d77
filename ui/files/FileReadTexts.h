#pragma once

#include <QString>
#include <chrono>
#include <string>

enum class FileReadStatus;

/// The longest the user-interface thread waits for a chosen file: a file
/// system that stops answering must not keep the program from locking.
inline constexpr std::chrono::seconds kFileWaitLimit{3};

/// `path` (the file system's bytes) as the user reads it.
QString DisplayPath(const std::string& path);

/// Why the file at `path` was not read, ending in "Nothing was imported.",
/// for every status but FileReadStatus::Ok.
QString FileReadFailureText(const std::string& path, FileReadStatus status);
