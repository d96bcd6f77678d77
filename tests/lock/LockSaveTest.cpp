// The lock after a failed save: one more try, and what could not be stored
// told at the next unlock.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "ContextFixture.h"
#include "ModalDriver.h"
#include "lock/LockFlow.h"
#include "lock/UnlockDlg.h"

using namespace keynest_test;

class LockSaveTest : public ::testing::Test, public ContextFixture {
  protected:
    /// Makes every write to the store fail (true) or work again (false).
    void RefuseWrites(bool refuse) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(m_store.DatabasePath().c_str(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db,
                               refuse ? "CREATE TRIGGER refuse BEFORE INSERT ON settings BEGIN "
                                        "SELECT RAISE(ABORT, 'disk full'); END;"
                                      : "DROP TRIGGER refuse",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(db);
    }
};

TEST_F(LockSaveTest, TheLockSavesOnceMoreAndTellsAtTheUnlockWhatCouldNotBeStored) {
    for (const bool stillFailing : {false, true}) {  // the failing case comes last
        m_rows.RemoveAllRows();
        AddRows({"Bank", "Club", "Mail"});
        ASSERT_TRUE(m_vault.SaveAllItems(m_rows));
        RefuseWrites(true);
        m_rows.RemoveRow(1);                        // Club
        m_rows.SetText(0, kColPassword, "new-pw");  // Bank
        m_rows.SetText(m_rows.AppendRow("Zoo"), kColPassword, "pw-zoo");
        ASSERT_FALSE(m_vault.SaveAllItems(m_rows));
        if (!stillFailing) RefuseWrites(false);

        WhenModal<CUnlockDlg>([](CUnlockDlg* dialog) {
            Box(dialog, "passwordEdit")->setText(QStringLiteral("secret"));
            Press(dialog, "okButton");
        });
        CLockFlow(m_context).LockStep();
        ASSERT_TRUE(m_vault.LoadAllItems(m_rows).ok);
        EXPECT_EQ(Locations(m_rows).back(), stillFailing ? "Mail" : "Zoo");
        EXPECT_EQ(m_fakes.prompter.texts.join(QString()).contains(
                      QStringLiteral("Added: Zoo\nChanged: Bank\nDeleted: Club\n")),
                  stillFailing);
    }
}
