#pragma once

#include <QObject>

class QDBusPendingCallWatcher;

/// Listens on D-Bus for the desktop locking itself: the screen saver
/// starting (session bus), the login session being locked and the computer
/// about to sleep (logind on the system bus). A bus or service that is not
/// there is simply not listened to. It can only ask for a lock: nothing a
/// message says can unlock or change anything else.
class CDesktopLockWatcher final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CDesktopLockWatcher)

public:
    explicit CDesktopLockWatcher(QObject* parent = nullptr);

Q_SIGNALS:
    /// The desktop locked or is going to sleep: the program should lock.
    void LockRequested();

    // D-Bus delivers signals only to slots named in text, so these are slots.
private Q_SLOTS:
    void OnScreenSaverActiveChanged(bool active);
    void OnPrepareForSleep(bool sleeping);
    void OnSessionLock();

private:
    /// Listens to the Lock signal of the session logind named for us.
    void OnSessionFound(QDBusPendingCallWatcher* call);
};
