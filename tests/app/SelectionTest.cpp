// The PRIMARY selection, which only an X server has: ctest runs this under xvfb-run.

#include <QClipboard>
#include <QTest>

#include "FakeServices.h"
#include "Program.h"
#include "platform/PasswordBox.h"

namespace {

using namespace keynest_test;

bool OwnsSelection() {
    RunEventsFor(std::chrono::milliseconds(100));
    return QGuiApplication::clipboard()->ownsSelection();
}

TEST(SelectionTest, NeitherAClearPasswordBoxNorTheLockLeavesOurTextInThePrimarySelection) {
    QClipboard& clipboard = *QGuiApplication::clipboard();
    if (!clipboard.supportsSelection()) GTEST_SKIP() << "no X server: run under xvfb-run";
    QLineEdit box(QStringLiteral("pw-shown"));
    KeepSelectionPrivate(box);
    box.show();
    QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
    EXPECT_FALSE(OwnsSelection());

    FakeServices fakes;
    FreshProgram run(fakes.AsServices());
    clipboard.setText(QStringLiteral("selected Location"), QClipboard::Selection);
    ASSERT_TRUE(OwnsSelection());
    RejectWhenModal<CUnlockDlg>();
    run.program.frame.OnCommand(ID_FILE_LOCK);
    ASSERT_TRUE(WaitUntil([&] { return !run.program.Unlocked(); }));
    EXPECT_FALSE(OwnsSelection());
}

}  // namespace
