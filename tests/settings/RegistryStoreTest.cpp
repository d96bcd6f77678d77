#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "RegistryStore.h"
#include "TestSupport.h"

namespace {

class RegistryStoreTest : public ::testing::Test {
protected:
    keynest_test::TempDir m_dir;
    std::string m_file = m_dir.File("data/Keynest/keynest.sqlite");

    bool Open(CRegistryStore& store, bool* created = nullptr) {
        return store.OpenBranch(CRegistryStore::kBranchPath, CRegistryStore::kRootKey, created);
    }
};

TEST_F(RegistryStoreTest, CreatesPrivateFileAndTellsWhetherBranchIsNew) {
    bool created = false;
    {
        CRegistryStore store(m_file);
        ASSERT_TRUE(Open(store, &created));
        EXPECT_TRUE(created);
    }
    struct stat info {};
    ASSERT_EQ(::stat(m_file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    ASSERT_EQ(::stat(m_dir.File("data/Keynest").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    CRegistryStore again(m_file);
    ASSERT_TRUE(Open(again, &created));
    EXPECT_FALSE(created);
}

TEST_F(RegistryStoreTest, ValuesRoundTripWhateverTheirLengthAndBytes) {
    CRegistryStore store(m_file);
    ASSERT_TRUE(Open(store));
    std::string everyByte;
    for (int c = 1; c < 256; ++c) everyByte += static_cast<char>(c);
    const std::string longText(5000, 'x');
    ASSERT_TRUE(store.SetString("List", "Location0", longText));
    ASSERT_TRUE(store.SetString("List", "Note0", everyByte));
    ASSERT_TRUE(store.SetInt("Prefs", "Length", -12));

    CRegistryStore reopened(m_file);
    ASSERT_TRUE(Open(reopened));
    EXPECT_EQ(reopened.GetString("List", "Location0", "default"), longText);
    EXPECT_EQ(reopened.GetString("List", "Note0", "default"), everyByte);
    EXPECT_EQ(reopened.GetInt("Prefs", "Length", 16), -12);
    EXPECT_EQ(reopened.GetString("List", "Missing", "default"), "default");
    EXPECT_EQ(reopened.GetInt("Nowhere", "Missing", 7), 7);
}

TEST_F(RegistryStoreTest, IntegersAreScannedLikeDecimalText) {
    CRegistryStore store(m_file);
    ASSERT_TRUE(Open(store));
    const struct {
        const char* stored;
        int expected;
    } cases[] = {{" 12abc", 12}, {"-3", -3}, {"17", 17}, {"abc", 99}, {"", 99}, {"99999999999", 99}};
    for (const auto& c : cases) {
        store.SetString("Prefs", "Value", c.stored);
        EXPECT_EQ(store.GetInt("Prefs", "Value", 99), c.expected) << '"' << c.stored << '"';
    }
}

TEST_F(RegistryStoreTest, DeleteSectionRemovesItAndItsSubsectionsOnly) {
    CRegistryStore store(m_file);
    ASSERT_TRUE(Open(store));
    store.SetString("Prefs", "a", "1");
    store.SetString("Prefs\\Sub", "b", "2");
    store.SetString("PrefsOther", "c", "3");
    EXPECT_EQ(store.DeleteSection("Prefs"), 0);
    EXPECT_EQ(store.GetString("Prefs", "a", "gone"), "gone");
    EXPECT_EQ(store.GetString("Prefs\\Sub", "b", "gone"), "gone");
    EXPECT_EQ(store.GetString("PrefsOther", "c", "gone"), "3");
}

TEST_F(RegistryStoreTest, TransactionsStoreAllOrNothingAndNest) {
    CRegistryStore store(m_file);
    ASSERT_TRUE(Open(store));
    store.SetString("List", "Location0", "old");
    {
        CStoreTransaction outer(store);
        store.SetString("Keynest", "Password", "new");
        {
            CStoreTransaction inner(store);
            store.SetString("List", "Location0", "new");
            EXPECT_TRUE(inner.Commit());
        }
        // Outer group abandoned: the inner commit goes too.
    }
    EXPECT_EQ(store.GetString("List", "Location0", ""), "old");
    EXPECT_EQ(store.GetString("Keynest", "Password", "none"), "none");

    {
        CStoreTransaction outer(store);
        store.SetString("List", "Location0", "kept");
        EXPECT_TRUE(outer.Commit());
    }
    EXPECT_EQ(store.GetString("List", "Location0", ""), "kept");
}

TEST_F(RegistryStoreTest, DamagedFileIsReportedAndLeftUntouched) {
    ::mkdir(m_dir.File("data").c_str(), 0700);
    ::mkdir(m_dir.File("data/Keynest").c_str(), 0700);
    const std::string garbage(8192, 'G');
    std::ofstream(m_file, std::ios::binary) << garbage;

    CRegistryStore store(m_file);
    EXPECT_FALSE(Open(store));
    EXPECT_FALSE(store.LastError().empty());
    EXPECT_FALSE(store.SetString("Prefs", "Length", "12"));
    EXPECT_EQ(store.GetInt("Prefs", "Length", 16), 16);

    std::ifstream in(m_file, std::ios::binary);
    const std::string after((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(after, garbage);
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
    {
        CRegistryStore store(m_file);
        ASSERT_TRUE(Open(store));
    }
    constexpr int kWrites = 200;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        CRegistryStore store(m_file);
        bool ok = Open(store);
        for (int i = 0; ok && i < kWrites; ++i) {
            CStoreTransaction group(store);
            ok = store.SetInt("Child", "v" + std::to_string(i), i) && group.Commit();
        }
        ::_exit(ok ? 0 : 1);
    }
    CRegistryStore store(m_file);
    ASSERT_TRUE(Open(store));
    bool ok = true;
    for (int i = 0; ok && i < kWrites; ++i) {
        CStoreTransaction group(store);
        ok = store.SetInt("Parent", "v" + std::to_string(i), i) && group.Commit();
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(ok);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    for (int i = 0; i < kWrites; ++i) {
        EXPECT_EQ(store.GetInt("Child", "v" + std::to_string(i), -1), i);
        EXPECT_EQ(store.GetInt("Parent", "v" + std::to_string(i), -1), i);
    }
}

}  // namespace
