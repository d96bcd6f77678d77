#include <gtest/gtest.h>

#include "ItemDlg.h"
#include "ProgramFixture.h"
#include "TestSupport.h"
#include "Watchdog.h"

namespace {

using namespace keynest_test;
using std::chrono::milliseconds;

const QString kPassword = QStringLiteral("Sesame2024");

class AutoLockTest : public ::testing::Test {
protected:
    TempDir m_dir;
    std::string m_file = m_dir.File("keynest.sqlite");
    FakeServices m_fakes;

    // An unlocked run whose inactivity time is `ms`.
    std::unique_ptr<Program> StartWithDogTime(std::uint32_t ms) {
        auto run = StartUnlocked(m_file, m_fakes, kPassword);
        run->view->SetDogTime(ms);
        run->view->Watchdog().SetDogTimeout(ms);
        return run;
    }
    // Answers the UnLock dialog that the lock opens, with the lock then
    // off; the flag tells when that has happened.
    std::shared_ptr<bool> UnlockAfterTheLock(Program& run) {
        auto relocked = std::make_shared<bool>(false);
        WhenModal<CUnlockDlg>([&run, relocked](CUnlockDlg* dialog) {
            *relocked = run.Rows().RowCount() == 0;
            run.view->SetDogTime(CWatchdog::kInfinite);
            dialog->findChild<QLineEdit*>(QStringLiteral("passwordEdit"))->setText(kPassword);
            dialog->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
        });
        return relocked;
    }
    // Fills the next Item dialog and leaves it open for the lock to find.
    static void FillItemDialog(const QString& location, const QString& password) {
        WhenModal<CItemDlg>([location, password](CItemDlg* dialog) {
            dialog->findChild<QLineEdit*>(QStringLiteral("locationEdit"))->setText(location);
            dialog->findChild<QLineEdit*>(QStringLiteral("passwordEdit"))->setText(password);
        });
    }
};

TEST_F(AutoLockTest, IdleProgramLocksEmptiesTheListAndAsksAgain) {
    auto run = StartWithDogTime(200);
    AddRow(*run, "alpha", "pw-a");
    bool sawLocked = false;
    WhenModal<CUnlockDlg>([&](CUnlockDlg* dialog) {
        sawLocked = !run->view->IsUnlocked() && run->Rows().RowCount() == 0 &&
                    run->frame->StatusText(CMainFrame::kLockPane) == QStringLiteral(" LOCKED ") &&
                    run->view->Lock().UnlockPassword().empty();
        dialog->reject();
    });
    ASSERT_TRUE(WaitUntil([&] { return sawLocked; }, milliseconds(3000)));
    EXPECT_EQ(run->view->Watchdog().DogTimeout(), CWatchdog::kInfinite);
}

TEST_F(AutoLockTest, ActivityPostponesTheLock) {
    auto run = StartWithDogTime(400);
    for (int i = 0; i < 8; ++i) {
        run->view->SignalActivity();
        RunEventsFor(milliseconds(100));
    }
    EXPECT_TRUE(run->view->IsUnlocked());
    WhenModal<CUnlockDlg>([](CUnlockDlg* dialog) { dialog->reject(); });
    EXPECT_TRUE(WaitUntil([&] { return !run->view->IsUnlocked(); }, milliseconds(3000)));
}

TEST_F(AutoLockTest, OpenAddDialogIsSavedWhenCompleteAndSaveCancelIsOn) {
    auto run = StartWithDogTime(300);
    run->view->Prefs().saveCancel = 1;
    run->view->Prefs().createOnAdd = 0;
    FillItemDialog(QStringLiteral("zebra"), QStringLiteral("stripes"));
    const auto relocked = UnlockAfterTheLock(*run);
    run->view->OnCommand(ID_EDIT_ADD_ITEM);
    ASSERT_TRUE(WaitUntil([&] { return *relocked && run->view->IsUnlocked(); }, milliseconds(3000)));
    ASSERT_EQ(run->Rows().RowCount(), 1);
    EXPECT_EQ(run->Rows().GetText(0, kColLocation), "zebra");
    EXPECT_EQ(run->Rows().GetText(0, kColPassword), "stripes");
}

TEST_F(AutoLockTest, OpenAddDialogIsDroppedWhenIncompleteOrSaveCancelIsOff) {
    for (const int saveCancel : {1, 0}) {
        auto run = StartWithDogTime(300);
        run->view->Prefs().saveCancel = saveCancel;
        run->view->Prefs().createOnAdd = 0;
        FillItemDialog(saveCancel == 1 ? QString() : QStringLiteral("zebra"), QStringLiteral("stripes"));
        const auto relocked = UnlockAfterTheLock(*run);
        run->view->OnCommand(ID_EDIT_ADD_ITEM);
        ASSERT_TRUE(WaitUntil([&] { return *relocked && run->view->IsUnlocked(); }, milliseconds(3000)));
        EXPECT_EQ(run->Rows().RowCount(), 0) << "SaveCancel " << saveCancel;
        run.reset();
    }
}

TEST_F(AutoLockTest, EditDialogConfirmedAfterTheLockStoresNothing) {
    auto run = StartWithDogTime(CWatchdog::kInfinite);
    AddRow(*run, "alpha", "pw-a");
    run->view->setCurrentIndex(run->Rows().index(0, 0));
    run->store.SetInt("Newbie", "Edit", 0);
    WhenModal<CItemDlg>([&](CItemDlg* dialog) {
        // The program locks while the dialog is open; then the user presses Save.
        dialog->findChild<QLineEdit*>(QStringLiteral("passwordEdit"))->setText(QStringLiteral("changed"));
        WhenModal<CUnlockDlg>([](CUnlockDlg* unlock) { unlock->reject(); });
        run->view->Lock().LockStep();
        dialog->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
    });
    run->view->OnCommand(ID_EDIT_EDIT_ITEM);
    EXPECT_TRUE(m_fakes.prompter.texts.contains(
        QStringLiteral("Keynest has already self-locked\n due to inactivity.\n\nPlease unlock and try again.")));
    run.reset();
    auto again = StartUnlocked(m_file, m_fakes, kPassword);
    ASSERT_EQ(again->Rows().RowCount(), 1);
    EXPECT_EQ(again->Rows().GetText(0, kColPassword), "pw-a");
}

TEST_F(AutoLockTest, UndoSlotIsWipedAtLockAndUndoIsOffWhileLocked) {
    auto run = StartWithDogTime(CWatchdog::kInfinite);
    AddRow(*run, "alpha", "pw-a");
    run->view->setCurrentIndex(run->Rows().index(0, 0));
    run->view->OnCommand(ID_EDIT_DELETE_ITEM);
    EXPECT_TRUE(run->view->CommandStateNow().undoAvailable);
    WhenModal<CUnlockDlg>([](CUnlockDlg* dialog) { dialog->reject(); });
    run->view->Lock().LockStep();
    EXPECT_FALSE(run->view->CommandStateNow().undoAvailable);
    run->frame->UpdateCommandStates();
    EXPECT_FALSE(run->frame->Action(ID_EDIT_UNDO_DELETE)->isEnabled());
    EXPECT_TRUE(run->frame->Action(ID_FILE_UNLOCK)->isEnabled());
    EXPECT_FALSE(run->frame->Action(ID_EDIT_ADD_ITEM)->isEnabled());
}

}  // namespace
