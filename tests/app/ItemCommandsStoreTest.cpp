#include <gtest/gtest.h>

#include "ItemDlg.h"
#include "ProgramFixture.h"
#include "TestSupport.h"
#include "Watchdog.h"

namespace {

using namespace keynest_test;

const QString kPassword = QStringLiteral("Sesame2024");

// The Item commands as a user runs them, each checked in the store after
// the program has been started again.
class ItemCommandsStoreTest : public ::testing::Test {
protected:
    TempDir m_dir;
    std::string m_file = m_dir.File("keynest.sqlite");
    FakeServices m_fakes;

    std::unique_ptr<Program> Start() {
        auto run = StartUnlocked(m_file, m_fakes, kPassword);
        run->view->SetDogTime(CWatchdog::kInfinite);
        run->view->Watchdog().SetDogTimeout(CWatchdog::kInfinite);
        run->store.SetInt("Newbie", "Edit", 0);
        run->store.SetInt("Newbie", "ChangeEditPwd", 0);
        return run;
    }
    static void AddThroughDialog(Program& run, const QString& location, const QString& password) {
        WhenModal<CItemDlg>([location, password](CItemDlg* dialog) {
            dialog->findChild<QLineEdit*>(QStringLiteral("locationEdit"))->setText(location);
            dialog->findChild<QLineEdit*>(QStringLiteral("passwordEdit"))->setText(password);
            dialog->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
        });
        run.view->OnCommand(ID_EDIT_ADD_ITEM);
    }
    static void Select(Program& run, const std::string& location) {
        for (int row = 0; row < run.Rows().RowCount(); ++row) {
            if (run.Rows().GetText(row, kColLocation) == location) {
                run.view->setCurrentIndex(run.Rows().index(row, 0));
            }
        }
    }
    std::vector<std::string> StoredAfterRestart() {
        auto run = Start();
        std::vector<std::string> rows;
        for (int row = 0; row < run->Rows().RowCount(); ++row) {
            rows.push_back(run->Rows().GetText(row, kColLocation) + "=" +
                           run->Rows().GetText(row, kColPassword));
        }
        return rows;
    }
};

TEST_F(ItemCommandsStoreTest, AddEditDeleteAndUndoReachTheStore) {
    {
        auto run = Start();
        AddThroughDialog(*run, QStringLiteral("charlie"), QStringLiteral("pw-c"));
        AddThroughDialog(*run, QStringLiteral("alpha"), QStringLiteral("pw-a"));
        AddThroughDialog(*run, QStringLiteral("bravo"), QStringLiteral("pw-b"));

        Select(*run, "bravo");
        WhenModal<CItemDlg>([](CItemDlg* dialog) {
            dialog->findChild<QLineEdit*>(QStringLiteral("passwordEdit"))->setText(QStringLiteral("pw-B2"));
            dialog->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
        });
        run->view->OnCommand(ID_EDIT_EDIT_ITEM);

        Select(*run, "alpha");
        run->view->OnCommand(ID_EDIT_DELETE_ITEM);
        Select(*run, "charlie");
        run->view->OnCommand(ID_EDIT_DELETE_ITEM);
        run->view->OnCommand(ID_EDIT_UNDO_DELETE);  // only charlie comes back
    }
    EXPECT_EQ(StoredAfterRestart(), (std::vector<std::string>{"bravo=pw-B2", "charlie=pw-c"}));
}

TEST_F(ItemCommandsStoreTest, DeleteAllLeavesAnEmptyStoreThatStaysEmpty) {
    {
        auto run = Start();
        AddRow(*run, "alpha", "pw-a");
        AddRow(*run, "bravo", "pw-b");
        m_fakes.prompter.answers = {kPromptNo};
        run->view->OnCommand(ID_EDIT_DELETE_ALL);
        EXPECT_EQ(run->Rows().RowCount(), 2);
        m_fakes.prompter.answers = {kPromptYes};
        run->view->OnCommand(ID_EDIT_DELETE_ALL);
        EXPECT_EQ(run->Rows().RowCount(), 0);
    }
    EXPECT_TRUE(StoredAfterRestart().empty());
    {
        auto run = Start();
        AddRow(*run, "delta", "pw-d");
        Select(*run, "delta");
        run->view->OnCommand(ID_EDIT_DELETE_ITEM);  // the last Item
    }
    EXPECT_TRUE(StoredAfterRestart().empty());
}

}  // namespace
