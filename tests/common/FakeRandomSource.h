#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "PasswordGenerator.h"

namespace keynest_test {

/// A random source that hands out queued numbers (0 once the queue is
/// empty) and records every bound it was asked for.
class FakeRandomSource final : public IRandomSource {
public:
    FakeRandomSource() = default;
    FakeRandomSource(std::initializer_list<std::uint32_t> values) : m_values(values) {}

    void Queue(std::uint32_t value) { m_values.push_back(value); }
    const std::vector<std::uint32_t>& Bounds() const { return m_bounds; }

    std::uint32_t UniformBelow(std::uint32_t bound) override {
        m_bounds.push_back(bound);
        if (m_values.empty()) return 0;
        const std::uint32_t value = m_values.front();
        m_values.pop_front();
        return bound == 0 ? 0 : value % bound;
    }

private:
    std::deque<std::uint32_t> m_values;
    std::vector<std::uint32_t> m_bounds;
};

}  // namespace keynest_test
