// What the stored Items survive: a load that stops early, a load that cannot
// take its snapshot, deleted Items, rows the load could not read back.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "TestSupport.h"
#include "settings/StoreNames.h"
#include "vault/ItemList.h"
#include "vault/ItemStore.h"
#include "vault/PasswordSealer.h"
#include "vault/SealingKey.h"
#include "vault/Vault.h"

namespace {

const std::string kPassword = "unlock me";

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class StoreSafetyTest : public ::testing::Test, protected keynest_test::TempStore {
  protected:
    void Fill(CMemoryItemList& list, int count) {
        for (int i = 0; i < count; ++i) {
            const int row = list.AppendRow("site" + std::to_string(i));
            for (int column = kColUrl; column < kItemColumnCount; ++column) {
                list.SetText(row, column, "v" + std::to_string(i));
            }
        }
    }
    std::string Value(const char* section, const char* name, int index) {
        return m_store.GetString(section, name + std::to_string(index), "");
    }

    CPasswordSealer m_sealer;
    CItemStore m_items{m_store, m_sealer};
};

TEST_F(StoreSafetyTest, ItemsBehindADamagedOneAreKeptAndComeBack) {
    CMemoryItemList list;
    Fill(list, 5);
    ASSERT_TRUE(m_items.SaveAllItems(list, kPassword));
    ASSERT_TRUE(m_store.SetString(StoreNames::kList, "Pwd2", "DAMAGED"));
    const std::string sealedNote4 = Value(StoreNames::kList, "Note", 4);

    CMemoryItemList shown;
    const ItemLoadResult loaded = m_items.LoadAllItems(shown, kPassword);
    EXPECT_TRUE(loaded.ok);
    EXPECT_EQ(shown.RowCount(), 2);
    EXPECT_EQ(loaded.unread, 3);

    // The next save keeps the three, sealed as they were, aside.
    ASSERT_TRUE(m_items.SaveAllItems(shown, kPassword));
    EXPECT_EQ(Value(StoreNames::kKeptItems, "Pwd", 0), "DAMAGED");
    EXPECT_EQ(Value(StoreNames::kKeptItems, "Note", 2), sealedNote4);
    EXPECT_EQ(Value(StoreNames::kList, "Location", 3), "");

    // The two whole ones open under the password; the damaged one stays.
    CSealingKey key(kPassword);
    int opened = 0;
    int remaining = 0;
    ASSERT_TRUE(m_items.OpenKeptItems(StoreNames::kKeptItems, key, shown, opened, remaining));
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(remaining, 1);
    EXPECT_EQ(shown.GetText(3, kColLocation), "site4");
}

TEST_F(StoreSafetyTest, LoadWithoutSnapshotReadsNothingAndNoSaveFollows) {
    CVault vault(m_store);
    ASSERT_TRUE(vault.ChooseFirstPassword(kPassword));
    CMemoryItemList list;
    Fill(list, 3);
    ASSERT_TRUE(vault.SaveAllItems(list));

    CRegistryStore other(m_store.DatabasePath());
    ASSERT_TRUE(other.OpenBranch(CRegistryStore::kBranchPath, CRegistryStore::kRootKey, nullptr));
    ASSERT_TRUE(other.BeginTransaction());
    ASSERT_TRUE(other.SetString("Prefs", "Busy", "1"));
    m_store.SetBusyTimeout(50);

    CMemoryItemList shown;
    shown.AppendRow("typed before");
    EXPECT_FALSE(vault.LoadAllItems(shown).ok);
    EXPECT_EQ(shown.RowCount(), 1);
    other.RollbackTransaction();
    EXPECT_FALSE(vault.SaveAllItems(shown));
    EXPECT_EQ(Value(StoreNames::kList, "Location", 2).size(), 32u);
}

TEST_F(StoreSafetyTest, DeletedItemsLeaveNoSealedValueInTheFile) {
    CMemoryItemList list;
    Fill(list, 3);
    ASSERT_TRUE(m_items.SaveAllItems(list, kPassword));
    const std::string gone = Value(StoreNames::kList, "Note", 2);
    list.RemoveRow(2);
    list.RemoveRow(1);
    ASSERT_TRUE(m_items.SaveAllItems(list, kPassword));

    EXPECT_EQ(m_store.GetString(StoreNames::kList, "Note2", "<none>"), "<none>");
    const std::string path = m_store.DatabasePath();
    EXPECT_EQ(FileBytes(path).find(gone), std::string::npos);
    EXPECT_EQ(FileBytes(path + "-wal").find(gone), std::string::npos);
}

TEST_F(StoreSafetyTest, RowsTheLoadCouldNotReadBackAreRefused) {
    const std::pair<std::string, std::string> rows[] = {
        {"", "pw"}, {"site", ""}, {"site", std::string(17, 'p')}};
    CMemoryItemList good;
    Fill(good, 1);
    ASSERT_TRUE(m_items.SaveAllItems(good, kPassword));
    const std::string before = Value(StoreNames::kList, "Location", 0);
    for (const auto& [location, password] : rows) {
        CMemoryItemList list;
        list.SetText(list.AppendRow(location), kColPassword, password);
        EXPECT_FALSE(m_items.SaveAllItems(list, kPassword)) << location << "/" << password;
        EXPECT_EQ(Value(StoreNames::kList, "Location", 0), before);
    }
}

}  // namespace
