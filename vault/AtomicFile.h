#pragma once

// Whole-file writes that either complete or leave the earlier file alone,
// and whole-file reads that touch nothing but a regular file.

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

/// Writes `data` to `path` through a temporary file (mode 0600 from its
/// creation) in the same folder, flushed to disk and renamed over `path`
/// only when complete; the finished file gets `mode`. A symbolic link is
/// followed, so the file it names is replaced: for names the user chose.
/// Refuses to replace a read-only file. Returns false on any failure: the
/// earlier file is then untouched and the temporary file removed.
[[nodiscard]] bool WriteFileAtomically(const std::string& path, std::string_view data, mode_t mode);

/// The same for a name the program chose: whatever stands at `path` is
/// replaced as a name, so a symbolic link there is replaced by the new file
/// and its target never touched. A read-only file there is replaced only
/// when `replaceReadOnly`.
[[nodiscard]] bool ReplaceFileAtName(const std::string& path, std::string_view data, mode_t mode,
                                     bool replaceReadOnly);

/// True when `path` itself (not a link's target) is a regular file that
/// its owner may not write.
bool IsReadOnlyFile(const std::string& path);

enum class FileReadStatus {
    Ok,
    CannotOpen,  ///< missing or unreadable
    NotRegular,  ///< a folder, FIFO, device or socket: never opened for reading
    TooLarge,    ///< larger than the caller's limit
    TimedOut,    ///< gave no answer within the caller's time
};

/// Reads all of the regular file `path`, at most `maxBytes`, into `out`.
/// Anything but a regular file is refused before it is opened, and it is
/// opened without blocking and checked again once open, so that a FIFO or
/// device swapped in meanwhile cannot make the read wait.
FileReadStatus ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& out);

/// Reads the first `bytes` bytes of the regular file `path` (all of a
/// shorter one) into `out`, with the same checks as ReadRegularFile; a
/// longer file is no error.
FileReadStatus ReadRegularFileStart(const std::string& path, std::size_t bytes, std::string& out);

/// ReadRegularFile on another thread, waited for at most `limit`: a file
/// system that stops answering cannot hold the caller. On TimedOut the
/// read goes on alone and its result is dropped.
FileReadStatus ReadRegularFileWithin(const std::string& path, std::size_t maxBytes,
                                     std::chrono::milliseconds limit, std::string& out);
