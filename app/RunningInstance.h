#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

/// The channel by which a second start of Keynest asks the running one to
/// come to the front: a local socket in the private data folder.
class CRunningInstance final : public QObject {
    Q_OBJECT

  public:
    explicit CRunningInstance(QObject* parent = nullptr);
    ~CRunningInstance() override;

    /// The running program: listens at `socketPath`. Only the holder of the
    /// single-instance lock calls it, so a socket left by a crash is removed.
    bool Listen(const QString& socketPath);

    /// A second start: asks the program listening at `socketPath` to come
    /// to the front. True when the request was delivered.
    static bool AskToRaise(const QString& socketPath);

  Q_SIGNALS:
    /// Another start asked this program to come to the front.
    void RaiseRequested();

  private:
    QLocalServer* m_server;
};

/// Brings `window` to the front, restored when minimised, and the modal
/// dialog open over it (the UnLock dialog, say) above it.
void RaiseProgramWindows(QWidget& window);
