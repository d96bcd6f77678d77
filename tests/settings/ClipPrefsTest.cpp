// The clipboard, desktop-lock and hide-password preferences: defaults,
// start-up corrections and the round trip through the store.

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "settings/Preferences.h"

namespace {

class ClipPrefsTest : public ::testing::Test, protected keynest_test::TempStore {};

TEST_F(ClipPrefsTest, ClipSecondsOutOfRangeIsCorrectedAndWrittenBack) {
    const struct {
        const char* stored;
        int used;
        const char* storedAfter;
    } cases[] = {{"0", 0, "0"}, {"3600", 3600, "3600"}, {"-1", 20, "20"}, {"3601", 20, "20"}};
    for (const auto& c : cases) {
        m_store.SetString("Prefs", "ClipSeconds", c.stored);
        EXPECT_EQ(LoadPreferences(m_store).clipSeconds, c.used) << c.stored;
        EXPECT_EQ(m_store.GetString("Prefs", "ClipSeconds", ""), c.storedAfter) << c.stored;
    }
}

TEST_F(ClipPrefsTest, DefaultsAndRoundTrip) {
    Preferences prefs = LoadPreferences(m_store);
    EXPECT_EQ(prefs.clipSeconds, 20);
    EXPECT_EQ(prefs.lockOnDesktop, 1);
    EXPECT_EQ(prefs.hidePwds, 0);
    prefs.clipSeconds = 7;
    prefs.lockOnDesktop = 0;
    prefs.hidePwds = 1;
    ASSERT_TRUE(SavePreferences(m_store, prefs));
    const Preferences loaded = LoadPreferences(m_store);
    EXPECT_EQ(loaded.clipSeconds, 7);
    EXPECT_EQ(loaded.lockOnDesktop, 0);
    EXPECT_EQ(loaded.hidePwds, 1);
}

}  // namespace
