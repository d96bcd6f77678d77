#pragma once

#include <QObject>
#include <QString>

#include <deque>

class QLocalServer;
class QLocalSocket;
class QTimer;

/// The channel by which a second start of Keynest asks the running one to
/// come to the front: a local socket in the private data folder. Any
/// process of the user may connect, so each connection gets one short
/// message within a short time and is then closed, and only a few are open
/// at once: idle or flooding clients cannot use up the program's files.
class CRunningInstance final : public QObject {
    Q_OBJECT

  public:
    /// Connections served at once; a new one beyond closes the oldest.
    static constexpr int kMaxConnections = 8;
    /// How long a connection may take to send its request.
    static constexpr int kRequestTimeoutMs = 500;

    explicit CRunningInstance(QObject* parent = nullptr);
    ~CRunningInstance() override;

    /// The running program: listens at `socketPath`. Only the holder of the
    /// single-instance lock calls it, so a socket left by a crash is removed.
    /// Should the server stop (it cannot accept a connection), it listens
    /// again a moment later.
    bool Listen(const QString& socketPath);

    /// A second start: asks the program listening at `socketPath` to come
    /// to the front, trying for two seconds. True when the request was
    /// delivered.
    static bool AskToRaise(const QString& socketPath);

  Q_SIGNALS:
    /// Another start asked this program to come to the front.
    void RaiseRequested();

  private:
    void AcceptConnections();
    void ReadRequest(QLocalSocket* socket);
    void Drop(QLocalSocket* socket);
    void ListenAgainWhenStopped();

    QLocalServer* m_server;
    QTimer* m_watch;
    QString m_socketPath;
    std::deque<QLocalSocket*> m_connections;  // oldest first
};

/// Brings `window` to the front, restored when minimised, and the modal
/// dialog open over it (the UnLock dialog, say) above it.
void RaiseProgramWindows(QWidget& window);
