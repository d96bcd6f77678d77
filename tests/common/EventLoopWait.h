#pragma once

#include <QCoreApplication>
#include <QEventLoop>
#include <chrono>
#include <functional>
#include <thread>

namespace keynest_test {

/// Runs the event loop until `done` holds or `limit` has passed; returns
/// whether it holds. Posted events and timers are delivered meanwhile.
inline bool WaitUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds limit = std::chrono::milliseconds(3000)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

/// Runs the event loop for `span`, for checks that something does NOT happen.
inline void RunEventsFor(std::chrono::milliseconds span) {
    WaitUntil([] { return false; }, span);
}

}  // namespace keynest_test
