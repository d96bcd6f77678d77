// The passes over the program's windows and the staged lock: which windows
// go and how, and that each box or dialog returns to its caller before the
// next stage runs.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTimer>

#include "lock/AutoLockStages.h"
#include "contract/AutoSaveDialog.h"
#include "EventLoopWait.h"
#include "FakeServices.h"
#include "lock/LockPasses.h"
#include "platform/Prompter.h"
#include "lock/Watchdog.h"

using namespace std::chrono_literals;
using keynest_test::WaitUntil;

namespace {

/// An Item dialog stand-in: saves itself when its fields are valid.
struct AutoSaveTestDialog final : QDialog, IAutoSaveDialog {
    explicit AutoSaveTestDialog(bool valid) : m_valid(valid) {}
    bool SaveSilently() override { return m_valid && (accept(), true); }
    bool m_valid;
};

/// Runs `dialog` modally with `whileOpen` called from inside its loop.
int ExecWith(QDialog& dialog, const std::function<void()>& whileOpen) {
    QTimer::singleShot(0, &dialog, whileOpen);
    return dialog.exec();
}

class LockPassesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_mainFrame.setWindowTitle(QStringLiteral("Keynest"));
        m_mainFrame.show();
    }

    // A dialog, titled as the message boxes are, stands in for the main
    // frame so that being skipped is not merely a matter of its kind.
    QDialog m_mainFrame;
};

TEST_F(LockPassesTest, SecondPassClosesEveryWindowWhateverItsTitleAndSavesValidItemDialogs) {
    for (const int saveCancel : {1, 0}) {
        QPrinter printer;
        QPrintPreviewDialog preview(&printer);
        QPrintDialog print(&printer);
        QPageSetupDialog setup(&printer);
        // No button takes Escape, so it refuses a close request.
        QMessageBox question(QMessageBox::Question, {}, {}, QMessageBox::Yes | QMessageBox::No);
        QWidget helpWindow;
        AutoSaveTestDialog valid(true);
        AutoSaveTestDialog invalid(false);
        const std::vector<QWidget*> windows = {&preview,    &print, &setup,  &question,
                                               &helpWindow, &valid, &invalid};
        for (QWidget* window : windows) window->show();

        EXPECT_EQ(CloseOrSaveDialogs(&m_mainFrame, saveCancel), 7);
        for (QWidget* window : windows) EXPECT_FALSE(window->isVisible());
        for (const QDialog* dialog :
             std::initializer_list<const QDialog*>{&preview, &print, &setup, &question, &invalid}) {
            EXPECT_EQ(dialog->result(), QDialog::Rejected);
        }
        EXPECT_EQ(valid.result(), saveCancel == 1 ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_TRUE(m_mainFrame.isVisible());
    }
}

/// The stages driven by a real time-out; every step is logged in order.
class AutoLockChainTest : public LockPassesTest {
  protected:
    void SetUp() override {
        LockPassesTest::SetUp();
        ASSERT_TRUE(m_dog.Start(&m_stages, m_shell));
    }
    void LockStep() {
        m_log.push_back(QStringLiteral("lock"));
        m_cursorInLock = QApplication::overrideCursor() != nullptr;
        m_dog.SetDogTimeout(kInfinite);
    }
    std::string Log() const { return m_log.join(QStringLiteral(", ")).toStdString(); }

    keynest_test::FakeShellOpener m_shell;
    int m_saveCancel = 1;
    QStringList m_log;
    bool m_cursorInLock = true;
    // Any widget inside the main frame identifies it.
    QWidget m_frameChild{&m_mainFrame};
    CAutoLockStages m_stages{&m_frameChild, [this] { return m_saveCancel; },
                             [this] { LockStep(); }};
    CWatchdog m_dog;
    CQtPrompter m_prompter{&m_mainFrame};
};

TEST_F(AutoLockChainTest, OpenMessageBoxReturnsBeforeTheLock) {
    m_dog.SetDogTimeout(150);
    const int answer =
        m_prompter.Show(QStringLiteral("Delete?"), PromptButtons::YesNo, PromptIcon::Question);
    m_log.push_back(QStringLiteral("box %1").arg(answer));
    ASSERT_TRUE(WaitUntil([&] { return m_log.size() >= 2; }));
    EXPECT_EQ(Log(), "box -1, lock");
    EXPECT_FALSE(m_cursorInLock);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(m_mainFrame.isVisible());
}

TEST_F(AutoLockChainTest, QuestionInsideADialogIsDismissedAndTheDialogFinishesFirst) {
    // A password change whose complexity question is open at the time-out:
    // "not Yes" makes the dialog accept, and it must get to do so before the
    // second stage would cancel it.
    QDialog change;
    change.setWindowTitle(QStringLiteral("Choose Keynest Password"));
    QObject::connect(&change, &QDialog::finished,
                     [&](int result) { m_log.push_back(QStringLiteral("dialog %1").arg(result)); });
    m_dog.SetDogTimeout(150);
    ExecWith(change, [&] {
        const int answer = m_prompter.Show(QStringLiteral("Weak. Change it?"), PromptButtons::YesNo,
                                           PromptIcon::Question);
        m_log.push_back(QStringLiteral("box %1").arg(answer));
        if (answer != kPromptYes) change.accept();
    });
    ASSERT_TRUE(WaitUntil([&] { return m_log.size() >= 3; }));
    EXPECT_EQ(Log(), "box -1, dialog 1, lock");
}

}  // namespace
