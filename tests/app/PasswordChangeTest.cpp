#include <gtest/gtest.h>
#include <sqlite3.h>

#include "ItemStore.h"
#include "PasswordSealer.h"
#include "ProgramFixture.h"
#include "TestSupport.h"

namespace {

using namespace keynest_test;

const QString kOld = QStringLiteral("OldSecret1");
const QString kNew = QStringLiteral("NewSecret2");

class PasswordChangeTest : public ::testing::Test {
protected:
    TempDir m_dir;
    std::string m_file = m_dir.File("keynest.sqlite");
    FakeServices m_fakes;

    // The stored Items read back from the file under `password`.
    std::vector<std::string> StoredLocations(const std::string& password) {
        CRegistryStore store(m_file);
        store.OpenBranch(CRegistryStore::kBranchPath, CRegistryStore::kRootKey, nullptr);
        CPasswordSealer sealer;
        CItemStore items(store, sealer);
        CMemoryItemList list;
        items.LoadAllItems(list, password);
        std::vector<std::string> locations;
        for (int row = 0; row < list.RowCount(); ++row) locations.push_back(list.GetText(row, kColLocation));
        return locations;
    }
};

TEST_F(PasswordChangeTest, ChangeReSealsEveryStoredItem) {
    auto run = StartUnlocked(m_file, m_fakes, kOld);
    ASSERT_TRUE(run->view->IsUnlocked());
    AddRow(*run, "alpha", "pw-a");
    AddRow(*run, "beta", "pw-b");
    AddRow(*run, "gamma", "pw-c");
    const std::string oldCheck = run->store.GetString("Keynest", "Password", "");

    ChooseInDialog(kNew);
    run->view->Lock().OnChangePassword();

    EXPECT_TRUE(run->view->IsUnlocked());
    EXPECT_NE(run->store.GetString("Keynest", "Password", ""), oldCheck);
    const std::vector<std::string> expected = {"alpha", "beta", "gamma"};
    EXPECT_EQ(StoredLocations("NewSecret2"), expected);
    EXPECT_NE(StoredLocations("OldSecret1"), expected);
    // The hint comes with the first change only.
    EXPECT_TRUE(m_fakes.prompter.texts.filter(QStringLiteral("New User Hint...\n\nIf you like to keep")).size() == 1);

    run.reset();
    auto again = StartUnlocked(m_file, m_fakes, kNew);
    EXPECT_TRUE(again->view->IsUnlocked());
    EXPECT_EQ(again->Rows().RowCount(), 3);
}

TEST_F(PasswordChangeTest, ChangeWhoseSaveFailsKeepsEverythingAsItWas) {
    auto run = StartUnlocked(m_file, m_fakes, kOld);
    AddRow(*run, "alpha", "pw-a");
    AddRow(*run, "beta", "pw-b");
    const std::string oldCheck = run->store.GetString("Keynest", "Password", "");

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

    EXPECT_TRUE(m_fakes.prompter.texts.contains(QStringLiteral(
        "Your new password could not be stored.\n\nThe old password and your Items are kept as they were.")));
    EXPECT_EQ(run->store.GetString("Keynest", "Password", ""), oldCheck);
    EXPECT_EQ(StoredLocations("OldSecret1"), (std::vector<std::string>{"alpha", "beta"}));
    EXPECT_EQ(run->view->Lock().UnlockPassword(), "OldSecret1");
    EXPECT_TRUE(run->view->IsUnlocked());
}

TEST_F(PasswordChangeTest, CancelledChangeOffersHelpOnceAndChangesNothing) {
    auto run = StartUnlocked(m_file, m_fakes, kOld);
    const std::string oldCheck = run->store.GetString("Keynest", "Password", "");
    m_fakes.prompter.answers = {kPromptOk, kPromptOk, kPromptYes};  // change note, hint, help offer
    WhenModal<CChoosePasswordDlg>([](CChoosePasswordDlg* dialog) { dialog->reject(); });
    run->view->Lock().OnChangePassword();
    EXPECT_EQ(m_fakes.help.contexts, std::vector<int>({kHelpChoosePassword}));

    WhenModal<CChoosePasswordDlg>([](CChoosePasswordDlg* dialog) { dialog->reject(); });
    const qsizetype before = m_fakes.prompter.texts.size();
    run->view->Lock().OnChangePassword();
    // Only the change note this time: no hint, no second help offer.
    EXPECT_EQ(m_fakes.prompter.texts.size(), before + 1);
    EXPECT_EQ(run->store.GetString("Keynest", "Password", ""), oldCheck);
}

TEST_F(PasswordChangeTest, ItemsFoundWithoutAPasswordAreKeptAtFirstUse) {
    {
        auto run = StartUnlocked(m_file, m_fakes, kOld);
        AddRow(*run, "alpha", "pw-a");
        AddRow(*run, "beta", "pw-b");
    }
    std::string sealedAlpha;
    {
        CRegistryStore store(m_file);
        store.OpenBranch(CRegistryStore::kBranchPath, CRegistryStore::kRootKey, nullptr);
        sealedAlpha = store.GetString("List", "Location0", "");
        store.DeleteSection("Keynest");  // the check value is gone
    }
    m_fakes.prompter.texts.clear();
    auto run = StartUnlocked(m_file, m_fakes, kNew);
    ASSERT_TRUE(run->view->IsUnlocked());
    EXPECT_TRUE(m_fakes.prompter.texts.at(1).startsWith(QStringLiteral("Your Registry has no UnLock password")));
    EXPECT_EQ(run->Rows().RowCount(), 0);
    // The sealed records are kept, byte for byte, and the new list starts empty.
    EXPECT_EQ(run->store.GetString(CLockFlow::kKeptItemsSection, "Location0", ""), sealedAlpha);
    EXPECT_FALSE(run->store.GetString(CLockFlow::kKeptItemsSection, "Pwd1", "").empty());
    AddRow(*run, "gamma", "pw-c");
    EXPECT_EQ(run->store.GetString(CLockFlow::kKeptItemsSection, "Location0", ""), sealedAlpha);
    EXPECT_EQ(StoredLocations("NewSecret2"), (std::vector<std::string>{"gamma"}));
}

TEST_F(PasswordChangeTest, ResetErasesEverythingAndStartsOverAtTheNextStart) {
    {
        auto run = StartUnlocked(m_file, m_fakes, kOld);
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
    WhenModal<CChoosePasswordDlg>([](CChoosePasswordDlg* dialog) { dialog->reject(); });
    Program again(m_file, m_fakes);
    ASSERT_TRUE(WaitUntil([&] { return !m_fakes.prompter.texts.isEmpty(); }));
    EXPECT_TRUE(m_fakes.prompter.texts.first().startsWith(QStringLiteral("     Welcome")));
}

}  // namespace
