#include "extras/LinkOpener.h"

#include <algorithm>

#include "platform/ShellOpener.h"

CLinkOpener::CLinkOpener(IShellOpener& shell, QObject* parent) : QObject(parent), m_shell(shell) {}

CLinkOpener::~CLinkOpener() {
    // The workers post to this object: it must stay whole until they end.
    for (Worker& worker : m_workers) worker.thread.join();
}

void CLinkOpener::Open(const std::string& url, Done done) {
    JoinFinished();
    const int id = ++m_nextId;
    m_pending.emplace(id, std::move(done));
    auto finished = std::make_shared<std::atomic<bool>>(false);
    std::thread thread([this, url, id, finished] {
        const bool opened = m_shell.Open(url);
        QMetaObject::invokeMethod(
            this, [this, id, opened] { Deliver(id, opened); }, Qt::QueuedConnection);
        finished->store(true);
    });
    m_workers.push_back(Worker{std::move(thread), std::move(finished)});
}

void CLinkOpener::Deliver(int id, bool opened) {
    const auto found = m_pending.find(id);
    if (found == m_pending.end()) return;
    const Done done = std::move(found->second);
    m_pending.erase(found);
    done(opened);
}

void CLinkOpener::JoinFinished() {
    const auto done = std::partition(m_workers.begin(), m_workers.end(),
                                     [](const Worker& worker) { return !worker.finished->load(); });
    for (auto it = done; it != m_workers.end(); ++it) it->thread.join();
    m_workers.erase(done, m_workers.end());
}
