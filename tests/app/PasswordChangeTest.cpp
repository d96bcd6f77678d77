// Changing the UnLock password all or nothing, Items kept at first use, Reset.

#include <sqlite3.h>

#include "vault/ItemStore.h"
#include "vault/PasswordSealer.h"
#include "ProgramFixture.h"

namespace {

using namespace keynest_test;
using Strings = std::vector<std::string>;

const QString kOld = QStringLiteral("OldSecret1");
const QString kNew = QStringLiteral("NewSecret2");

class PasswordChangeTest : public ProgramTest {
  protected:
    // The stored Items read back from the file under `password`.
    Strings StoredLocations(const QString& password) {
        CRegistryStore store(m_file);
        store.OpenBranch(CRegistryStore::kBranchPath, CRegistryStore::kRootKey, nullptr);
        CPasswordSealer sealer;
        CMemoryItemList list;
        CItemStore(store, sealer).LoadAllItems(list, password.toStdString());
        Strings locations;
        for (int row = 0; row < list.RowCount(); ++row) {
            locations.push_back(list.GetText(row, kColLocation));
        }
        return locations;
    }
};

TEST_F(PasswordChangeTest, ChangeReSealsEveryStoredItem) {
    auto run = StartUnlocked(kOld);
    ASSERT_TRUE(run->view->IsUnlocked());
    AddRow(*run, "alpha", "pw-a");
    AddRow(*run, "beta", "pw-b");
    AddRow(*run, "gamma", "pw-c");
    const std::string oldCheck = run->Check();

    ChooseInDialog(kNew);
    run->view->Lock().OnChangePassword();
    EXPECT_TRUE(run->view->IsUnlocked());
    EXPECT_NE(run->Check(), oldCheck);
    EXPECT_EQ(StoredLocations(kNew), (Strings{"alpha", "beta", "gamma"}));
    EXPECT_NE(StoredLocations(kOld), (Strings{"alpha", "beta", "gamma"}));
    // The hint comes with the first change only.
    EXPECT_EQ(
        m_fakes.prompter.texts.filter(QStringLiteral("New User Hint...\n\nIf you like to keep"))
            .size(),
        1);

    run.reset();
    auto again = StartUnlocked(kNew);
    EXPECT_TRUE(again->view->IsUnlocked());
    EXPECT_EQ(again->Rows().RowCount(), 3);
}

TEST_F(PasswordChangeTest, ChangeWhoseSaveFailsKeepsEverythingAsItWas) {
    auto run = StartUnlocked(kOld);
    AddRow(*run, "alpha", "pw-a");
    AddRow(*run, "beta", "pw-b");
    const std::string oldCheck = run->Check();

    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(m_file.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other,
                           "CREATE TRIGGER refuse BEFORE INSERT ON settings WHEN NEW.name = 'Pwd1'"
                           " BEGIN SELECT RAISE(ABORT, 'disk full'); END;",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    ChooseInDialog(kNew);
    run->view->Lock().OnChangePassword();
    sqlite3_exec(other, "DROP TRIGGER refuse", nullptr, nullptr, nullptr);
    sqlite3_close(other);

    EXPECT_TRUE(m_fakes.prompter.texts.contains(
        QStringLiteral("Your new password could not be stored.\n\nThe old password and your Items "
                       "are kept as they were.")));
    EXPECT_EQ(run->Check(), oldCheck);
    EXPECT_EQ(StoredLocations(kOld), (Strings{"alpha", "beta"}));
    EXPECT_EQ(run->view->Lock().UnlockPassword(), "OldSecret1");
    EXPECT_TRUE(run->view->IsUnlocked());
}

TEST_F(PasswordChangeTest, CancelledChangeOffersHelpOnceAndChangesNothing) {
    auto run = StartUnlocked(kOld);
    const std::string oldCheck = run->Check();
    m_fakes.prompter.answers = {kPromptOk, kPromptOk, kPromptYes};  // change note, hint, help offer
    RejectWhenModal<CChoosePasswordDlg>();
    run->view->Lock().OnChangePassword();
    EXPECT_EQ(m_fakes.help.contexts, std::vector<int>({kHelpChoosePassword}));

    RejectWhenModal<CChoosePasswordDlg>();
    const qsizetype before = m_fakes.prompter.texts.size();
    run->view->Lock().OnChangePassword();
    // Only the change note this time: no hint, no second help offer.
    EXPECT_EQ(m_fakes.prompter.texts.size(), before + 1);
    EXPECT_EQ(run->Check(), oldCheck);
}

TEST_F(PasswordChangeTest, ItemsFoundWithoutAPasswordAreKeptAtFirstUse) {
    std::string sealedAlpha;
    {
        auto run = StartUnlocked(kOld);
        AddRow(*run, "alpha", "pw-a");
        AddRow(*run, "beta", "pw-b");
        run->frame->close();
        sealedAlpha = run->store.GetString("List", "Location0", "");
        run->store.DeleteSection("Keynest");  // the check value is gone
    }
    m_fakes.prompter.texts.clear();
    auto run = StartUnlocked(kNew);
    ASSERT_TRUE(run->view->IsUnlocked());
    EXPECT_TRUE(m_fakes.prompter.texts.at(1).startsWith(
        QStringLiteral("Your Registry has no UnLock password")));
    EXPECT_EQ(run->Rows().RowCount(), 0);
    // The sealed records are kept, byte for byte, and the new list starts empty.
    const std::string kept = CLockFlow::kKeptItemsSection;
    EXPECT_EQ(run->store.GetString(kept, "Location0", ""), sealedAlpha);
    EXPECT_FALSE(run->store.GetString(kept, "Pwd1", "").empty());
    AddRow(*run, "gamma", "pw-c");
    EXPECT_EQ(run->store.GetString(kept, "Location0", ""), sealedAlpha);
    EXPECT_EQ(StoredLocations(kNew), Strings{"gamma"});
}

TEST_F(PasswordChangeTest, ResetErasesEverythingAndStartsOverAtTheNextStart) {
    {
        auto run = StartUnlocked(kOld);
        AddRow(*run, "alpha", "pw-a");
        run->store.SetInt("Newbie", "Edit", 0);
        m_fakes.prompter.answers = {kPromptYes};
        run->view->OnFileReset();
        EXPECT_EQ(run->Rows().RowCount(), 0);
        ASSERT_TRUE(WaitUntil([&] { return !run->frame->isVisible(); }));
        EXPECT_EQ(run->store.GetString("Keynest", "Password", "gone"), "gone");
        EXPECT_EQ(run->store.GetInt("Newbie", "Edit", 1), 1);
        // Only the column widths written by the close are left in "List".
        EXPECT_EQ(run->store.GetString("List", "Location0", "gone"), "gone");
        EXPECT_NE(run->store.GetInt("List", "col0", 0), 0);
    }
    m_fakes.prompter.texts.clear();
    RejectWhenModal<CChoosePasswordDlg>();
    Program again(m_file, m_fakes);
    ASSERT_TRUE(WaitUntil([&] { return !m_fakes.prompter.texts.isEmpty(); }));
    EXPECT_TRUE(m_fakes.prompter.texts.first().startsWith(QStringLiteral("     Welcome")));
}

}  // namespace
