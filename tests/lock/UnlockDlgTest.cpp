// The UnLock dialog driven through its real widgets: refusing an empty box,
// handing back the typed bytes, and the shutdown request.

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>

#include "FakeServices.h"
#include "UnlockDlg.h"

namespace {

class UnlockDlgTest : public ::testing::Test {
  protected:
    template <typename T>
    T* Find(const char* name) {
        T* widget = dlg.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QLineEdit* Edit() { return Find<QLineEdit>("passwordEdit"); }
    void Click(const char* name) { Find<QPushButton>(name)->click(); }

    keynest_test::FakePrompter prompter;
    CUnlockDlg dlg{prompter};
};

TEST_F(UnlockDlgTest, Controls) {
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("UnLock Keynest"));
    bool promptFound = false;
    for (const QLabel* label : dlg.findChildren<QLabel*>()) {
        promptFound = promptFound || label->text() == QStringLiteral("Enter Keynest Password");
    }
    EXPECT_TRUE(promptFound);
    EXPECT_EQ(Edit()->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(Find<QPushButton>("okButton")->isDefault());
    EXPECT_EQ(Find<QPushButton>("shutdownButton")->text(), QStringLiteral("Shutdown Keynest"));
    EXPECT_EQ(Find<QPushButton>("cancelButton")->text(), QStringLiteral("Cancel"));
}

TEST_F(UnlockDlgTest, EmptyBoxIsRefusedAndKeepsTheDialogOpen) {
    dlg.show();
    Find<QPushButton>("cancelButton")->setFocus();
    Click("okButton");
    EXPECT_EQ(prompter.texts, QStringList{QStringLiteral("Enter your Keynest Password. ")});
    EXPECT_EQ(prompter.icons, std::vector<PromptIcon>{PromptIcon::None});
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), 0);
    EXPECT_EQ(dlg.focusWidget(), Edit());

    // Typing afterwards and OK accepts.
    Edit()->setText(QStringLiteral("Secret12"));
    Click("okButton");
    EXPECT_EQ(prompter.texts.size(), 1);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.Password(), "Secret12");
}

TEST_F(UnlockDlgTest, PasswordComesBackAsUtf8WithoutLengthLimit) {
    dlg.m_strPassword = QStringLiteral("old");
    dlg.show();
    EXPECT_EQ(Edit()->text(), QStringLiteral("old"));  // member loaded on opening

    // A text longer than any valid password is taken whole: the check that
    // follows must see it to refuse it.
    const QString text = QStringLiteral("p\u00E4ssw\u00F6rd-") + QString(30, QLatin1Char('x'));
    Edit()->setText(text);
    Click("okButton");
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.m_strPassword, text);
    EXPECT_EQ(dlg.Password(), "p\xC3\xA4ssw\xC3\xB6rd-" + std::string(30, 'x'));
}

TEST_F(UnlockDlgTest, CancelAndShutdown) {
    QSignalSpy shutdown(&dlg, &CUnlockDlg::shutdownRequested);
    dlg.show();
    Edit()->setText(QStringLiteral("typed"));
    Click("shutdownButton");
    // Only the request: the dialog stays until the main window goes down.
    EXPECT_EQ(shutdown.count(), 1);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_TRUE(prompter.texts.isEmpty());

    Click("cancelButton");
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(shutdown.count(), 1);
    EXPECT_TRUE(prompter.texts.isEmpty());
}

TEST(UnlockDlgPlacementTest, CentredOverTheMainWindow) {
    keynest_test::FakePrompter prompter;
    QWidget mainWindow;
    mainWindow.setGeometry(100, 80, 900, 700);
    mainWindow.show();
    CUnlockDlg dlg(prompter, &mainWindow);
    dlg.show();
    const QPoint offset = dlg.frameGeometry().center() - mainWindow.frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 4) << offset.x() << "," << offset.y();
}

}  // namespace
