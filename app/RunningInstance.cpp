#include "app/RunningInstance.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace {

constexpr char kRaiseRequest[] = "raise\n";
// A request is short; anything longer is not one.
constexpr qint64 kMaxRequestBytes = 64;
constexpr int kTimeoutMs = 1000;
constexpr int kListenCheckMs = 250;
// A second start keeps trying this long, so that it outlasts a moment in
// which the running program listens again.
constexpr int kAskForMs = 2000;
constexpr int kAskAgainMs = 100;

}  // namespace

CRunningInstance::CRunningInstance(QObject* parent)
    : QObject(parent), m_server(new QLocalServer(this)), m_watch(new QTimer(this)) {
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // Also the listen backlog: waiting clients beyond it are refused by the system.
    m_server->setMaxPendingConnections(kMaxConnections);
    connect(m_server, &QLocalServer::newConnection, this, &CRunningInstance::AcceptConnections);
    m_watch->setInterval(kListenCheckMs);
    connect(m_watch, &QTimer::timeout, this, &CRunningInstance::ListenAgainWhenStopped);
}

CRunningInstance::~CRunningInstance() = default;

bool CRunningInstance::Listen(const QString& socketPath) {
    m_socketPath = socketPath;
    m_watch->start();
    if (m_server->listen(socketPath)) return true;
    QLocalServer::removeServer(socketPath);
    return m_server->listen(socketPath);
}

void CRunningInstance::ListenAgainWhenStopped() {
    if (!m_server->isListening()) Listen(m_socketPath);
}

void CRunningInstance::AcceptConnections() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        // The newest connection is the likeliest to be a real second start.
        if (static_cast<int>(m_connections.size()) >= kMaxConnections) Drop(m_connections.front());
        m_connections.push_back(socket);
        socket->setReadBufferSize(kMaxRequestBytes);
        auto* deadline = new QTimer(socket);
        deadline->setSingleShot(true);
        connect(deadline, &QTimer::timeout, this, [this, socket] { Drop(socket); });
        deadline->start(kRequestTimeoutMs);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { ReadRequest(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] { Drop(socket); });
        // Bytes that came with the connection raise no readyRead of their own.
        if (socket->bytesAvailable() > 0) ReadRequest(socket);
    }
}

void CRunningInstance::ReadRequest(QLocalSocket* socket) {
    const QByteArray received = socket->peek(kMaxRequestBytes);
    const bool asked = received.contains(kRaiseRequest);
    if (!asked && received.size() < kMaxRequestBytes) return;  // more may come before the deadline
    Drop(socket);
    if (asked) Q_EMIT RaiseRequested();
}

void CRunningInstance::Drop(QLocalSocket* socket) {
    const auto found = std::find(m_connections.begin(), m_connections.end(), socket);
    if (found == m_connections.end()) return;
    m_connections.erase(found);
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
}

bool CRunningInstance::AskToRaise(const QString& socketPath) {
    QElapsedTimer asking;
    asking.start();
    for (;;) {
        QLocalSocket socket;
        socket.connectToServer(socketPath);
        if (socket.waitForConnected(kTimeoutMs)) {
            socket.write(kRaiseRequest);
            return socket.waitForBytesWritten(kTimeoutMs);
        }
        if (asking.elapsed() >= kAskForMs) return false;
        QThread::msleep(kAskAgainMs);
    }
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
