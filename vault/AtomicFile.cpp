#include "vault/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The file a link points to, so that replacing it keeps the link.
std::filesystem::path ResolveLink(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_symlink(path, error)) {
        std::filesystem::path real = std::filesystem::canonical(path, error);
        if (!error) return real;
    }
    return path;
}

// Makes the rename itself durable. A failure here is not reported: the new
// file is already in place and the old one gone.
void SyncFolder(const std::filesystem::path& folder) {
    const std::string name = folder.empty() ? std::string(".") : folder.string();
    const int fd = ::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// Writes a new file beside `target` and renames it to `target`. rename()
// replaces the directory entry, whatever it is, and never follows a link.
bool WriteThenRename(const std::filesystem::path& target, std::string_view data, mode_t mode) {
    if (!target.has_filename()) return false;
    const std::filesystem::path folder = target.parent_path();
    std::string temp = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    // mkostemp creates the file (O_EXCL) with mode 0600, so the content is
    // never readable by others, not even while it is written.
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = WriteAll(fd, data) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    SyncFolder(folder);
    return true;
}

bool ReadAll(int fd, std::size_t maxBytes, std::string& out, FileReadStatus& status) {
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) {
            status = FileReadStatus::CannotOpen;
            return false;
        }
        if (count == 0) return true;
        if (out.size() + static_cast<std::size_t>(count) > maxBytes) {
            status = FileReadStatus::TooLarge;
            return false;
        }
        out.append(buffer, static_cast<std::size_t>(count));
    }
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view data, mode_t mode) {
    const std::filesystem::path target = ResolveLink(path);
    if (IsReadOnlyFile(target.string())) return false;
    return WriteThenRename(target, data, mode);
}

bool ReplaceFileAtName(const std::string& path, std::string_view data, mode_t mode,
                       bool replaceReadOnly) {
    if (!replaceReadOnly && IsReadOnlyFile(path)) return false;
    return WriteThenRename(path, data, mode);
}

bool IsReadOnlyFile(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           (info.st_mode & S_IWUSR) == 0;
}

namespace {

// ReadRegularFile's work; `cutAtLimit` stops at `maxBytes` instead of
// refusing a longer file.
FileReadStatus ReadRegular(const std::string& path, std::size_t maxBytes, bool cutAtLimit, std::string& out) {
    out.clear();
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return FileReadStatus::CannotOpen;
    if (!S_ISREG(info.st_mode)) return FileReadStatus::NotRegular;
    if (!cutAtLimit && static_cast<std::uint64_t>(info.st_size) > maxBytes) return FileReadStatus::TooLarge;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return FileReadStatus::CannotOpen;
    FileReadStatus status = FileReadStatus::Ok;
    if (::fstat(fd, &info) != 0) {
        status = FileReadStatus::CannotOpen;
    } else if (!S_ISREG(info.st_mode)) {
        status = FileReadStatus::NotRegular;
    } else if (cutAtLimit) {
        out.resize(maxBytes);
        const ssize_t count = ::read(fd, out.data(), maxBytes);
        if (count < 0) status = FileReadStatus::CannotOpen;
        out.resize(count < 0 ? 0 : static_cast<std::size_t>(count));
    } else {
        // Reads from regular files ignore O_NONBLOCK; the size is checked
        // again while reading, since files such as those of /proc give 0.
        out.reserve(static_cast<std::size_t>(info.st_size));
        ReadAll(fd, maxBytes, out, status);
    }
    ::close(fd);
    if (status != FileReadStatus::Ok) out.clear();
    return status;
}

}  // namespace

FileReadStatus ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& out) {
    return ReadRegular(path, maxBytes, false, out);
}

FileReadStatus ReadRegularFileStart(const std::string& path, std::size_t bytes, std::string& out) {
    return ReadRegular(path, bytes, true, out);
}

FileReadStatus ReadRegularFileWithin(const std::string& path, std::size_t maxBytes,
                                     std::chrono::milliseconds limit, std::string& out) {
    out.clear();
    // Shared with the reader, which may outlive this call.
    struct Job {
        std::mutex mutex;
        std::condition_variable finished;
        bool done = false;
        FileReadStatus status = FileReadStatus::CannotOpen;
        std::string bytes;
    };
    const auto job = std::make_shared<Job>();
    try {
        std::thread([job, path, maxBytes] {
            std::string bytes;
            const FileReadStatus status = ReadRegularFile(path, maxBytes, bytes);
            const std::lock_guard<std::mutex> lock(job->mutex);
            job->bytes = std::move(bytes);
            job->status = status;
            job->done = true;
            job->finished.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        return FileReadStatus::CannotOpen;  // no thread to be had: nothing read
    }
    std::unique_lock<std::mutex> lock(job->mutex);
    if (!job->finished.wait_for(lock, limit, [&job] { return job->done; })) {
        return FileReadStatus::TimedOut;
    }
    out = std::move(job->bytes);
    return job->status;
}
