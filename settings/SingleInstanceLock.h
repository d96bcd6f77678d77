#pragma once

#include <string>

/// Holds an exclusive lock on a file for the life of the object, so that a
/// second running copy of the program can tell that the first one is there.
/// The holder writes its name into the file, so that a refused program can
/// say which program holds the lock.
class CSingleInstanceLock final {
public:
    /// The names the Keynest programs hold the lock under.
    static constexpr const char* kDesktopHolder = "keynest";
    static constexpr const char* kCliHolder = "keynest-cli";

    CSingleInstanceLock(const std::string& lockFilePath, const std::string& holderName);
    ~CSingleInstanceLock();
    CSingleInstanceLock(const CSingleInstanceLock&) = delete;
    CSingleInstanceLock& operator=(const CSingleInstanceLock&) = delete;

    /// True when this object holds the lock.
    bool IsHeld() const { return m_fd >= 0; }
    /// True when another process holds it: another copy is running.
    bool IsHeldElsewhere() const { return m_heldElsewhere; }
    /// The name the other holder wrote (one of the k...Holder names), or
    /// empty when it is unknown.
    const std::string& OtherHolder() const { return m_otherHolder; }
    /// Why the lock is neither held here nor elsewhere (the lock file could
    /// not be made or locked); empty otherwise.
    const std::string& Error() const { return m_error; }

private:
    int m_fd = -1;
    bool m_heldElsewhere = false;
    std::string m_otherHolder;
    std::string m_error;
};
