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
constexpr std::chrono::milliseconds kGrace(CStaticLink::kHandlerGraceMs);

}  // namespace

class AboutDlgTest : public ::testing::Test, public ContextFixture {};

TEST_F(AboutDlgTest, TargetsGetOneMailtoAndOnlyASuccessfulOpenTurnsPurple) {
    const std::string mailto = "mailto:" + kMail.toStdString();
    using enum HandlerOutcome;
    struct Case {
        QString text;
        std::string target;
        bool starts;
        HandlerOutcome ends;
        bool opened;
    } cases[] = {
        {kMail, mailto, true, Succeeded, true},
        {QStringLiteral("mailto:") + kMail, mailto, true, Succeeded, true},
        {QStringLiteral("https://keynest.example.org"), "https://keynest.example.org", true,
         Succeeded, true},
        // A handler in the foreground has shown the target.
        {kMail, mailto, true, Running, true},
        {kMail, mailto, false, Succeeded, false},
        {kMail, mailto, true, Failed, false}};
    for (const Case& c : cases) {
        FakeShellOpener shell;
        shell.opens = c.starts;
        shell.ends = c.ends;
        int visited = 0;
        CStaticLink link(c.text, visited, shell);
        link.OnClicked();
        link.OnClicked();
        EXPECT_EQ(shell.Urls(), (std::vector<std::string>{c.target, c.target}));
        EXPECT_TRUE(WaitUntil([&] { return !link.IsOpening(); }, 2 * kGrace));
        EXPECT_EQ(visited, c.opened ? 1 : 0);
        EXPECT_EQ(link.TextColour(), c.opened ? kPurple : kBlue);
    }
}
