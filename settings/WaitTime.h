#pragma once

#include <cstdint>

/// The wait time in milliseconds that means "never": no time-out, no lock.
inline constexpr std::uint32_t kInfinite = 0xFFFFFFFFu;
