#pragma once

#include <cstdint>
#include <deque>
#include <initializer_list>
#include <vector>

#include "generator/PasswordGenerator.h"

namespace keynest_test {

/// Returns the scripted numbers in turn (modulo the bound), then `next`,
/// which grows by `step` after each use (set step to 0 for a constant).
/// Records every bound it was asked for. Needs no Qt.
class FakeRandomSource final : public IRandomSource {
  public:
    FakeRandomSource() = default;
    FakeRandomSource(std::initializer_list<std::uint32_t> values) : script(values) {}

    std::uint32_t UniformBelow(std::uint32_t bound) override {
        bounds.push_back(bound);
        std::uint32_t value = 0;
        if (!script.empty()) {
            value = script.front();
            script.pop_front();
        } else {
            value = next;
            next += step;
        }
        return bound == 0 ? 0 : value % bound;
    }

    std::deque<std::uint32_t> script;
    std::uint32_t next = 0;
    std::uint32_t step = 1;
    std::vector<std::uint32_t> bounds;
};

}  // namespace keynest_test
