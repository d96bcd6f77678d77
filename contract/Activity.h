#pragma once

#include <cstdint>

/// The inactivity watchdog as the features see it.
class IActivity {
public:
    virtual ~IActivity() = default;
    /// Restarts the inactive time: the user did something.
    virtual void SignalActivity() = 0;
    /// Sets the inactive duration in milliseconds (kInfinite: never) and
    /// restarts the wait.
    virtual void SetDogTimeout(std::uint32_t ms) = 0;
};
