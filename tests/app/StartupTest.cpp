// Starting the program: first use then unlock across two starts, refused
// passwords, a cancelled unlock and column widths kept across starts.

#include <QAction>
#include <QHeaderView>

#include "ProgramFixture.h"

namespace {

using namespace keynest_test;

const QString kPassword = QStringLiteral("Sesame2024");

class StartupTest : public ProgramTest {};

TEST_F(StartupTest, FirstUseThenUnlockAcrossTwoStarts) {
    {
        ChooseInDialog(kPassword);
        Program run(m_file, m_fakes);
        EXPECT_EQ(run.frame->StatusText(CMainFrame::kLockPane), QStringLiteral(" LOCKED "));
        ASSERT_TRUE(WaitUntil([&] { return run.view->IsUnlocked(); }));
        EXPECT_TRUE(
            m_fakes.prompter.texts.first().startsWith(QStringLiteral("     Welcome to Keynest!")));
        EXPECT_EQ(run.frame->StatusText(CMainFrame::kLockPane), QStringLiteral(" UNLOCKED "));
        EXPECT_EQ(run.Check().size(), 32u);
        AddRow(run, "example.org", "pa55word");
    }
    UnlockInDialog(kPassword);
    Program run(m_file, m_fakes);
    ASSERT_TRUE(WaitUntil([&] { return run.view->IsUnlocked(); }));
    ASSERT_EQ(run.Rows().RowCount(), 1);
    EXPECT_EQ(run.Rows().GetText(0, kColLocation), "example.org");
    EXPECT_EQ(run.Rows().GetText(0, kColPassword), "pa55word");
}

TEST_F(StartupTest, WrongOrCaseChangedOrOverlongPasswordsStayLocked) {
    ASSERT_TRUE(StartUnlocked(kPassword)->view->IsUnlocked());
    for (const QString& typed : {QStringLiteral("Sesame2025"), QStringLiteral("SESAME2024"),
                                 QStringLiteral("Sesame2024xxxxxxx")}) {
        SCOPED_TRACE(typed.toStdString());
        m_fakes.prompter.texts.clear();
        UnlockInDialog(typed);
        Program run(m_file, m_fakes);
        ASSERT_TRUE(WaitUntil([&] { return !m_fakes.prompter.texts.isEmpty(); }));
        EXPECT_EQ(m_fakes.prompter.texts.last(),
                  QStringLiteral("The Password you entered is not correct. \n\nUse menu pick "
                                 "File > UnLock to try again. "));
        EXPECT_FALSE(run.view->IsUnlocked());
        EXPECT_EQ(run.frame->StatusText(CMainFrame::kLockPane), QStringLiteral(" LOCKED "));
    }
}

TEST_F(StartupTest, CancelledUnlockAdvisesOncePerRunAndFileUnlockAsksAgain) {
    ASSERT_TRUE(StartUnlocked(kPassword)->view->IsUnlocked());
    m_fakes.prompter.texts.clear();
    RejectWhenModal<CUnlockDlg>();
    Program run(m_file, m_fakes);
    const QString advice =
        QStringLiteral("You can unlock Keynest later. \n\nUse menu pick File > UnLock. ");
    ASSERT_TRUE(WaitUntil([&] { return m_fakes.prompter.texts.contains(advice); }));

    RejectWhenModal<CUnlockDlg>();
    run.frame->Action(ID_FILE_UNLOCK)->trigger();
    EXPECT_EQ(m_fakes.prompter.texts.count(advice), 1);

    UnlockInDialog(kPassword);
    run.frame->Action(ID_FILE_UNLOCK)->trigger();
    EXPECT_TRUE(run.view->IsUnlocked());
    EXPECT_FALSE(run.frame->Action(ID_FILE_UNLOCK)->isEnabled());
}

TEST_F(StartupTest, ColumnWidthsAreWrittenAtCloseAndUsedAtTheNextStart) {
    {
        RejectWhenModal<CChoosePasswordDlg>();
        Program run(m_file, m_fakes);
        // Welcome, then the help offer after the cancelled choice.
        ASSERT_TRUE(WaitUntil([&] { return m_fakes.prompter.texts.size() >= 2; }));
        run.view->header()->resizeSection(0, 123);
        run.frame->close();
        EXPECT_EQ(run.store.GetInt("List", "col0", 0), 123);
    }
    RejectWhenModal<CChoosePasswordDlg>();
    Program again(m_file, m_fakes);
    EXPECT_EQ(again.view->header()->sectionSize(0), 123);
}

}  // namespace
