#pragma once

#include <string>

/// Holds an exclusive lock on a file for the life of the object, so that a
/// second running copy of the program can tell that the first one is there.
class CSingleInstanceLock final {
public:
    explicit CSingleInstanceLock(const std::string& lockFilePath);
    ~CSingleInstanceLock();
    CSingleInstanceLock(const CSingleInstanceLock&) = delete;
    CSingleInstanceLock& operator=(const CSingleInstanceLock&) = delete;

    /// True when this object holds the lock.
    bool IsHeld() const { return m_fd >= 0; }
    /// True when another process holds it: another copy is running.
    bool IsHeldElsewhere() const { return m_heldElsewhere; }
    /// Why the lock is neither held here nor elsewhere (the lock file could
    /// not be made or locked); empty otherwise.
    const std::string& Error() const { return m_error; }

private:
    int m_fd = -1;
    bool m_heldElsewhere = false;
    std::string m_error;
};
