// The inactivity lock in the running program: the lock itself, activity,
// an open Item dialog under SaveCancel, and what may not survive a lock.

#include <QAction>

#include "ProgramFixture.h"
#include "lock/Watchdog.h"

namespace {

using namespace keynest_test;
using std::chrono::milliseconds;

const QString kPassword = QStringLiteral("Sesame2024");

class AutoLockTest : public ProgramTest {
  protected:
    // An unlocked run whose inactivity time is `ms`.
    std::unique_ptr<Program> StartWithDogTime(std::uint32_t ms) {
        auto run = StartUnlocked(kPassword);
        run->view->SetDogTime(ms);
        run->view->Watchdog().SetDogTimeout(ms);
        return run;
    }
    // Opens an Add dialog filled with `location`, left open for the lock,
    // and unlocks again once the lock asks; true when the list was empty
    // at that moment and the run is unlocked again.
    bool AddDialogOpenAtTheLock(Program& run, const QString& location) {
        auto relocked = std::make_shared<bool>(false);
        WhenModal<CUnlockDlg>([&run, relocked](CUnlockDlg* dialog) {
            *relocked = run.Rows().RowCount() == 0;
            run.view->SetDogTime(CWatchdog::kInfinite);
            Box(dialog, "passwordEdit")->setText(kPassword);
            Press(dialog, "okButton");
        });
        run.view->Prefs().createOnAdd = 0;
        FillItemDialog(location, QStringLiteral("stripes"), false);
        run.view->OnCommand(ID_EDIT_ADD_ITEM);
        return WaitUntil([&] { return *relocked && run.view->IsUnlocked(); });
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
    ASSERT_TRUE(WaitUntil([&] { return sawLocked; }));
    EXPECT_EQ(run->view->Watchdog().DogTimeout(), CWatchdog::kInfinite);
}

TEST_F(AutoLockTest, ActivityPostponesTheLock) {
    auto run = StartWithDogTime(400);
    for (int i = 0; i < 8; ++i) {
        run->view->SignalActivity();
        RunEventsFor(milliseconds(100));
    }
    EXPECT_TRUE(run->view->IsUnlocked());
    RejectWhenModal<CUnlockDlg>();
    EXPECT_TRUE(WaitUntil([&] { return !run->view->IsUnlocked(); }));
}

TEST_F(AutoLockTest, OpenAddDialogIsSavedWhenCompleteAndSaveCancelIsOn) {
    auto run = StartWithDogTime(300);
    run->view->Prefs().saveCancel = 1;
    ASSERT_TRUE(AddDialogOpenAtTheLock(*run, QStringLiteral("zebra")));
    ASSERT_EQ(run->Rows().RowCount(), 1);
    EXPECT_EQ(run->Rows().GetText(0, kColLocation), "zebra");
    EXPECT_EQ(run->Rows().GetText(0, kColPassword), "stripes");
}

TEST_F(AutoLockTest, OpenAddDialogIsDroppedWhenIncompleteOrSaveCancelIsOff) {
    for (const int saveCancel : {1, 0}) {
        SCOPED_TRACE(saveCancel);
        auto run = StartWithDogTime(300);
        run->view->Prefs().saveCancel = saveCancel;
        const QString location = saveCancel == 1 ? QString() : QStringLiteral("zebra");
        ASSERT_TRUE(AddDialogOpenAtTheLock(*run, location));
        EXPECT_EQ(run->Rows().RowCount(), 0);
    }
}

TEST_F(AutoLockTest, EditDialogConfirmedAfterTheLockStoresNothing) {
    auto run = StartWithDogTime(CWatchdog::kInfinite);
    AddRow(*run, "alpha", "pw-a");
    run->view->setCurrentIndex(run->Rows().index(0, 0));
    run->store.SetInt("Newbie", "Edit", 0);
    WhenModal<CItemDlg>([&](CItemDlg* dialog) {
        // The program locks while the dialog is open; then the user presses Save.
        Box(dialog, "passwordEdit")->setText(QStringLiteral("changed"));
        RejectWhenModal<CUnlockDlg>();
        run->view->Lock().LockStep();
        Press(dialog, "okButton");
    });
    run->view->OnCommand(ID_EDIT_EDIT_ITEM);
    EXPECT_TRUE(m_fakes.prompter.texts.contains(QStringLiteral(
        "Keynest has already self-locked\n due to inactivity.\n\nPlease unlock and try again.")));
    run.reset();
    auto again = StartUnlocked(kPassword);
    ASSERT_EQ(again->Rows().RowCount(), 1);
    EXPECT_EQ(again->Rows().GetText(0, kColPassword), "pw-a");
}

TEST_F(AutoLockTest, UndoSlotIsWipedAtLockAndUndoIsOffWhileLocked) {
    auto run = StartWithDogTime(CWatchdog::kInfinite);
    AddRow(*run, "alpha", "pw-a");
    run->view->setCurrentIndex(run->Rows().index(0, 0));
    run->view->OnCommand(ID_EDIT_DELETE_ITEM);
    EXPECT_TRUE(run->view->CommandStateNow().undoAvailable);
    RejectWhenModal<CUnlockDlg>();
    run->view->Lock().LockStep();
    EXPECT_FALSE(run->view->CommandStateNow().undoAvailable);
    run->frame->UpdateCommandStates();
    EXPECT_FALSE(run->frame->Action(ID_EDIT_UNDO_DELETE)->isEnabled());
    EXPECT_TRUE(run->frame->Action(ID_FILE_UNLOCK)->isEnabled());
    EXPECT_FALSE(run->frame->Action(ID_EDIT_ADD_ITEM)->isEnabled());
}

}  // namespace
