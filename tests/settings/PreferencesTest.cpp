// Preferences with their start-up corrections, hints, column widths and
// window geometry.

#include <gtest/gtest.h>

#include <tuple>

#include "settings/Preferences.h"
#include "TestSupport.h"

namespace {

class PreferencesTest : public ::testing::Test, protected keynest_test::TempStore {};

TEST_F(PreferencesTest, OutOfRangeValuesAreCorrectedAndWrittenBack) {
    const struct {
        const char* name;
        const char* stored;
        int used;
        const char* storedAfter;
    } cases[] = {
        {"Length", "-3", 16, "16"},         {"Length", "65", 16, "16"},
        {"Length", " 12abc", 12, " 12abc"},  // in range: not rewritten
        {"MakePwdRadio", "2", 0, "0"},      {"MakePwdRadio", "-1", 0, "0"},
        {"DogTime", "0", 5, "5"},           {"DogTime", "1441", 5, "5"},
        {"DogTime", "99999999", 5, "5"},    {"DogTime", "1440", 1440, "1440"},
    };
    for (const auto& c : cases) {
        m_store.SetString("Prefs", c.name, c.stored);
        const Preferences prefs = LoadPreferences(m_store);
        const int used = std::string(c.name) == "Length"         ? static_cast<int>(prefs.length)
                         : std::string(c.name) == "MakePwdRadio" ? prefs.makePwdRadio
                                                                 : prefs.dogTimeMinutes;
        EXPECT_EQ(used, c.used) << c.name << "=" << c.stored;
        EXPECT_EQ(m_store.GetString("Prefs", c.name, ""), c.storedAfter)
            << c.name << "=" << c.stored;
    }
}

TEST_F(PreferencesTest, ShortCharacterSetIsReplacedInMemoryOnly) {
    m_store.SetString("Prefs", "PwdChars", "abc");
    EXPECT_EQ(LoadPreferences(m_store).pwdChars, FullCharSet());
    EXPECT_EQ(m_store.GetString("Prefs", "PwdChars", ""), "abc");
    m_store.SetString("Prefs", "PwdChars", "abcd");
    EXPECT_EQ(LoadPreferences(m_store).pwdChars, "abcd");
}

TEST_F(PreferencesTest, SavedPreferencesLoadBack) {
    Preferences prefs;
    prefs.length = 9;
    prefs.pwdChars = "abcdef123";
    prefs.dogTimeMinutes = 30;
    ASSERT_TRUE(SavePreferences(m_store, prefs));
    const Preferences loaded = LoadPreferences(m_store);
    EXPECT_EQ(std::tie(loaded.length, loaded.pwdChars, loaded.dogTimeMinutes),
              std::tie(prefs.length, prefs.pwdChars, prefs.dogTimeMinutes));
}

TEST_F(PreferencesTest, ColumnWidthsFollowTheFitRule) {
    EXPECT_EQ(LoadColumnWidths(m_store, 600), (std::array<int, 6>{90, 90, 90, 90, 90, 90}));
    SaveColumnWidths(m_store, {100, 100, 100, 100, 100, 100});
    EXPECT_EQ(LoadColumnWidths(m_store, 600), (std::array<int, 6>{100, 100, 100, 100, 100, 100}));
    SaveColumnWidths(m_store, {100, 100, 100, 100, 100, 150});  // sum 650
    EXPECT_EQ(LoadColumnWidths(m_store, 600)[5], 90);
    SaveColumnWidths(m_store, {0, 100, 100, 100, 100, 100});
    EXPECT_EQ(LoadColumnWidths(m_store, 600)[1], 90);
    SaveColumnWidths(m_store, {601, 1, 1, 1, 1, 1});
    EXPECT_EQ(LoadColumnWidths(m_store, 600)[0], 90);
}

TEST_F(PreferencesTest, WindowGeometryUsesStoredRectOnlyWhenItFits) {
    WindowGeometry g = LoadWindowGeometry(m_store, 800, 570);
    EXPECT_EQ(g.cx, 759);
    EXPECT_EQ(g.cy, 541);
    EXPECT_EQ(g.x, 20);
    EXPECT_EQ(g.y, 14);
    EXPECT_EQ(m_store.GetInt("Screen", "cx", 0), 759);
    EXPECT_EQ(m_store.GetInt("Screen", "y", 0), 14);

    SaveWindowGeometry(m_store, {-8, -8, 816, 586});  // a maximised window
    EXPECT_EQ(m_store.GetInt("Screen", "x", -1), 0);
    g = LoadWindowGeometry(m_store, 800, 570);
    EXPECT_EQ(g.cx, 759);  // wider than the area: centred default again

    SaveWindowGeometry(m_store, {700, 500, 300, 200});  // partly outside is allowed
    g = LoadWindowGeometry(m_store, 800, 570);
    EXPECT_EQ(g.x, 700);
    EXPECT_EQ(g.cx, 300);
}

}  // namespace
