// The UnLock dialog driven through its real widgets: its texts, refusing an
// empty box, handing back the typed bytes, the shutdown request and its place.

#include <gtest/gtest.h>

#include <QLabel>
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
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("UnLock Keynest"));
    EXPECT_EQ(dlg.findChild<QLabel*>()->text(), QStringLiteral("Enter Keynest Password"));
    EXPECT_EQ(Edit()->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(Child<QPushButton>(&dlg, "okButton")->isDefault());
    dlg.show();
    Child(&dlg, "cancelButton")->setFocus();
    Press(&dlg, "okButton");
    EXPECT_EQ(prompter.texts, QStringList{QStringLiteral("Enter your Keynest Password. ")});
    EXPECT_EQ(prompter.icons, std::vector<PromptIcon>{PromptIcon::None});
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), 0);
    EXPECT_EQ(dlg.focusWidget(), Edit());

    // Typing afterwards and OK accepts.
    Edit()->setText(QStringLiteral("Secret12"));
    Press(&dlg, "okButton");
    EXPECT_EQ(prompter.texts.size(), 1);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.Password(), "Secret12");
}

TEST_F(UnlockDlgTest, PasswordComesBackAsUtf8AndNeverLongerThanAKey) {
    dlg.m_strPassword = QStringLiteral("old");
    dlg.show();
    EXPECT_EQ(Edit()->text(), QStringLiteral("old"));  // member loaded on opening

    // Nothing over 16 bytes could match, so the box takes no more.
    Edit()->clear();
    Edit()->insert(QStringLiteral("p\u00E4ssw\u00F6rd-xxxxxx"));
    EXPECT_TRUE(Edit()->text().isEmpty());
    Edit()->insert(QStringLiteral("p\u00E4ssw\u00F6rd-xxxxx"));
    Press(&dlg, "okButton");
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.Password(), "p\xC3\xA4ssw\xC3\xB6rd-xxxxx");
}

TEST_F(UnlockDlgTest, ShutdownOnlyAsksAndCancelRejects) {
    QSignalSpy shutdown(&dlg, &CUnlockDlg::shutdownRequested);
    EXPECT_EQ(Child<QPushButton>(&dlg, "shutdownButton")->text(),
              QStringLiteral("Shutdown Keynest"));
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
