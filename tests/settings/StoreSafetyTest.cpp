// The store as a careful user's bad day would try it: a damaged file beside
// a leftover write-ahead log, names written in another case.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "TestSupport.h"
#include "settings/RegistryStore.h"
#include "settings/SingleInstanceLock.h"

namespace {

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Open(CRegistryStore& store) {
    return store.OpenBranch(CRegistryStore::kBranchPath, CRegistryStore::kRootKey, nullptr);
}

class StoreSafetyTest : public ::testing::Test {
  protected:
    keynest_test::TempDir m_dir;
    std::string m_file = m_dir.File("keynest.sqlite");
};

TEST_F(StoreSafetyTest, DamagedFileWithLeftoverLogIsLeftAsFound) {
    {
        CRegistryStore store(m_file);
        ASSERT_TRUE(Open(store));
        CStoreTransaction transaction(store);
        for (int i = 0; i < 2000; ++i) {
            ASSERT_TRUE(store.SetString("List", "Note" + std::to_string(i), std::string(200, 'n')));
        }
        ASSERT_TRUE(transaction.Commit());
    }
    // A crash leaves a log behind: a connection that ends without folding it in.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(m_file.c_str(), &db), SQLITE_OK);
    sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    ASSERT_EQ(sqlite3_exec(db, "UPDATE settings SET text='late' WHERE name='Note1999'", nullptr,
                           nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    ASSERT_TRUE(std::filesystem::exists(m_file + "-wal"));
    {
        // Damage pages in the middle of the file.
        std::fstream file(m_file, std::ios::binary | std::ios::in | std::ios::out);
        file.seekp(static_cast<std::streamoff>(std::filesystem::file_size(m_file) / 2));
        file << std::string(8192, '\x55');
    }
    const std::string before[] = {Bytes(m_file), Bytes(m_file + "-wal"), Bytes(m_file + "-shm")};

    {
        CRegistryStore refused(m_file);
        EXPECT_FALSE(Open(refused));
        EXPECT_TRUE(refused.IsDamaged());
        EXPECT_NE(refused.LastError().find("damaged"), std::string::npos);
    }

    EXPECT_TRUE(Bytes(m_file) == before[0]);
    EXPECT_TRUE(Bytes(m_file + "-wal") == before[1]);
    EXPECT_TRUE(Bytes(m_file + "-shm") == before[2]);
}

TEST_F(StoreSafetyTest, NamesMatchWithoutCaseAndKeepTheirFirstSpelling) {
    CRegistryStore store(m_file);
    ASSERT_TRUE(Open(store));
    ASSERT_TRUE(store.SetInt("prefs", "launch", 1));
    ASSERT_TRUE(store.SetInt("PREFS", "Launch", 2));
    EXPECT_EQ(store.GetInt("Prefs", "LAUNCH", 0), 2);
    ASSERT_EQ(store.DeleteSection("PrEfS"), 0);
    EXPECT_EQ(store.GetInt("prefs", "launch", 0), 0);

    // An INI file written by hand in another case sets the program's values.
    std::ofstream(m_dir.File("Keynest.INI")) << "[prefs]\nlaunch=1\n";
    store.ImportIniFile(m_dir.File("Keynest.INI"));
    EXPECT_EQ(store.GetInt("Prefs", "Launch", 0), 1);
}

TEST_F(StoreSafetyTest, ALockFileThatCannotBeMadeIsReported) {
    CSingleInstanceLock lock(m_dir.File("missing-folder/keynest.lock"), "");
    EXPECT_FALSE(lock.IsHeld());
    EXPECT_FALSE(lock.IsHeldElsewhere());
    EXPECT_NE(lock.Error().find("missing-folder"), std::string::npos);
}

}  // namespace
