// The About box's links: their targets, the visited colour that lasts the
// run, and a failed open.

#include <gtest/gtest.h>

#include "ContextFixture.h"
#include "EventLoopWait.h"
#include "ModalDriver.h"
#include "extras/AboutDlg.h"
#include "extras/ExtraCommands.h"
#include "extras/StaticLink.h"

using namespace keynest_test;
using namespace std::chrono_literals;

namespace {

const QColor kBlue(0, 0, 255);
const QColor kPurple(128, 0, 128);
const QString kMail = QStringLiteral("support@keynest.example.org");

}  // namespace

class AboutDlgTest : public ::testing::Test, public ContextFixture {};

TEST_F(AboutDlgTest, TargetsGetOneMailtoAndOnlyASuccessfulOpenTurnsPurple) {
    const std::string mailto = "mailto:" + kMail.toStdString();
    struct Case {
        QString text;
        std::string target;
        bool opens;
    } cases[] = {
        {kMail, mailto, true},
        {QStringLiteral("mailto:") + kMail, mailto, true},
        {QStringLiteral("https://keynest.example.org"), "https://keynest.example.org", true},
        {kMail, mailto, false}};
    for (const Case& c : cases) {
        FakeShellOpener shell;
        shell.opens = c.opens;
        int visited = 0;
        CStaticLink link(c.text, visited, shell);
        link.OnClicked();
        link.OnClicked();
        EXPECT_EQ(shell.Urls(), (std::vector<std::string>{c.target, c.target}));
        EXPECT_EQ(visited, c.opens ? 1 : 0);
        EXPECT_EQ(link.TextColour(), c.opens ? kPurple : kBlue);
    }
}
