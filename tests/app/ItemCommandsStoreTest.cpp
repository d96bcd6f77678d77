// The Item commands as a user runs them, each checked in the store after
// the program has been started again.

#include "ProgramFixture.h"
#include "lock/Watchdog.h"

namespace {

using namespace keynest_test;
using Strings = std::vector<std::string>;

const QString kPassword = QStringLiteral("Sesame2024");

class ItemCommandsStoreTest : public ProgramTest {
  protected:
    std::unique_ptr<Program> Start() {
        auto run = StartUnlocked(kPassword);
        run->view->SetDogTime(CWatchdog::kInfinite);
        run->view->Watchdog().SetDogTimeout(CWatchdog::kInfinite);
        run->store.SetInt("Newbie", "Edit", 0);
        run->store.SetInt("Newbie", "ChangeEditPwd", 0);
        return run;
    }
    static void Select(Program& run, const std::string& location) {
        for (int row = 0; row < run.Rows().RowCount(); ++row) {
            if (run.Rows().GetText(row, kColLocation) == location) {
                run.view->setCurrentIndex(run.Rows().index(row, 0));
            }
        }
    }
    Strings StoredAfterRestart() {
        auto run = Start();
        Strings rows;
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
        for (const char* name : {"charlie", "alpha", "bravo"}) {
            FillItemDialog(QString::fromLatin1(name),
                           QStringLiteral("pw-") + QChar::fromLatin1(name[0]), true);
            run->view->OnCommand(ID_EDIT_ADD_ITEM);
        }
        Select(*run, "bravo");
        WhenModal<CItemDlg>([](CItemDlg* dialog) {
            Box(dialog, "passwordEdit")->setText(QStringLiteral("pw-B2"));
            Press(dialog, "okButton");
        });
        run->view->OnCommand(ID_EDIT_EDIT_ITEM);

        Select(*run, "alpha");
        run->view->OnCommand(ID_EDIT_DELETE_ITEM);
        Select(*run, "charlie");
        run->view->OnCommand(ID_EDIT_DELETE_ITEM);
        run->view->OnCommand(ID_EDIT_UNDO_DELETE);  // only charlie comes back
    }
    EXPECT_EQ(StoredAfterRestart(), (Strings{"bravo=pw-B2", "charlie=pw-c"}));
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
