#include <gtest/gtest.h>

#include <QAction>
#include <QHeaderView>

#include "ProgramFixture.h"
#include "TestSupport.h"

namespace {

using keynest_test::ChooseInDialog;
using keynest_test::Program;
using keynest_test::UnlockInDialog;
using keynest_test::WaitUntil;
using keynest_test::WhenModal;

class StartupTest : public ::testing::Test {
protected:
    keynest_test::TempDir m_dir;
    std::string m_file = m_dir.File("keynest.sqlite");
    keynest_test::FakeServices m_fakes;
};

TEST_F(StartupTest, FirstUseThenUnlockAcrossTwoStarts) {
    {
        ChooseInDialog(QStringLiteral("Sesame2024"));
        Program run(m_file, m_fakes);
        EXPECT_EQ(run.frame->StatusText(CMainFrame::kLockPane), QStringLiteral(" LOCKED "));
        ASSERT_TRUE(WaitUntil([&] { return run.view->IsUnlocked(); }));
        EXPECT_TRUE(m_fakes.prompter.texts.first().startsWith(QStringLiteral("     Welcome to Keynest!")));
        EXPECT_EQ(run.frame->StatusText(CMainFrame::kLockPane), QStringLiteral(" UNLOCKED "));
        EXPECT_EQ(run.store.GetString("Keynest", "Password", "").size(), 32u);

        const int row = run.view->Model().AppendRow("example.org");
        run.view->Model().SetText(row, kColPassword, "pa55word");
        ASSERT_TRUE(run.view->SaveAllItems());
    }
    {
        UnlockInDialog(QStringLiteral("Sesame2024"));
        Program run(m_file, m_fakes);
        ASSERT_TRUE(WaitUntil([&] { return run.view->IsUnlocked(); }));
        ASSERT_EQ(run.view->Model().RowCount(), 1);
        EXPECT_EQ(run.view->Model().GetText(0, kColLocation), "example.org");
        EXPECT_EQ(run.view->Model().GetText(0, kColPassword), "pa55word");
    }
}

TEST_F(StartupTest, WrongOrCaseChangedOrOverlongPasswordsStayLocked) {
    {
        ChooseInDialog(QStringLiteral("Sesame2024"));
        Program run(m_file, m_fakes);
        ASSERT_TRUE(WaitUntil([&] { return run.view->IsUnlocked(); }));
    }
    for (const QString& typed : {QStringLiteral("Sesame2025"), QStringLiteral("SESAME2024"),
                                 QStringLiteral("Sesame2024xxxxxxx")}) {
        m_fakes.prompter.texts.clear();
        UnlockInDialog(typed);
        Program run(m_file, m_fakes);
        ASSERT_TRUE(WaitUntil([&] { return !m_fakes.prompter.texts.isEmpty(); })) << typed.toStdString();
        EXPECT_EQ(m_fakes.prompter.texts.last(),
                  QStringLiteral("The Password you entered is not correct. \n\nUse menu pick File > "
                                 "UnLock to try again. "));
        EXPECT_FALSE(run.view->IsUnlocked());
        EXPECT_EQ(run.frame->StatusText(CMainFrame::kLockPane), QStringLiteral(" LOCKED "));
    }
}

TEST_F(StartupTest, CancelledUnlockAdvisesOncePerRunAndFileUnlockAsksAgain) {
    {
        ChooseInDialog(QStringLiteral("Sesame2024"));
        Program run(m_file, m_fakes);
        ASSERT_TRUE(WaitUntil([&] { return run.view->IsUnlocked(); }));
    }
    m_fakes.prompter.texts.clear();
    WhenModal<CUnlockDlg>([](CUnlockDlg* dialog) { dialog->reject(); });
    Program run(m_file, m_fakes);
    const QString advice = QStringLiteral("You can unlock Keynest later. \n\nUse menu pick File > UnLock. ");
    ASSERT_TRUE(WaitUntil([&] { return m_fakes.prompter.texts.contains(advice); }));

    WhenModal<CUnlockDlg>([](CUnlockDlg* dialog) { dialog->reject(); });
    run.frame->Action(ID_FILE_UNLOCK)->trigger();
    EXPECT_EQ(m_fakes.prompter.texts.count(advice), 1);

    UnlockInDialog(QStringLiteral("Sesame2024"));
    run.frame->Action(ID_FILE_UNLOCK)->trigger();
    EXPECT_TRUE(run.view->IsUnlocked());
    EXPECT_FALSE(run.frame->Action(ID_FILE_UNLOCK)->isEnabled());
}

TEST_F(StartupTest, ColumnWidthsAreWrittenAtCloseAndUsedAtTheNextStart) {
    {
        WhenModal<CChoosePasswordDlg>([](CChoosePasswordDlg* dialog) { dialog->reject(); });
        Program run(m_file, m_fakes);
        // Welcome, then the help offer after the cancelled choice.
        ASSERT_TRUE(WaitUntil([&] { return m_fakes.prompter.texts.size() >= 2; }));
        run.view->header()->resizeSection(0, 123);
        run.frame->close();
        EXPECT_EQ(run.store.GetInt("List", "col0", 0), 123);
    }
    WhenModal<CChoosePasswordDlg>([](CChoosePasswordDlg* dialog) { dialog->reject(); });
    Program again(m_file, m_fakes);
    EXPECT_EQ(again.view->header()->sectionSize(0), 123);
}

}  // namespace
