#include "settings/SingleInstanceLock.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Only a known name is believed: the file may sit in a folder others can write.
std::string ReadHolderName(int fd) {
    char buffer[16] = {};
    const ssize_t count = ::pread(fd, buffer, sizeof buffer, 0);
    const std::string name(buffer, count > 0 ? static_cast<size_t>(count) : 0);
    for (const char* known : {CSingleInstanceLock::kDesktopHolder, CSingleInstanceLock::kCliHolder}) {
        if (name == known) return name;
    }
    return {};
}

}  // namespace

CSingleInstanceLock::CSingleInstanceLock(const std::string& lockFilePath,
                                         const std::string& holderName) {
    // No link is followed and nothing waits: a FIFO or device planted at the
    // name is refused rather than opened for good.
    const int fd = ::open(lockFilePath.c_str(),
                          O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (fd < 0) {
        m_error = lockFilePath + ": " + std::strerror(errno);
        return;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        m_error = lockFilePath + ": not a regular file";
        ::close(fd);
        return;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        m_heldElsewhere = errno == EWOULDBLOCK;
        if (m_heldElsewhere) {
            m_otherHolder = ReadHolderName(fd);
        } else {
            m_error = lockFilePath + ": " + std::strerror(errno);
        }
        ::close(fd);
        return;
    }
    // The name is a hint for refused programs; the lock works without it.
    if (::ftruncate(fd, 0) == 0) {
        [[maybe_unused]] const ssize_t written =
            ::pwrite(fd, holderName.data(), holderName.size(), 0);
    }
    m_fd = fd;
}

CSingleInstanceLock::~CSingleInstanceLock() {
    if (m_fd >= 0) ::close(m_fd);
}
