// Moving an old INI file into the settings store.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "TestSupport.h"

namespace {

class IniMigrationTest : public ::testing::Test, protected keynest_test::TempStore {
  protected:
    std::string WriteIni(const std::string& text) {
        const std::string path = m_dir.File("Keynest.INI");
        std::ofstream(path) << text;
        return path;
    }
};

TEST_F(IniMigrationTest, CopiesSectionsAndValuesAsTheyStand) {
    m_store.ImportIniFile(
        WriteIni("Length=5\n"  // before any section: lost
                 "[Prefs]\n"
                 "Length=12\n"
                 "  Launch = 1  \n"  // blanks around '=' stay part of name and value
                 "; a comment\n"
                 "\n"
                 "[ Screen ]\n"
                 "x=40\n"
                 "[a]b]\n"  // neither a section nor a value line
                 "y=50\n"));
    EXPECT_EQ(m_store.GetInt("Prefs", "Length", 16), 12);
    EXPECT_EQ(m_store.GetString("Prefs", "Launch ", "none"), " 1");
    EXPECT_EQ(m_store.GetString("Prefs", "Launch", "none"), "none");
    EXPECT_EQ(m_store.GetInt("Screen", "x", 0), 40);
    EXPECT_EQ(m_store.GetInt("Screen", "y", 0), 50);
    EXPECT_EQ(m_store.GetString("", "Length", "none"), "none");
}

TEST_F(IniMigrationTest, LongLinesAreReadInPiecesAndAMissingFileOrAFifoWritesNothing) {
    m_store.ImportIniFile(m_dir.File("absent.INI"));
    // A FIFO has no writer: opening it for reading would wait for ever.
    ASSERT_EQ(::mkfifo(m_dir.File("fifo.INI").c_str(), 0600), 0);
    m_store.ImportIniFile(m_dir.File("fifo.INI"));
    EXPECT_EQ(m_store.GetInt("Prefs", "Length", 16), 16);

    const std::string longValue(700, 'v');
    m_store.ImportIniFile(WriteIni("[Prefs]\nPwdChars=" + longValue + "\n"));
    // The first piece holds 519 characters: "PwdChars=" and 510 of the value.
    EXPECT_EQ(m_store.GetString("Prefs", "PwdChars", ""), std::string(510, 'v'));
}

}  // namespace
