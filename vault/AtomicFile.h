#pragma once

// Whole-file writes that either complete or leave the earlier file alone,
// and the owner's write permission that marks a file read-only.

#include <sys/types.h>

#include <string>
#include <string_view>

/// Writes `data` to `path` through a temporary file (mode 0600 from its
/// creation) in the same folder, flushed to disk and renamed over `path`
/// only when complete; the finished file gets `mode`. A symbolic link is
/// followed, so the file it names is replaced. Refuses to replace a
/// read-only file. Returns false on any failure: the earlier file is then
/// untouched and the temporary file removed.
[[nodiscard]] bool WriteFileAtomically(const std::string& path, std::string_view data, mode_t mode);

/// True when `path` names an existing file that its owner may not write.
bool IsReadOnlyFile(const std::string& path);

/// Gives the owner of `path` write permission again; false on failure.
bool MakeFileWritable(const std::string& path);
