// The password generator: the rules over many real draws, exact results
// over scripted draws, small and empty sets, and the random source.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <deque>
#include <map>
#include <string>

#include "FakeRandomSource.h"
#include "generator/PasswordGenerator.h"

namespace {

using keynest_test::FakeRandomSource;

std::string FullSet() {
    std::string set;
    for (char c = '!'; c <= '~'; ++c) set.push_back(c);
    return set;
}

std::map<char, int> Occurrences(const std::string& text) {
    std::map<char, int> counts;
    for (const char c : text) ++counts[c];
    return counts;
}

int MostOccurrences(const std::string& text) {
    int most = 0;
    for (const auto& [c, n] : Occurrences(text)) most = std::max(most, n);
    return most;
}

TEST(PasswordGeneratorTest, DrawsFromTheOsSourceWithTheRulesKept) {
    COsRandomSource random;
    const std::string full = FullSet();
    std::array<int, 256> seen{};
    constexpr int kDraws = 20000;
    for (int i = 0; i < kDraws; ++i) {
        const std::string password = GeneratePassword(full, 16, 1, random);
        ASSERT_EQ(password.size(), 16u);
        ASSERT_LE(MostOccurrences(password), 2) << password;
        ASSERT_TRUE(IsInCharSet(password, full));
        // With AlphaNum 1 no result is made only of letters or only of digits.
        ASSERT_FALSE(IsAllAlpha(password)) << password;
        ASSERT_FALSE(IsAllNumeric(password)) << password;
        for (const char c : password) ++seen[static_cast<unsigned char>(c)];
    }
    // Every character is reachable and drawn about equally often: the
    // expectation is 16 * kDraws / 94 (about 3400, deviation about 58).
    const double expected = 16.0 * kDraws / static_cast<double>(full.size());
    for (const char c : full) {
        const int n = seen[static_cast<unsigned char>(c)];
        EXPECT_GT(n, expected * 0.9) << c;
        EXPECT_LT(n, expected * 1.1) << c;
    }
}

TEST(PasswordGeneratorTest, ScriptedDrawsGiveExactResults) {
    const struct {
        const char* set;
        unsigned length;
        int alphaNum;
        std::deque<std::uint32_t> script;  // then zeros
        const char* expected;
        std::vector<std::uint32_t> bounds;  // when checked
    } cases[] = {
        // Letters only or digits only: the fourth character is replaced.
        {"abcdefgh", 8, 1, {}, "aab1ccdd", {}},
        {"0123456789", 6, 1, {}, "001A22", {}},
        {"abcdefgh", 8, 0, {}, "aabbccdd", {}},
        // Letters with '#' but no digit, digits with '#' but no letter: unchanged.
        {"#abc", 6, 1, {}, "##aabb", {}},
        {"#123", 6, 1, {}, "##1122", {}},
        // AlphaNum counts only when it is 1.
        {"abcd", 4, 2, {}, "aabb", {}},
        // A character that occurs twice is no longer offered: the bounds shrink.
        {"ab", 4, 0, {}, "aabb", {2, 2, 1, 1}},
        {"ab", 4, 0, {1, 0, 0, 0}, "baab", {}},
        // A character offered twice in a set keeps the odds its two places give.
        {"aba", 2, 0, {2, 0}, "aa", {3, 3}},
        // A set too small for the Length relaxes the rule a step at a time;
        // every draw adds a character, so a source of zeros cannot stall it.
        {"ab", 16, 0, {}, "aabbabababababab", {2, 2, 1, 1, 2, 1, 2, 1, 2, 1, 2, 1, 2, 1, 2, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.set);
        FakeRandomSource random;
        random.script = c.script;
        random.step = 0;
        EXPECT_EQ(GeneratePassword(c.set, c.length, c.alphaNum, random), c.expected);
        if (!c.bounds.empty()) {
            EXPECT_EQ(random.bounds, c.bounds);
        }
    }
}

TEST(PasswordGeneratorTest, EmptySetGivesEmptyTextAtOnce) {
    FakeRandomSource random;
    EXPECT_EQ(GeneratePassword("", 16, 1, random), "");
    EXPECT_EQ(GeneratePassword("", 4, 0, random), "");
    EXPECT_TRUE(random.bounds.empty());
}

TEST(OsRandomSourceTest, UniformBelowHasNoModuloBias) {
    COsRandomSource random;
    EXPECT_EQ(random.UniformBelow(1), 0u);
    // A bound just above 2^31 rejects nearly half of the words; the values
    // must still fall in both halves of the range.
    const std::uint32_t big = 0x80000001u;
    int high = 0;
    for (int i = 0; i < 2000; ++i) {
        const std::uint32_t value = random.UniformBelow(big);
        ASSERT_LT(value, big);
        if (value >= big / 2) ++high;
    }
    EXPECT_GT(high, 850);
    EXPECT_LT(high, 1150);
}

}  // namespace
