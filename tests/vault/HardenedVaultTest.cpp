// A vault converted to the hardened format: both ways byte for byte, the
// 16-byte limits lifted, and every tampering with the store found out
// without losing what was stored.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <tuple>

#include "TestSupport.h"
#include "settings/StoreNames.h"
#include "vault/ExportFile.h"
#include "vault/ItemList.h"
#include "vault/Vault.h"

namespace {

// Cheap parameters: the tests are about the format, not the cost.
constexpr KdfParams kTestKdf{64, 1, 1};
const std::string kUnlock = "unlock-pw";

class HardenedVaultTest : public ::testing::Test, protected keynest_test::TempStore {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_vault.ChooseFirstPassword(kUnlock));
        for (const char* location : {"alpha", "beta", "gamma"}) {
            const int row = m_rows.AppendRow(location);
            for (int column = kColUrl; column < kItemColumnCount; ++column) {
                m_rows.SetText(row, column, std::string(location) + "-" + std::to_string(column));
            }
        }
        ASSERT_TRUE(m_vault.SaveAllItems(m_rows));
        ASSERT_TRUE(m_vault.ConvertToHardened(m_rows, kTestKdf));
    }
    // Every field of every row, in order.
    static std::vector<std::string> Fields(const IItemList& rows) {
        std::vector<std::string> fields;
        for (int row = 0; row < rows.RowCount(); ++row) {
            for (int column = 0; column < kItemColumnCount; ++column) fields.push_back(rows.GetText(row, column));
        }
        return fields;
    }
    // What a fresh start of the program finds.
    ItemLoadResult Reload(CMemoryItemList& rows, const std::string& password = kUnlock) {
        CVault fresh(m_store);
        if (!fresh.Unlock(password)) return {};
        return fresh.LoadAllItems(rows);
    }
    std::string Stored(const char* name) { return m_store.GetString(StoreNames::kList, name, ""); }
    void Store(const char* name, const std::string& value) {
        ASSERT_TRUE(m_store.SetString(StoreNames::kList, name, value));
    }

    CVault m_vault{m_store};
    CMemoryItemList m_rows;
};

TEST_F(HardenedVaultTest, ConversionBothWaysKeepsEveryItemByteForByte) {
    EXPECT_EQ(m_vault.Format(), VaultFormat::kHardened);
    // Nothing stored checks a guess without a derivation: the check value is gone.
    EXPECT_EQ(m_store.GetString(StoreNames::kKeynest, StoreNames::kPassword, ""), "");
    CMemoryItemList hardened;
    ASSERT_TRUE(Reload(hardened).ok);
    EXPECT_EQ(Fields(hardened), Fields(m_rows));
    EXPECT_FALSE(Reload(hardened, "wrong").ok);

    ASSERT_EQ(m_vault.ConvertToKeyText(m_rows), ConvertRefusal::kNone);
    EXPECT_EQ(m_vault.Format(), VaultFormat::kKeyText);
    CMemoryItemList plain;
    ASSERT_TRUE(Reload(plain).ok);
    EXPECT_EQ(Fields(plain), Fields(m_rows));
}

TEST_F(HardenedVaultTest, LongPasswordsLiveOnlyInTheHardenedFormat) {
    const std::string longPassword(300, 'p');
    m_rows.SetText(0, kColPassword, longPassword);
    ASSERT_TRUE(m_vault.SaveAllItems(m_rows));
    CMemoryItemList loaded;
    ASSERT_TRUE(Reload(loaded).ok);
    EXPECT_EQ(loaded.GetText(0, kColPassword), longPassword);
    EXPECT_EQ(m_vault.ConvertToKeyText(m_rows), ConvertRefusal::kLongItemPassword);

    m_rows.SetText(0, kColPassword, "short");
    const std::string longUnlock(120, 'u');
    ASSERT_TRUE(m_vault.ChangePassword(longUnlock, m_rows));
    EXPECT_FALSE(Reload(loaded).ok);
    ASSERT_TRUE(Reload(loaded, longUnlock).ok);
    EXPECT_EQ(m_vault.ConvertToKeyText(m_rows), ConvertRefusal::kLongUnlockPassword);
    EXPECT_EQ(m_vault.Format(), VaultFormat::kHardened);
}

