#include "app/RunningInstance.h"

#include <QApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

namespace {

constexpr char kRaiseRequest[] = "raise\n";
constexpr int kTimeoutMs = 1000;

}  // namespace

CRunningInstance::CRunningInstance(QObject* parent)
    : QObject(parent), m_server(new QLocalServer(this)) {
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains(kRaiseRequest)) Q_EMIT RaiseRequested();
                socket->disconnectFromServer();
            });
        }
    });
}

CRunningInstance::~CRunningInstance() = default;

bool CRunningInstance::Listen(const QString& socketPath) {
    if (m_server->listen(socketPath)) return true;
    QLocalServer::removeServer(socketPath);
    return m_server->listen(socketPath);
}

bool CRunningInstance::AskToRaise(const QString& socketPath) {
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(kTimeoutMs)) return false;
    socket.write(kRaiseRequest);
    return socket.waitForBytesWritten(kTimeoutMs);
}

void RaiseProgramWindows(QWidget& window) {
    if (window.isMinimized()) window.showNormal();
    window.raise();
    window.activateWindow();
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != &window) {
        modal->raise();
        modal->activateWindow();
    }
}
