#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <string>
#include <vector>

#include "ItemListModel.h"

namespace {

std::vector<std::string> Locations(const CItemListModel& model) {
    std::vector<std::string> result;
    for (int row = 0; row < model.RowCount(); ++row)
        result.push_back(model.GetText(row, kColLocation));
    return result;
}

// Adds a whole Item through the list interface the Item store uses.
int AddItem(IItemList& list, const std::string& location, const std::string& password) {
    const int row = list.AppendRow(location);
    list.SetText(row, kColPassword, password);
    return row;
}

class ItemListModelTest : public ::testing::Test {
  protected:
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
    EXPECT_EQ(Locations(model), (std::vector<std::string>{"_under", "ALPHA", "Alpha", "alpha",
                                                          "alphabet", "beta", "Gamma"}));
}

TEST_F(ItemListModelTest, EqualLocationsKeepTheirEntryOrderAndEachInsertIsSignalledAtItsPlace) {
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    AddItem(model, "Bank", "first");
    AddItem(model, "Shop", "x");
    EXPECT_EQ(AddItem(model, "Bank", "second"), 1);
    EXPECT_EQ(AddItem(model, "Bank", "third"), 2);
    EXPECT_EQ(model.GetText(0, kColPassword), "first");
    EXPECT_EQ(model.GetText(1, kColPassword), "second");
    EXPECT_EQ(model.GetText(2, kColPassword), "third");
    ASSERT_EQ(inserted.count(), 4);
    EXPECT_EQ(inserted.at(2).at(1).toInt(), 1);
    EXPECT_EQ(inserted.at(3).at(1).toInt(), 2);
}

TEST_F(ItemListModelTest, ItemListRoundTripKeepsEverySixTexts) {
    IItemList& list = model;
    const int row = list.AppendRow("Mail");
    const std::vector<std::string> texts = {"Mail", "https://mail.example", "me",
                                            "pet",  "two lines\nnote",      "p w!"};
    for (int column = kColUrl; column < kItemColumnCount; ++column) {
        list.SetText(row, column, texts[static_cast<size_t>(column)]);
    }
    ASSERT_EQ(list.RowCount(), 1);
    for (int column = 0; column < kItemColumnCount; ++column) {
        EXPECT_EQ(list.GetText(row, column), texts[static_cast<size_t>(column)]) << column;
    }
    // Out-of-range cells read as empty and ignore writes.
    list.SetText(1, kColPassword, "lost");
    list.SetText(0, kItemColumnCount, "lost");
    EXPECT_EQ(list.GetText(1, kColPassword), "");
    EXPECT_EQ(list.GetText(0, -1), "");
    EXPECT_EQ(list.RowCount(), 1);

    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    list.RemoveAllRows();
    EXPECT_EQ(list.RowCount(), 0);
    EXPECT_EQ(removed.count(), 1);
    list.RemoveAllRows();
    EXPECT_EQ(removed.count(), 1);
}

TEST_F(ItemListModelTest, RemoveRowTakesOutExactlyThatRow) {
    AddItem(model, "A", "1");
    AddItem(model, "B", "2");
    AddItem(model, "C", "3");
    model.RemoveRow(1);
    model.RemoveRow(5);
    model.RemoveRow(-1);
    EXPECT_EQ(Locations(model), (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(model.GetText(1, kColPassword), "3");
}

TEST_F(ItemListModelTest, SetTextOfTheLocationKeepsTheRowWhileReplaceRowResorts) {
    AddItem(model, "Apple", "1");
    AddItem(model, "Mango", "2");
    AddItem(model, "Zebra", "3");

    model.SetText(0, kColLocation, "Yak");
    EXPECT_EQ(model.GetText(0, kColLocation), "Yak");
    EXPECT_EQ(model.GetText(0, kColPassword), "1");
    // Insertion still finds a place in a list an edit has left out of order.
    EXPECT_GE(model.AppendRow("Kiwi"), 0);
    EXPECT_EQ(model.RowCount(), 4);

    model.RemoveAllRows();
    AddItem(model, "Apple", "1");
    AddItem(model, "Mango", "2");
    AddItem(model, "Zebra", "3");
    // Moves down, up and nowhere; the tester checks the move signals.
    EXPECT_EQ(model.ReplaceRow(0, {"Yak", "u", "i", "h", "n", "4"}), 1);
    EXPECT_EQ(Locations(model), (std::vector<std::string>{"Mango", "Yak", "Zebra"}));
    EXPECT_EQ(model.GetText(1, kColPassword), "4");
    EXPECT_EQ(model.ReplaceRow(2, {"aardvark", "", "", "", "", "5"}), 0);
    EXPECT_EQ(Locations(model), (std::vector<std::string>{"aardvark", "Mango", "Yak"}));
    EXPECT_EQ(model.ReplaceRow(1, {"Mango2", "", "", "", "", "6"}), 1);
    EXPECT_EQ(model.ReplaceRow(3, {"x", "", "", "", "", "7"}), -1);
}

TEST_F(ItemListModelTest, ShowsSixLeftAlignedColumnsAndAnyBytesAsText) {
    ASSERT_EQ(model.columnCount(), 6);
    EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("User ID"));
    EXPECT_EQ(model.headerData(5, Qt::Horizontal).toString(), QStringLiteral("Password"));

    const int row = model.AppendRow("Z\xC3\xBCrich");  // UTF-8
    model.SetText(row, kColNote, "caf\xE9 \x80");      // Windows-1252 bytes, not UTF-8
    EXPECT_EQ(model.data(model.index(row, kColLocation)).toString(), QStringLiteral("Z\u00FCrich"));
    EXPECT_EQ(model.data(model.index(row, kColNote)).toString(),
              QStringLiteral("caf\u00E9 \u20AC"));
    const auto cellAlignment =
        model.data(model.index(row, kColNote), Qt::TextAlignmentRole).value<Qt::Alignment>();
    EXPECT_TRUE(cellAlignment & Qt::AlignLeft);
    // The bytes themselves are kept as they came.
    EXPECT_EQ(model.GetText(row, kColNote), "caf\xE9 \x80");
}

}  // namespace
