// Lock now, the find box over the list and hidden passwords in the
// running program.

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QTest>

#include "FakeServices.h"
#include "RunningProgram.h"
#include "lock/UnlockDlg.h"
#include "platform/Clipboard.h"
#include "ui/ItemDlg.h"
#include "ui/ItemListView.h"

namespace {

using namespace keynest_test;

TEST(LockNowFindTest, LockNowInsideAnItemDialogFollowsSaveCancel) {
    for (const int saveCancel : {1, 0}) {
        SCOPED_TRACE(saveCancel);
        FakeServices fakes;
        CQtClipboard clipboard;
        RunningProgram run({fakes.prompter, clipboard, fakes.shell, fakes.help, fakes.random});
        run.view->Prefs().saveCancel = saveCancel;
        run.view->Prefs().createOnAdd = 0;
        clipboard.SetText("copied before the lock");
        bool lockedAndWiped = false;
        WhenModal<CUnlockDlg>([&](CUnlockDlg* dialog) {
            lockedAndWiped = !run.view->Vault().IsUnlocked() && run.Rows().RowCount() == 0 &&
                             QGuiApplication::clipboard()->text().isEmpty();
            Box(dialog, "passwordEdit")->setText(kUnlockPassword);
            Press(dialog, "okButton");
        });
        WhenModal<CItemDlg>([&](CItemDlg* dialog) {
            Box(dialog, "locationEdit")->setText(QStringLiteral("zebra"));
            Box(dialog, "passwordEdit")->setText(QStringLiteral("stripes"));
            run.frame->OnCommand(ID_FILE_LOCK);
        });
        run.frame->OnCommand(ID_EDIT_ADD_ITEM);
        ASSERT_TRUE(WaitUntil([&] { return lockedAndWiped && run.view->Vault().IsUnlocked(); }));
        EXPECT_EQ(run.Rows().RowCount(), saveCancel);
    }
}

TEST(LockNowFindTest, FindBoxFiltersAndCommandsActOnTheShownItems) {
    FakeServices fakes;
    RunningProgram run(fakes.AsServices());
    run.Add({"Amazon", "", "", "", "", "pw-amazon"});
    run.Add({"bank", "", "KAte", "", "", "pw-bank"});
    run.Add({"Cinema", "", "", "ask kat", "", "pw-cinema"});
    run.Add({"dentist", "", "", "", "kat", "pw-dentist"});
    run.Add({"Kattegat", "", "", "", "", "pw-kattegat"});
    CItemListView& list = run.view->List();
    const auto* findPane = run.frame->findChild<QLabel*>(QStringLiteral("findPane"));
    QLineEdit& findBox = run.view->FindBox();

    run.frame->OnCommand(ID_EDIT_FIND);
    QTest::keyClicks(&findBox, QStringLiteral("kAT"));
    EXPECT_EQ(list.ShownRowCount(), 3);
    EXPECT_EQ(findPane->text(), QStringLiteral("3 of 5 Items shown"));

    // The second shown row is Cinema, the model's third.
    list.setCurrentIndex(list.model()->index(1, 0));
    run.frame->OnCommand(ID_EDIT_DELETE_ITEM);
    ASSERT_EQ(run.Rows().RowCount(), 4);
    EXPECT_EQ(run.Rows().GetText(2, kColLocation), "dentist");

    run.frame->OnCommand(ID_VIEW_HIDE_PASSWORDS);
    EXPECT_TRUE(run.frame->Action(ID_VIEW_HIDE_PASSWORDS)->isChecked());
    EXPECT_EQ(list.model()->index(1, kColPassword).data().toString(), QString(8, QChar(0x2022)));
    list.setCurrentIndex(list.model()->index(1, 0));
    run.frame->OnCommand(ID_EDIT_COPY_PASSWORD);
    EXPECT_EQ(fakes.clipboard.text, "pw-kattegat");

    findBox.setFocus();
    QTest::keyClick(&findBox, Qt::Key_Escape);
    EXPECT_TRUE(findBox.text().isEmpty());
    EXPECT_EQ(list.ShownRowCount(), 4);
    EXPECT_TRUE(findPane->isHidden());

    findBox.setText(QStringLiteral("bank"));
    RejectWhenModal<CUnlockDlg>();
    run.frame->OnCommand(ID_FILE_LOCK);
    ASSERT_TRUE(WaitUntil([&] { return !run.view->Vault().IsUnlocked(); }));
    EXPECT_TRUE(findBox.text().isEmpty());
}

}  // namespace
