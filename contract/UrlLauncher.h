#pragma once

#include <string>

/// Opens web addresses without the caller waiting for the desktop's handler.
class IUrlLauncher {
public:
    virtual ~IUrlLauncher() = default;
    /// Hands `url` to the launcher, which opens it without waiting.
    virtual void RequestLaunch(const std::string& url) = 0;
};
