#include "generator/PasswordGenerator.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <vector>

namespace {

std::size_t ByteIndex(char c) { return static_cast<unsigned char>(c); }

// How often each byte value occurs in the password drawn so far, and the
// fewest occurrences among the distinct characters of the set.
class CDrawCounts final {
  public:
    explicit CDrawCounts(const std::string& charSet) {
        for (const char c : charSet) m_inSet[ByteIndex(c)] = true;
    }
    // The counts tell which characters the password holds.
    ~CDrawCounts() { explicit_bzero(m_counts.data(), sizeof m_counts); }
    CDrawCounts(const CDrawCounts&) = delete;
    CDrawCounts& operator=(const CDrawCounts&) = delete;

    unsigned Count(char c) const { return m_counts[ByteIndex(c)]; }
    void Add(char c) { ++m_counts[ByteIndex(c)]; }

    unsigned Fewest() const {
        unsigned fewest = ~0u;
        for (std::size_t i = 0; i < m_counts.size(); ++i) {
            if (m_inSet[i]) fewest = std::min(fewest, m_counts[i]);
        }
        return fewest;
    }

  private:
    std::array<unsigned, 256> m_counts{};
    std::array<bool, 256> m_inSet{};
};

// A character may be added while it occurs fewer than twice. A set too
// small for the length would leave no character allowed, so a third (and
// further) occurrence is allowed once every character of the set has
// reached that count: the rule is relaxed only as far as the length needs.
bool MayAdd(const CDrawCounts& counts, char c, unsigned fewest) {
    const unsigned count = counts.Count(c);
    return count < 2 || count <= fewest;
}

}  // namespace

std::string GeneratePassword(const std::string& charSet, unsigned length, int alphaNum,
                             IRandomSource& random) {
    std::string result;
    if (charSet.empty()) return result;
    result.reserve(length);

    CDrawCounts counts(charSet);
    std::vector<std::size_t> allowed;
    allowed.reserve(charSet.size());
    while (result.size() < length) {
        // Drawing uniformly among the positions whose character may still be
        // added gives exactly the odds of drawing over the whole set and
        // drawing again on a refused character, but ends after `length` draws.
        const unsigned fewest = counts.Fewest();
        allowed.clear();
        for (std::size_t i = 0; i < charSet.size(); ++i) {
            if (MayAdd(counts, charSet[i], fewest)) allowed.push_back(i);
        }
        const auto pick = random.UniformBelow(static_cast<std::uint32_t>(allowed.size()));
        const char c = charSet[allowed[std::min<std::size_t>(pick, allowed.size() - 1)]];
        result.push_back(c);
        counts.Add(c);
    }

    if (alphaNum == 1 && result.size() > 3) {
        if (IsAllNumeric(result)) {
            result[3] = 'A';
        } else if (IsAllAlpha(result)) {
            result[3] = '1';
        }
    }
    return result;
}
