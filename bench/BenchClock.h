#pragma once

// Timing helpers of the plain benchmark programs (bench_filter, bench_health).

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace bench_clock {

/// CPU time of this thread in milliseconds: on a shared machine other
/// programs' work does not count against what is measured.
inline double ThreadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

inline double Milliseconds(std::chrono::steady_clock::duration span) {
    return std::chrono::duration<double, std::milli>(span).count();
}

/// Prints the median and the slowest of `times` (milliseconds); `runs`
/// names what was counted ("keystrokes").
inline void Report(const char* what, std::vector<double> times, const char* runs) {
    std::sort(times.begin(), times.end());
    std::printf("%-40s median %8.3f ms   slowest %8.3f ms   (%zu %s)\n", what, times[times.size() / 2],
                times.back(), times.size(), runs);
}

}  // namespace bench_clock
