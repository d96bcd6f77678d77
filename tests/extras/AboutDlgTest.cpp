// The About box's links: their targets, the visited colour that lasts the
// run, a failed open, and a slow handler that must not hold up the box.

#include <gtest/gtest.h>

#include <thread>

#include "ContextFixture.h"
#include "EventLoopWait.h"
#include "ModalDriver.h"
#include "extras/AboutDlg.h"
#include "extras/ExtraCommands.h"
#include "extras/LinkOpener.h"
#include "extras/StaticLink.h"

using namespace keynest_test;
using namespace std::chrono_literals;

namespace {

const QColor kBlue(0, 0, 255);
const QColor kPurple(128, 0, 128);
const QString kMail = QStringLiteral("support@keynest.example.org");

/// Records the targets as FakeShellOpener does, answering `opens`.
struct Shell final : IShellOpener {
    bool Open(const std::string& url) override { return fake.Open(url) && opens; }
    FakeShellOpener fake;
    bool opens = true;
};

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
        Shell shell;
        shell.opens = c.opens;
        CLinkOpener opener(shell);
        int visited = 0;
        CStaticLink link(c.text, visited, opener);
        link.OnClicked();
        link.OnClicked();
        ASSERT_TRUE(shell.fake.WaitForUrls(2));
        RunEventsFor(20ms);
        EXPECT_EQ(shell.fake.Urls(), (std::vector<std::string>{c.target, c.target}));
        EXPECT_EQ(visited, c.opens ? 1 : 0);
        EXPECT_EQ(link.TextColour(), c.opens ? kPurple : kBlue);
    }
}

TEST_F(AboutDlgTest, OpenedLinkTurnsPurpleForTheRunWithoutHoldingUpTheBox) {
    CExtraCommands commands(m_context);
    WhenModal<CAboutDlg>([this](CAboutDlg* box) {
        // A slow handler: the click returns at once and the colour follows.
        m_fakes.shell.Hold();
        std::thread release([this] {
            std::this_thread::sleep_for(300ms);
            m_fakes.shell.Release();
        });
        const auto start = std::chrono::steady_clock::now();
        box->MailLink().OnClicked();
        EXPECT_LT(std::chrono::steady_clock::now() - start, 200ms);
        EXPECT_EQ(box->MailLink().TextColour(), kBlue);
        EXPECT_TRUE(WaitUntil([box] { return box->MailLink().TextColour() == kPurple; }));
        release.join();
        box->accept();
    });
    commands.OnAppAbout();
    EXPECT_TRUE(m_fakes.prompter.texts.isEmpty());  // the self-test passed

    WhenModal<CAboutDlg>([](CAboutDlg* box) {
        EXPECT_EQ(box->MailLink().TextColour(), kPurple);
        EXPECT_EQ(box->WebLink().TextColour(), kBlue);
        box->accept();
    });
    commands.OnAppAbout();
}
