#pragma once

#include <QObject>
#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class IShellOpener;

/// Hands link targets to the shell on worker threads, so that a slow
/// desktop handler never holds up the window, and brings each answer back
/// to the thread this object lives in. Destroying it waits for the opens
/// still running; answers that have not been delivered by then are dropped.
class CLinkOpener final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CLinkOpener)

  public:
    /// Receives whether the shell could open the target.
    using Done = std::function<void(bool opened)>;

    /// `shell` must outlive this object.
    explicit CLinkOpener(IShellOpener& shell, QObject* parent = nullptr);
    ~CLinkOpener() override;

    /// Starts opening `url` and returns at once; `done` runs later, on this
    /// object's thread.
    void Open(const std::string& url, Done done);

  private:
    struct Worker {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> finished;
    };

    void Deliver(int id, bool opened);
    /// Joins the workers that are done, so that they do not pile up.
    void JoinFinished();

    IShellOpener& m_shell;
    std::map<int, Done> m_pending;
    std::vector<Worker> m_workers;
    int m_nextId = 0;
};
