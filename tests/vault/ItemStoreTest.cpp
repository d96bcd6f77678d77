// The stored form of the Item list: layout, long fields, setting Items
// aside and failed saves.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <vector>

#include "vault/ItemList.h"
#include "vault/ItemStore.h"
#include "vault/PasswordSealer.h"
#include "TestSupport.h"

namespace {

using Row = CMemoryItemList::Row;

const std::string kPassword = "unlock me";
const char* const kNames[] = {"Location", "URL", "ID", "Hint", "Note", "Pwd"};

class ItemStoreTest : public ::testing::Test, protected keynest_test::TempStore {
  protected:
    static CMemoryItemList MakeList(const std::vector<Row>& rows) {
        CMemoryItemList list;
        for (const Row& row : rows) {
            const int at = list.AppendRow(row[kColLocation]);
            for (int column = 1; column < kItemColumnCount; ++column) {
                list.SetText(at, column, row[static_cast<size_t>(column)]);
            }
        }
        return list;
    }

    static std::vector<Row> Numbered(int count, const std::string& prefix = "site") {
        std::vector<Row> rows;
        for (int i = 0; i < count; ++i) {
            const std::string n = std::to_string(i);
            rows.push_back(
                {prefix + n, "https://" + n, "user" + n, "hint" + n, "note" + n, "pw" + n});
        }
        return rows;
    }

    std::string Value(const std::string& section, int column, int index) {
        return m_store.GetString(section, kNames[column] + std::to_string(index), "<missing>");
    }

    // Every Item value of the first `count` indices of a section.
    std::vector<std::string> Snapshot(const std::string& section, int count) {
        std::vector<std::string> values;
        for (int index = 0; index < count; ++index) {
            for (int column = 0; column < kItemColumnCount; ++column) {
                values.push_back(Value(section, column, index));
            }
        }
        return values;
    }

    std::vector<Row> Load(const std::string& password = kPassword) {
        CMemoryItemList list;
        EXPECT_TRUE(m_items.LoadAllItems(list, password).ok);
        std::vector<Row> rows;
        for (int i = 0; i < list.RowCount(); ++i) rows.push_back(list.RowAt(i));
        return rows;
    }

    CPasswordSealer m_sealer;
    CItemStore m_items{m_store, m_sealer};
};

}  // namespace

TEST_F(ItemStoreTest, LayoutSortedOrderAndEndMarker) {
    const CMemoryItemList list = MakeList(
        {{"C", "", "", "", "", "pc"}, {"A", "", "", "", "", "pa"}, {"B", "", "", "", "", "pb"}});
    ASSERT_TRUE(m_items.SaveAllItems(list, kPassword));
    for (int index = 0; index < 3; ++index) {
        const std::string location(1, static_cast<char>('A' + index));
        EXPECT_EQ(m_sealer.UnsealText(Value("List", kColLocation, index), kPassword), location);
        // Empty optional fields are stored as one sealed block.
        for (int column = kColUrl; column <= kColNote; ++column) {
            EXPECT_EQ(Value("List", column, index).size(), 32u);
        }
    }
    for (int column = 0; column < kItemColumnCount; ++column)
        EXPECT_EQ(Value("List", column, 3), "");
    const std::vector<Row> loaded = Load();
    ASSERT_EQ(loaded.size(), 3u);
    EXPECT_EQ(loaded[0], (Row{"A", "", "", "", "", "pa"}));
    EXPECT_EQ(loaded[2], (Row{"C", "", "", "", "", "pc"}));
}

TEST_F(ItemStoreTest, FailedSaveLeavesTheStoreAsItWas) {
    ASSERT_TRUE(m_items.SaveAllItems(MakeList(Numbered(3)), kPassword));
    const std::vector<std::string> before = Snapshot("List", 6);

    // A second connection makes the write of the second Item's Password
    // fail, after the first Item has been written.
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(m_store.DatabasePath().c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other,
                           "CREATE TRIGGER fail_half_way BEFORE INSERT ON settings"
                           " WHEN NEW.name = 'Pwd1'"
                           " BEGIN SELECT RAISE(ABORT, 'write refused'); END;",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);

    EXPECT_FALSE(m_items.SaveAllItems(MakeList(Numbered(5, "new")), kPassword));
    EXPECT_EQ(Snapshot("List", 6), before);

    // Inside a caller's transaction the caller's own writes go too.
    {
        CStoreTransaction outer(m_store);
        ASSERT_TRUE(m_store.SetString("Keynest", "Password", "check value"));
        EXPECT_FALSE(m_items.SaveAllItems(MakeList(Numbered(5, "new")), kPassword));
    }
    EXPECT_EQ(m_store.GetString("Keynest", "Password", "none"), "none");
    EXPECT_EQ(Snapshot("List", 6), before);
    EXPECT_FALSE(m_items.SetAsideStoredItems("KeptItems"));
    EXPECT_EQ(Snapshot("List", 6), before);
    EXPECT_EQ(Value("KeptItems", kColLocation, 0), "<missing>");

    ASSERT_EQ(sqlite3_exec(other, "DROP TRIGGER fail_half_way", nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(other);
    EXPECT_TRUE(m_items.SaveAllItems(MakeList(Numbered(5, "new")), kPassword));
    EXPECT_EQ(Load(), Numbered(5, "new"));
    // A key that cannot seal stores nothing either.
    const std::vector<std::string> saved = Snapshot("List", 6);
    EXPECT_FALSE(m_items.SaveAllItems(MakeList(Numbered(2)), std::string(17, 'k')));
    EXPECT_EQ(Snapshot("List", 6), saved);
}
