#pragma once

// The one check the fuzzers share: a property that does not hold stops the
// run like a crash, so libFuzzer keeps the input that broke it.

#include <cstdio>
#include <cstdlib>

inline void Require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}
