#include "platform/DesktopLockWatcher.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace {

const QString kLogin1Service = QStringLiteral("org.freedesktop.login1");
const QString kLogin1Path = QStringLiteral("/org/freedesktop/login1");
const QString kLogin1Manager = QStringLiteral("org.freedesktop.login1.Manager");

}  // namespace

CDesktopLockWatcher::CDesktopLockWatcher(QObject* parent) : QObject(parent) {
    QDBusConnection session = QDBusConnection::sessionBus();
    if (session.isConnected()) {
        // Any sender and any path: screen savers publish the interface under
        // /ScreenSaver, /org/freedesktop/ScreenSaver or both.
        for (const QString& interface : {QStringLiteral("org.freedesktop.ScreenSaver"),
                                         QStringLiteral("org.gnome.ScreenSaver")}) {
            session.connect(QString(), QString(), interface, QStringLiteral("ActiveChanged"), this,
                            SLOT(OnScreenSaverActiveChanged(bool)));
        }
    }
    QDBusConnection system = QDBusConnection::systemBus();
    if (!system.isConnected()) return;
    system.connect(kLogin1Service, kLogin1Path, kLogin1Manager, QStringLiteral("PrepareForSleep"),
                   this, SLOT(OnPrepareForSleep(bool)));
    // "auto" names the session of this process, or the user's graphical one
    // when the process runs outside any session. Asked without waiting, so
    // a slow or absent logind never holds up the start.
    QDBusMessage ask = QDBusMessage::createMethodCall(kLogin1Service, kLogin1Path, kLogin1Manager,
                                                      QStringLiteral("GetSession"));
    ask << QStringLiteral("auto");
    auto* call = new QDBusPendingCallWatcher(system.asyncCall(ask), this);
    connect(call, &QDBusPendingCallWatcher::finished, this, &CDesktopLockWatcher::OnSessionFound);
}

void CDesktopLockWatcher::OnSessionFound(QDBusPendingCallWatcher* call) {
    const QDBusPendingReply<QDBusObjectPath> reply = *call;
    call->deleteLater();
    if (reply.isError()) return;
    QDBusConnection::systemBus().connect(kLogin1Service, reply.value().path(),
                                         QStringLiteral("org.freedesktop.login1.Session"),
                                         QStringLiteral("Lock"), this, SLOT(OnSessionLock()));
}

void CDesktopLockWatcher::OnScreenSaverActiveChanged(bool active) {
    if (active) Q_EMIT LockRequested();
}

void CDesktopLockWatcher::OnPrepareForSleep(bool sleeping) {
    if (sleeping) Q_EMIT LockRequested();
}

void CDesktopLockWatcher::OnSessionLock() { Q_EMIT LockRequested(); }
