#include "platform/ManualResetEvent.h"

#include <chrono>

void CManualResetEvent::Set() {
    {
        std::lock_guard lock(m_hub->mutex);
        m_set = true;
    }
    m_hub->changed.notify_all();
}

void CManualResetEvent::Reset() {
    std::lock_guard lock(m_hub->mutex);
    m_set = false;
}

bool CManualResetEvent::IsSet() const {
    std::lock_guard lock(m_hub->mutex);
    return m_set;
}

int WaitForAny(std::initializer_list<CManualResetEvent*> events, std::uint32_t timeoutMs) {
    if (events.size() == 0) return kWaitTimeout;
    CEventHub& hub = *(*events.begin())->m_hub;
    auto firstSet = [&events]() {
        int index = 0;
        for (const CManualResetEvent* event : events) {
            if (event->m_set) return index;
            ++index;
        }
        return kWaitTimeout;
    };
    std::unique_lock lock(hub.mutex);
    if (timeoutMs == kInfinite) {
        hub.changed.wait(lock, [&] { return firstSet() != kWaitTimeout; });
        return firstSet();
    }
    hub.changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                         [&] { return firstSet() != kWaitTimeout; });
    return firstSet();
}
