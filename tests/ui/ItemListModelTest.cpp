// The list's rows: sorted by Location, kept whole, signalled as views need.

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <string>
#include <vector>

#include "ui/ItemListModel.h"

namespace {

using Strings = std::vector<std::string>;

class ItemListModelTest : public ::testing::Test {
  protected:
    Strings Locations() const {
        Strings result;
        for (int row = 0; row < model.RowCount(); ++row)
            result.push_back(model.GetText(row, kColLocation));
        return result;
    }
    // Adds an Item through the list interface the Item store uses.
    int AddItem(const std::string& location, const std::string& password) {
        IItemList& list = model;
        const int row = list.AppendRow(location);
        list.SetText(row, kColPassword, password);
        return row;
    }

    CItemListModel model;
    // Checks every signal the model sends against what views rely on.
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::Fatal};
};

TEST_F(ItemListModelTest, RowsTakeTheirPlaceByLocationIgnoringCaseAndKeepDifferentCasesApart) {
    EXPECT_EQ(model.AppendRow("beta"), 0);
    EXPECT_EQ(model.AppendRow("Gamma"), 1);
    EXPECT_EQ(model.AppendRow("alpha"), 0);
    EXPECT_EQ(model.AppendRow("Alpha"), 0);
    EXPECT_EQ(model.AppendRow("ALPHA"), 0);
    EXPECT_EQ(model.AppendRow("alphabet"), 3);
    // Letters fold to lower case, so '_' (between the upper and the lower
    // case letters in ASCII) sorts before every letter.
    EXPECT_EQ(model.AppendRow("_under"), 0);
    EXPECT_EQ(Locations(),
              (Strings{"_under", "ALPHA", "Alpha", "alpha", "alphabet", "beta", "Gamma"}));
}

TEST_F(ItemListModelTest, EqualLocationsKeepTheirEntryOrderAndEachInsertIsSignalledAtItsPlace) {
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    AddItem("Bank", "first");
    AddItem("Shop", "x");
    EXPECT_EQ(AddItem("Bank", "second"), 1);
    EXPECT_EQ(AddItem("Bank", "third"), 2);
    EXPECT_EQ(model.GetText(0, kColPassword), "first");
    EXPECT_EQ(model.GetText(1, kColPassword), "second");
    EXPECT_EQ(model.GetText(2, kColPassword), "third");
    ASSERT_EQ(inserted.count(), 4);
    EXPECT_EQ(inserted.at(2).at(1).toInt(), 1);
    EXPECT_EQ(inserted.at(3).at(1).toInt(), 2);
}

TEST_F(ItemListModelTest, TextsAreKeptWholeAndOnlyExistingRowsChange) {
    const int row = model.AppendRow("Mail");
    const CItemListModel::Row texts = {"Mail", "https://mail.example", "me",
                                       "pet",  "two lines\nnote",      "p w!"};
    for (int column = kColUrl; column < kItemColumnCount; ++column) {
        model.SetText(row, column, texts[static_cast<size_t>(column)]);
    }
    for (int column = 0; column < kItemColumnCount; ++column) {
        EXPECT_EQ(model.GetText(row, column), texts[static_cast<size_t>(column)]) << column;
    }
    // Out-of-range cells read as empty and ignore writes.
    model.SetText(1, kColPassword, "lost");
    model.SetText(0, kItemColumnCount, "lost");
    EXPECT_EQ(model.GetText(1, kColPassword), "");
    EXPECT_EQ(model.GetText(0, -1), "");
    AddItem("A", "1");
    AddItem("Z", "3");
    model.RemoveRow(1);
    model.RemoveRow(5);
    model.RemoveRow(-1);
    EXPECT_EQ(Locations(), (Strings{"A", "Z"}));
    EXPECT_EQ(model.GetText(1, kColPassword), "3");

    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    model.RemoveAllRows();
    model.RemoveAllRows();
    EXPECT_EQ(model.RowCount(), 0);
    EXPECT_EQ(removed.count(), 1);
}

TEST_F(ItemListModelTest, SetTextOfTheLocationKeepsTheRow) {
    AddItem("Apple", "1");
    AddItem("Mango", "2");
    AddItem("Zebra", "3");
    model.SetText(0, kColLocation, "Yak");
    EXPECT_EQ(model.GetText(0, kColLocation), "Yak");
    EXPECT_EQ(model.GetText(0, kColPassword), "1");
    // Insertion still finds a place in a list an edit has left out of order.
    EXPECT_GE(model.AppendRow("Kiwi"), 0);
    EXPECT_EQ(model.RowCount(), 4);
}

TEST_F(ItemListModelTest, ShowsAnyBytesAsTextAndKeepsTheBytes) {
    ASSERT_EQ(model.columnCount(), 6);
    const int row = model.AppendRow("Z\xC3\xBCrich");  // UTF-8
    model.SetText(row, kColNote, "caf\xE9 \x80");      // Windows-1252 bytes, not UTF-8
    EXPECT_EQ(model.data(model.index(row, kColLocation)).toString(), QStringLiteral("Z\u00FCrich"));
    EXPECT_EQ(model.data(model.index(row, kColNote)).toString(),
              QStringLiteral("caf\u00E9 \u20AC"));
    EXPECT_EQ(model.GetText(row, kColNote), "caf\xE9 \x80");
}

}  // namespace
