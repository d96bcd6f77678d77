// The vault as the desktop program and the command-line tool use it: the
// lock state, the change of password, Items found without a check value
// and the erasing of everything.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "TestSupport.h"
#include "settings/StoreNames.h"
#include "vault/ItemList.h"
#include "vault/Vault.h"

namespace {

class VaultTest : public ::testing::Test, protected keynest_test::TempStore {
  protected:
    static CMemoryItemList Rows(std::initializer_list<const char*> locations) {
        CMemoryItemList rows;
        for (const char* location : locations) {
            rows.SetText(rows.AppendRow(location), kColPassword, std::string("pw-") + location);
        }
        return rows;
    }
    static std::vector<std::string> Locations(const IItemList& rows) {
        std::vector<std::string> locations;
        for (int row = 0; row < rows.RowCount(); ++row) {
            locations.push_back(rows.GetText(row, kColLocation));
        }
        return locations;
    }
    std::vector<std::string> Loaded(CVault& vault) {
        CMemoryItemList rows;
        EXPECT_TRUE(vault.LoadAllItems(rows).ok);
        return Locations(rows);
    }
    // Every (section, name, value) the store holds, in a stable order.
    std::vector<std::string> StoredValues() {
        std::vector<std::string> values;
        sqlite3* db = nullptr;
        EXPECT_EQ(sqlite3_open_v2(m_store.DatabasePath().c_str(), &db, SQLITE_OPEN_READONLY,
                                  nullptr),
                  SQLITE_OK);
        sqlite3_stmt* query = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db, "SELECT * FROM settings ORDER BY 1, 2", -1, &query,
                                     nullptr),
                  SQLITE_OK);
        while (sqlite3_step(query) == SQLITE_ROW) {
            std::string row;
            for (int column = 0; column < sqlite3_column_count(query); ++column) {
                const auto* text = sqlite3_column_text(query, column);
                row += std::string(text ? reinterpret_cast<const char*>(text) : "") + "|";
            }
            values.push_back(row);
        }
        sqlite3_finalize(query);
        sqlite3_close(db);
        return values;
    }
};

TEST_F(VaultTest, UnlockLockAndChangeOfPassword) {
    CVault vault(m_store);
    EXPECT_FALSE(vault.HasCheckValue());
    ASSERT_TRUE(vault.ChooseFirstPassword("first"));
    ASSERT_TRUE(vault.SaveAllItems(Rows({"b", "a"})));

    vault.Lock();
    EXPECT_TRUE(vault.UnlockPassword().empty());
    CMemoryItemList rows;
    EXPECT_FALSE(vault.LoadAllItems(rows).ok);
    // Locked, a save writes nothing: an empty list must not replace the Items.
    EXPECT_TRUE(vault.SaveAllItems(CMemoryItemList()));
    for (const char* wrong : {"", "First", "firs", "first "}) EXPECT_FALSE(vault.Unlock(wrong));
    ASSERT_TRUE(vault.Unlock("first"));
    ASSERT_TRUE(vault.LoadAllItems(rows).ok);
    EXPECT_EQ(Locations(rows), (std::vector<std::string>{"a", "b"}));

    ASSERT_TRUE(vault.ChangePassword("second", rows));
    CVault later(m_store);
    EXPECT_FALSE(later.Unlock("first"));
    ASSERT_TRUE(later.Unlock("second"));
    EXPECT_EQ(Loaded(later), (std::vector<std::string>{"a", "b"}));
    // A password the sealer cannot take changes nothing.
    EXPECT_FALSE(later.ChangePassword(std::string(17, 'x'), rows));
    EXPECT_TRUE(CVault(m_store).Unlock("second"));
}

TEST_F(VaultTest, ItemsFoundWithoutACheckValueAreSetAsideUntilTheirPasswordComes) {
    {
        CVault earlier(m_store);
        ASSERT_TRUE(earlier.ChooseFirstPassword("old"));
        ASSERT_TRUE(earlier.SaveAllItems(Rows({"kept1", "kept2"})));
        ASSERT_TRUE(m_store.DeleteValue(StoreNames::kKeynest, StoreNames::kPassword));
    }
    CVault vault(m_store);
    EXPECT_TRUE(vault.HasItemsWithoutCheckValue());
    ASSERT_TRUE(vault.ChooseFirstPassword("new"));
    EXPECT_TRUE(Loaded(vault).empty());
    ASSERT_TRUE(vault.HasSetAsideItems());

    CMemoryItemList rows = Rows({"mine"});
    ASSERT_TRUE(vault.SaveAllItems(rows));
    const std::vector<std::string> before = StoredValues();
    const SetAsideResult wrong = vault.RestoreSetAsideItems("new", rows);
    EXPECT_EQ(wrong.restored, 0);
    EXPECT_EQ(wrong.remaining, 2);
    EXPECT_EQ(StoredValues(), before) << "a wrong password must leave every byte alone";

    const SetAsideResult right = vault.RestoreSetAsideItems("old", rows);
    EXPECT_EQ(right.restored, 2);
    EXPECT_EQ(right.remaining, 0);
    EXPECT_FALSE(vault.HasSetAsideItems());
    CVault later(m_store);
    ASSERT_TRUE(later.Unlock("new"));
    EXPECT_EQ(Loaded(later), (std::vector<std::string>{"kept1", "kept2", "mine"}));
}

TEST_F(VaultTest, EraseEverythingLeavesNothingTheProgramWrote) {
    CVault vault(m_store);
    ASSERT_TRUE(vault.ChooseFirstPassword("pw"));
    ASSERT_TRUE(vault.SaveAllItems(Rows({"a"})));
    for (const char* section : StoreNames::kAllSections) {
        ASSERT_TRUE(m_store.SetString(section, "Something", "1"));
    }
    ASSERT_TRUE(vault.EraseEverything());
    EXPECT_FALSE(vault.IsUnlocked());
    EXPECT_EQ(StoredValues(), std::vector<std::string>{});
    EXPECT_FALSE(vault.HasCheckValue());
}

}  // namespace
