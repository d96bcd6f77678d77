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
    const std::string web = "https://keynest.example.org";
    using enum HandlerOutcome;
    // The link text, its target, whether its handler starts and how it ends.
    const std::tuple<QString, std::string, bool, HandlerOutcome> cases[] = {
        {kMail, mailto, true, Succeeded},
        {QStringLiteral("mailto:") + kMail, mailto, true, Succeeded},
        {QString::fromStdString(web), web, true, Succeeded},
        {kMail, mailto, true, Running},  // a handler in the foreground has shown the target
        {kMail, mailto, false, Succeeded},
        {kMail, mailto, true, Failed}};
    for (const auto& [text, target, starts, ends] : cases) {
        FakeShellOpener shell;
        shell.opens = starts;
        shell.ends = ends;
        int visited = 0;
        CStaticLink link(text, visited, shell);
        link.OnClicked();
        link.OnClicked();
        EXPECT_EQ(shell.Urls(), (std::vector<std::string>{target, target}));
        EXPECT_TRUE(WaitUntil([&] { return !link.IsOpening(); }, 2 * kGrace));
        const bool opened = starts && ends != Failed;
        EXPECT_EQ(visited, opened ? 1 : 0);
        EXPECT_EQ(link.TextColour(), opened ? kPurple : kBlue);
    }
}
