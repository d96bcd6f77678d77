// The Password Health window in the running program: what it lists, the
// Edit dialog it opens, and the lock that closes it.

#include <gtest/gtest.h>

#include <QLabel>
#include <QTableWidget>
#include <QTest>

#include "FakeServices.h"
#include "Program.h"
#include "ui/health/HealthReportDlg.h"
#include "ui/items/ItemDlg.h"

namespace {

using namespace keynest_test;

// The texts of every cell, line by line.
std::vector<QStringList> Lines(const QTableWidget& table) {
    std::vector<QStringList> lines;
    for (int line = 0; line < table.rowCount(); ++line) {
        QStringList cells;
        for (int column = 0; column < table.columnCount(); ++column)
            cells << table.item(line, column)->text();
        lines.push_back(cells);
    }
    return lines;
}

TEST(HealthReportWindowTest, ListsTheFindingsEditsFromTheWindowAndClosesAtLock) {
    FakeServices fakes;
    FreshProgram run(fakes.AsServices());
    Program& program = run.program;

    WhenModal<CHealthReportDlg>([](CHealthReportDlg* dialog) {
        EXPECT_TRUE(
            Child<QLabel>(dialog, "healthSummary")->text().startsWith(u"Nothing to report"));
        dialog->reject();
    });
    program.frame.OnCommand(ID_EDIT_PASSWORD_HEALTH);

    // Location, User ID, Password: one finding each, and one Item to leave out.
    const std::array<std::array<const char*, 3>, 6> items = {
        {{"Bank", "bob", "Sesame2024"},
         {"Forum", "kate", "Tr0ub4dor&3x!Qz"},
         {"Shop", "kate", "Tr0ub4dor&3x!Qz"},
         {"Mail", "alice@example.org", "alice-xK9#vQ2!"},
         {"Games", "", "qwerty123"},
         {"Safe", "", "q7#Vx!m2Lp@9zR4w"}}};
    CItemListModel& rows = program.view->Model();
    for (const auto& [location, userId, password] : items) {
        const int row = rows.AppendRow(location);
        rows.SetText(row, kColUserId, userId);
        rows.SetText(row, kColPassword, password);
    }

    bool edited = false;
    WhenModal<CHealthReportDlg>([&](CHealthReportDlg* dialog) {
        auto* table = Child<QTableWidget>(dialog, "healthTable");
        const std::vector<QStringList> lines = Lines(*table);
        ASSERT_EQ(lines.size(), 5u);
        EXPECT_EQ(lines[0][0], u"Bank");
        EXPECT_TRUE(lines[0][2].startsWith(u"is the UnLock password")) << lines[0][2].toStdString();
        EXPECT_EQ(lines[1][2], lines[2][2]);  // the shared Password's two Items, side by side
        EXPECT_TRUE(lines[1][2].startsWith(u"used by 2 Items (group 1)"))
            << lines[1][2].toStdString();
        for (int line = 0; line < 5; ++line) {
            const QStringList& cells = lines[static_cast<std::size_t>(line)];
            EXPECT_NE(cells[0], u"Safe");
            for (const auto& item : items) {
                EXPECT_FALSE(cells.join(u'|').contains(QString::fromUtf8(item[2])));
            }
            EXPECT_EQ(cells[2].contains(u"contains its User ID"), cells[0] == u"Mail")
                << cells[2].toStdString();
            if (cells[0] == u"Games") table->setCurrentCell(line, 0);
        }
        EXPECT_TRUE(lines[4][3].startsWith(u"poor, ")) << lines[4][3].toStdString();

        // Enter edits the Item of the current line; the report is made again after Save.
        WhenModal<CItemDlg>([&](CItemDlg* item) {
            edited = Box(item, "locationEdit")->text() == u"Games";
            Box(item, "passwordEdit")->setText(QStringLiteral("Zq8!wE3#rT6&yU1x"));
            Press(item, "okButton");
        });
        QTest::keyClick(table, Qt::Key_Return);
        EXPECT_EQ(table->rowCount(), 4);

        RejectWhenModal<CUnlockDlg>();
        program.frame.OnCommand(ID_FILE_LOCK);
    });
    program.frame.OnCommand(ID_EDIT_PASSWORD_HEALTH);
    EXPECT_TRUE(edited);
    ASSERT_TRUE(WaitUntil(
        [&] { return !program.Unlocked() && QApplication::activeModalWidget() == nullptr; }));
    for (QWidget* window : QApplication::topLevelWidgets()) {
        EXPECT_EQ(qobject_cast<CHealthReportDlg*>(window), nullptr);
    }
}

}  // namespace
