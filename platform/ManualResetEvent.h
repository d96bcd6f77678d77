#pragma once

#include <condition_variable>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <mutex>

#include "settings/WaitTime.h"

/// WaitForAny's result when the time ran out.
inline constexpr int kWaitTimeout = -1;

/// Mutex and condition shared by a group of events, so that one thread can
/// sleep until any of them is set.
class CEventHub final {
public:
    std::mutex mutex;
    std::condition_variable changed;
};

/// A manual-reset event: stays set until Reset(). Events that are waited
/// for together must share one hub.
class CManualResetEvent final {
public:
    explicit CManualResetEvent(std::shared_ptr<CEventHub> hub) : m_hub(std::move(hub)) {}
    CManualResetEvent(const CManualResetEvent&) = delete;
    CManualResetEvent& operator=(const CManualResetEvent&) = delete;

    void Set();
    void Reset();
    bool IsSet() const;

private:
    friend int WaitForAny(std::initializer_list<CManualResetEvent*> events, std::uint32_t timeoutMs);
    std::shared_ptr<CEventHub> m_hub;
    bool m_set = false;
};

/// Sleeps until one of `events` is set or `timeoutMs` has passed. Returns
/// the index of the first set event in list order, or kWaitTimeout.
int WaitForAny(std::initializer_list<CManualResetEvent*> events, std::uint32_t timeoutMs);