TEST_F(HardenedVaultTest, ExportsAreMadeInsideTheVaultAndReadUnderTheReadersLimits) {
    m_rows.SetText(0, kColPassword, std::string(40, 'p'));
    std::string hardened;
    std::string classic;
    ASSERT_TRUE(m_vault.BuildExport(m_rows, ExportFormat::kHardened, hardened));
    EXPECT_FALSE(m_vault.BuildExport(m_rows, ExportFormat::kKeyText, classic));

    // A vault of the first format under the same password reads what fits it.
    keynest_test::TempStore other;
    CVault reader(other.m_store);
    ASSERT_TRUE(reader.ChooseFirstPassword(kUnlock));
    CMemoryItemList read;
    const ExportReadResult result = reader.ReadExport(hardened, read);
    EXPECT_EQ(std::tie(result.read, result.brokeRules), std::make_tuple(2, 1));
    EXPECT_NE(result.firstBrokenRule.find("16 bytes"), std::string::npos);

    // Whatever fits goes back the other way, byte for byte.
    ASSERT_TRUE(reader.BuildExport(read, ExportFormat::kKeyText, classic));
    CMemoryItemList back;
    ASSERT_EQ(m_vault.ReadExport(classic, back).read, 2);
    EXPECT_EQ(Fields(back), Fields(read));
}

TEST_F(HardenedVaultTest, EveryTamperingIsCountedAndNothingIsDropped) {
    const std::string replayed = Stored("Pwd0");  // sealed for the save before the next one
    ASSERT_TRUE(m_vault.SaveAllItems(m_rows));
    struct Tampering {
        const char* what;
        std::function<void()> tamper;
        bool leavesAValueToKeep;
    };
    const std::vector<Tampering> tamperings = {
        {"a flipped digit", [&] { std::string v = Stored("Note1"); v[40] = v[40] == 'A' ? 'B' : 'A'; Store("Note1", v); }, true},
        {"truncated", [&] { Store("URL1", Stored("URL1").substr(0, 70)); }, true},
        {"two values swapped", [&] { const std::string a = Stored("Pwd0"); Store("Pwd0", Stored("Pwd1")); Store("Pwd1", a); }, true},
        {"moved to another Item", [&] { Store("Hint1", Stored("Hint0")); }, true},
        {"an older value replayed", [&] { Store("Pwd0", replayed); }, true},
        {"blanked into an end marker", [&] {
             for (const char* name : {"Location1", "URL1", "ID1", "Hint1", "Note1", "Pwd1"}) Store(name, "");
         }, false},
    };
    const std::vector<std::string> original = Fields(m_rows);
    for (const Tampering& tampering : tamperings) {
        SCOPED_TRACE(tampering.what);
        tampering.tamper();
        CVault vault(m_store);
        ASSERT_TRUE(vault.Unlock(kUnlock));
        CMemoryItemList shown;
        const ItemLoadResult result = vault.LoadAllItems(shown);
        ASSERT_TRUE(result.ok);
        EXPECT_GE(result.unread, 1);
        EXPECT_EQ(shown.RowCount() + result.unread, 3);
        // What shows is never altered: each shown Item is one of the originals.
        for (const std::string& field : Fields(shown)) {
            EXPECT_NE(std::find(original.begin(), original.end(), field), original.end()) << field;
        }
        // The next save keeps what it could not read, set aside.
        ASSERT_TRUE(vault.SaveAllItems(shown));
        EXPECT_EQ(vault.HasSetAsideItems(), tampering.leavesAValueToKeep);
        ASSERT_TRUE(vault.SaveAllItems(m_rows));
        ASSERT_EQ(m_store.DeleteSection(StoreNames::kKeptItems), 0);
    }
}

}  // namespace
