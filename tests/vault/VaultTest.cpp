// The vault as the desktop program and the command-line tool use it: the
// lock state, the change of password and Items found without a check value.

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "settings/StoreNames.h"
#include "vault/ItemList.h"
#include "vault/Vault.h"

namespace {

using keynest_test::Locations;

class VaultTest : public ::testing::Test, protected keynest_test::TempStore {
  protected:
    static CMemoryItemList Rows(std::initializer_list<const char*> locations) {
        CMemoryItemList rows;
        for (const char* location : locations) {
            rows.SetText(rows.AppendRow(location), kColPassword, std::string("pw-") + location);
        }
        return rows;
    }
    std::vector<std::string> Loaded(CVault& vault) {
        CMemoryItemList rows;
        EXPECT_TRUE(vault.LoadAllItems(rows).ok);
        return Locations(rows);
    }
    // Every value in the sections the program writes.
    std::vector<std::string> StoredValues() {
        std::vector<std::string> values;
        for (const char* section : StoreNames::kAllSections) {
            std::vector<std::string> names;
            EXPECT_TRUE(m_store.ValueNames(section, names));
            for (const std::string& name : names) {
                values.push_back(name + "=" + m_store.GetString(section, name, ""));
            }
        }
        return values;
    }
};

TEST_F(VaultTest, UnlockLockAndChangeOfPassword) {
    CVault vault(m_store);
    EXPECT_FALSE(vault.HasCheckValue());
    ASSERT_TRUE(vault.ChooseFirstPassword("first"));
    ASSERT_TRUE(vault.SaveAllItems(Rows({"b", "a"})));

    vault.Lock();
    EXPECT_EQ(vault.CompareWithUnlockPassword("first"), UnlockOverlap::kNone);
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

}  // namespace
