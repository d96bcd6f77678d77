#include "settings/SingleInstanceLock.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

CSingleInstanceLock::CSingleInstanceLock(const std::string& lockFilePath) {
    const int fd = ::open(lockFilePath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        m_error = lockFilePath + ": " + std::strerror(errno);
        return;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        m_heldElsewhere = errno == EWOULDBLOCK;
        if (!m_heldElsewhere) m_error = lockFilePath + ": " + std::strerror(errno);
        ::close(fd);
        return;
    }
    m_fd = fd;
}

CSingleInstanceLock::~CSingleInstanceLock() {
    if (m_fd >= 0) ::close(m_fd);
}
