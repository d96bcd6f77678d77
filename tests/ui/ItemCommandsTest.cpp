// The Item commands and the list's clicks over a real list view and vault:
// what reaches the store, the undo slot, activity, the lock during a
// dialog, and which clicks copy or open what.

#include <gtest/gtest.h>

#include <QTest>

#include "ContextFixture.h"
#include "EventLoopWait.h"
#include "ModalDriver.h"
#include "ui/items/ItemCommands.h"
#include "ui/items/ItemDlg.h"
#include "ui/list/ItemListModel.h"
#include "ui/list/ItemListView.h"

using namespace keynest_test;

namespace {

class ItemCommandsTest : public ::testing::Test, public BasicContextFixture<CItemListModel> {
  protected:
    ItemCommandsTest() {
        m_prefs.createOnAdd = 0;
        m_prefs.pwdChars = FullCharSet();
        m_view.resize(600, 300);
        m_view.show();
    }

    // The Locations a fresh vault reads back from the store.
    std::vector<std::string> Stored() {
        CVault reader(m_store);
        CMemoryItemList rows;
        EXPECT_TRUE(reader.Unlock("secret"));
        EXPECT_TRUE(reader.LoadAllItems(rows).ok);
        return Locations(rows);
    }

    void Click(int row, int column) {
        m_view.SelectRow(row);
        const QRect cell = m_view.visualRect(m_view.model()->index(row, column));
        QTest::mouseClick(m_view.viewport(), Qt::LeftButton, {}, cell.center());
    }

    CItemListView m_view{m_context, m_rows};
    CItemCommands m_commands{m_context, m_view};
};

using Locations = std::vector<std::string>;

TEST_F(ItemCommandsTest, EveryChangeReachesTheStoreAndCountsAsActivity) {
    AddRows({"alpha", "charlie"});
    ASSERT_TRUE(m_vault.SaveAllItems(m_rows));

    WhenModal<CItemDlg>([](CItemDlg* dialog) {
        Box(dialog, "locationEdit")->setText(QStringLiteral("Bravo"));
        Box(dialog, "passwordEdit")->setText(QStringLiteral("pw-b"));
        Press(dialog, "okButton");
    });
    m_commands.OnAddItem();
    EXPECT_EQ(Stored(), (Locations{"alpha", "Bravo", "charlie"}));

    struct Step {
        const char* name;
        std::function<void()> run;
        Locations stored;
        bool signalsActivity = true;
    };
    const Step steps[] = {
        {"delete", [&] { m_view.SelectRow(0), m_commands.OnDeleteItem(); }, {"Bravo", "charlie"}},
        {"undo", [&] { m_commands.OnUndoDelete(); }, {"alpha", "Bravo", "charlie"}, false},
        {"delete all refused", [&] { m_commands.OnDeleteAllItems(); }, {"alpha", "Bravo", "charlie"}},
        {"delete all", [&] { m_fakes.prompter.answers = {kPromptYes}, m_commands.OnDeleteAllItems(); },
         {}},
    };
    for (const Step& step : steps) {
        const int before = m_activity.signals;
        step.run();
        EXPECT_EQ(Stored(), step.stored) << step.name;
        EXPECT_EQ(m_activity.signals > before, step.signalsActivity) << step.name;
    }
    EXPECT_FALSE(m_commands.IsUndoAvailable());
    EXPECT_TRUE(m_fakes.prompter.texts.contains(
        QStringLiteral("Are you sure you want to delete all items?")));
}

TEST_F(ItemCommandsTest, DialogConfirmedAfterTheLockStoresNothing) {
    AddRows({"alpha"});
    ASSERT_TRUE(m_vault.SaveAllItems(m_rows));
    m_view.SelectRow(0);
    WhenModal<CItemDlg>([this](CItemDlg* dialog) {
        // The inactivity lock ran while the dialog was open.
        m_rows.RemoveAllRows();
        m_vault.Lock();
        Box(dialog, "locationEdit")->setText(QStringLiteral("changed"));
        Press(dialog, "okButton");
    });
    m_commands.EditSelectedItem();
    EXPECT_EQ(m_rows.RowCount(), 0);
    EXPECT_EQ(Stored(), Locations{"alpha"});
    EXPECT_EQ(m_fakes.prompter.texts.back(),
              QStringLiteral("Keynest has already self-locked\n due to inactivity.\n\n"
                             "Please unlock and try again."));

    // Undo never brings a plain row back while locked.
    m_vault.Lock();
    m_commands.OnUndoDelete();
    EXPECT_EQ(m_rows.RowCount(), 0);
}

TEST_F(ItemCommandsTest, ClicksCopyThePasswordAndTheLocationOpensOnlyWebAddresses) {
    m_prefs.launch = 1;
    const char* const urls[] = {"https://a.example", "file:///etc/passwd", ""};
    AddRows({"a", "b", "c"});
    for (int row = 0; row < 3; ++row) m_rows.SetText(row, kColUrl, urls[row]);

    Click(1, kColUserId);
    EXPECT_EQ(m_fakes.clipboard.text, "pw-b");
    for (int row = 0; row < 3; ++row) {
        const int copies = m_fakes.clipboard.copies;
        Click(row, kColLocation);
        EXPECT_TRUE(WaitUntil([&] { return m_fakes.clipboard.copies > copies; })) << row;
    }
    RunEventsFor(std::chrono::milliseconds(50));
    EXPECT_EQ(m_activity.launches, std::vector<std::string>{"https://a.example"});
    EXPECT_EQ(m_fakes.clipboard.text, "pw-c");
}

}  // namespace
