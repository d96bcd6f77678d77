// The UnLock dialog driven through its real widgets: its texts, refusing an
// empty box, handing back the typed bytes, the shutdown request and its place.

#include <gtest/gtest.h>

#include <QSignalSpy>

#include "FakeServices.h"
#include "ModalDriver.h"
#include "lock/UnlockDlg.h"

namespace {

using keynest_test::Box;
using keynest_test::Child;
using keynest_test::Press;

class UnlockDlgTest : public ::testing::Test {
  protected:
    QLineEdit* Edit() { return Box(&dlg, "passwordEdit"); }

    keynest_test::FakePrompter prompter;
    CUnlockDlg dlg{prompter};
};

TEST_F(UnlockDlgTest, EmptyBoxIsRefusedAndKeepsTheDialogOpen) {
    dlg.show();
    Child(&dlg, "cancelButton")->setFocus();
    Press(&dlg, "okButton");
    EXPECT_EQ(prompter.texts, QStringList{QStringLiteral("Enter your Keynest Password. ")});
    EXPECT_EQ(prompter.icons, std::vector<PromptIcon>{PromptIcon::None});
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), 0);
    EXPECT_EQ(dlg.focusWidget(), Edit());
}

TEST_F(UnlockDlgTest, PasswordComesBackAsUtf8) {
    dlg.m_strPassword = QStringLiteral("old");
    dlg.show();
    EXPECT_EQ(Edit()->text(), QStringLiteral("old"));  // member loaded on opening

    Edit()->clear();
    Edit()->insert(QStringLiteral("p\u00E4ssw\u00F6rd-xxxxx"));
    Press(&dlg, "okButton");
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.Password(), "p\xC3\xA4ssw\xC3\xB6rd-xxxxx");
}

TEST_F(UnlockDlgTest, ShutdownOnlyAsksAndCancelRejects) {
    QSignalSpy shutdown(&dlg, &CUnlockDlg::shutdownRequested);
    dlg.show();
    Edit()->setText(QStringLiteral("typed"));
    Press(&dlg, "shutdownButton");
    // Only the request: the dialog stays until the main window goes down.
    EXPECT_EQ(shutdown.count(), 1);
    EXPECT_TRUE(dlg.isVisible());

    Press(&dlg, "cancelButton");
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(shutdown.count(), 1);
    EXPECT_TRUE(prompter.texts.isEmpty());
}

}  // namespace
