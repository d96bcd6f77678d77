// The settings database: private file, values of any length and byte,
// sections, transactions, damaged or unusable files and two writers.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "settings/RegistryStore.h"
#include "TestSupport.h"

namespace {

bool Open(CRegistryStore& store, bool* created = nullptr) {
    return store.OpenBranch(CRegistryStore::kBranchPath, CRegistryStore::kRootKey, created);
}

class RegistryStoreTest : public ::testing::Test, protected keynest_test::TempStore {};

TEST_F(RegistryStoreTest, CreatesPrivateFileAndTellsWhetherBranchIsNew) {
    const std::string file = m_dir.File("data/Keynest/keynest.sqlite");
    bool created = false;
    {
        CRegistryStore store(file);
        ASSERT_TRUE(Open(store, &created));
        EXPECT_TRUE(created);
    }
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    ASSERT_EQ(::stat(m_dir.File("data/Keynest").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    CRegistryStore again(file);
    ASSERT_TRUE(Open(again, &created));
    EXPECT_FALSE(created);
}

TEST_F(RegistryStoreTest, ValuesRoundTripWhateverTheirLengthAndBytes) {
    std::string everyByte;
    for (int c = 1; c < 256; ++c) everyByte += static_cast<char>(c);
    const std::string longText(5000, 'x');
    ASSERT_TRUE(m_store.SetString("List", "Location0", longText));
    ASSERT_TRUE(m_store.SetString("List", "Note0", everyByte));
    ASSERT_TRUE(m_store.SetInt("Prefs", "Length", -12));

    CRegistryStore reopened(m_store.DatabasePath());
    ASSERT_TRUE(Open(reopened));
    EXPECT_EQ(reopened.GetString("List", "Location0", "default"), longText);
    EXPECT_EQ(reopened.GetString("List", "Note0", "default"), everyByte);
    EXPECT_EQ(reopened.GetInt("Prefs", "Length", 16), -12);
    EXPECT_EQ(reopened.GetString("List", "Missing", "default"), "default");
    EXPECT_EQ(reopened.GetInt("Nowhere", "Missing", 7), 7);
}

TEST_F(RegistryStoreTest, IntegersAreScannedLikeDecimalText) {
    const std::pair<const char*, int> cases[] = {{" 12abc", 12}, {"-3", -3}, {"17", 17},
                                                 {"abc", 99},    {"", 99},   {"99999999999", 99}};
    for (const auto& [stored, expected] : cases) {
        m_store.SetString("Prefs", "Value", stored);
        EXPECT_EQ(m_store.GetInt("Prefs", "Value", 99), expected) << '"' << stored << '"';
    }
}

TEST_F(RegistryStoreTest, DeleteSectionRemovesItAndItsSubsectionsOnly) {
    m_store.SetString("Prefs", "a", "1");
    m_store.SetString("Prefs\\Sub", "b", "2");
    m_store.SetString("PrefsOther", "c", "3");
    EXPECT_EQ(m_store.DeleteSection("Prefs"), 0);
    EXPECT_EQ(m_store.GetString("Prefs", "a", "gone"), "gone");
    EXPECT_EQ(m_store.GetString("Prefs\\Sub", "b", "gone"), "gone");
    EXPECT_EQ(m_store.GetString("PrefsOther", "c", "gone"), "3");
}

TEST_F(RegistryStoreTest, TransactionsStoreAllOrNothingAndNest) {
    m_store.SetString("List", "Location0", "old");
    {
        CStoreTransaction outer(m_store);
        m_store.SetString("Keynest", "Password", "new");
        {
            CStoreTransaction inner(m_store);
            m_store.SetString("List", "Location0", "new");
            EXPECT_TRUE(inner.Commit());
        }
        // Outer group abandoned: the inner commit goes too.
    }
    EXPECT_EQ(m_store.GetString("List", "Location0", ""), "old");
    EXPECT_EQ(m_store.GetString("Keynest", "Password", "none"), "none");
    {
        CStoreTransaction outer(m_store);
        m_store.SetString("List", "Location0", "kept");
        EXPECT_TRUE(outer.Commit());
    }
    EXPECT_EQ(m_store.GetString("List", "Location0", ""), "kept");
}

TEST_F(RegistryStoreTest, UnusableFolderFailsWithAReason) {
    // A file where the data folder should be: no rights can create below it.
    std::ofstream(m_dir.File("blocker")) << "x";
    CRegistryStore store(m_dir.File("blocker/Keynest/keynest.sqlite"));
    EXPECT_FALSE(Open(store));
    EXPECT_NE(store.LastError().find("blocker"), std::string::npos);
    EXPECT_FALSE(store.SetInt("Prefs", "Dog", 0));
    EXPECT_EQ(store.GetInt("Prefs", "Dog", 1), 1);
}

TEST_F(RegistryStoreTest, TwoProcessesWritingAtOnceLoseNothing) {
    // A file of its own, with no connection open while the process forks.
    const std::string file = m_dir.File("shared.sqlite");
    constexpr int kWrites = 200;
    const auto writeAll = [&file](const char* section) {
        CRegistryStore store(file);
        bool ok = Open(store);
        for (int i = 0; ok && i < kWrites; ++i) {
            CStoreTransaction group(store);
            ok = store.SetInt(section, "v" + std::to_string(i), i) && group.Commit();
        }
        return ok;
    };
    ASSERT_TRUE(writeAll("Created"));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) ::_exit(writeAll("Child") ? 0 : 1);
    EXPECT_TRUE(writeAll("Parent"));
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    CRegistryStore store(file);
    ASSERT_TRUE(Open(store));
    for (int i = 0; i < kWrites; ++i) {
        EXPECT_EQ(store.GetInt("Child", "v" + std::to_string(i), -1), i);
        EXPECT_EQ(store.GetInt("Parent", "v" + std::to_string(i), -1), i);
    }
}

}  // namespace
