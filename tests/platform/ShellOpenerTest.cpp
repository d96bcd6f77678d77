// The URL launcher hands a URL to the desktop's handler as one argument and
// never waits for the handler, which may run the browser in the foreground;
// a handler it watches tells how it ended.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>

#include "TestSupport.h"
#include "platform/ShellOpener.h"

namespace {

TEST(ShellOpenerTest, HandsOverEachUrlWithoutWaitingAndTellsHowAWatchedHandlerEnded) {
    keynest_test::TempDir dir;
    const std::string handler = dir.File("slow-browser");
    const std::string record = dir.File("urls");
    // Records its argument count and first argument, then stays in the
    // foreground as a browser would.
    std::ofstream(handler) << "#!/bin/sh\nprintf '%s %s\\n' \"$#\" \"$1\" >> '" << record
                           << "'\nsleep 5\n";
    ::chmod(handler.c_str(), 0700);
    const std::string urls[] = {"https://a.example/?q=1;echo x", "ftp://b.example/$(id) `id` | x"};

    const auto start = std::chrono::steady_clock::now();
    {
        CXdgOpenShell shell(handler);
        for (const std::string& url : urls) EXPECT_TRUE(shell.Open(url));
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));

    std::string recorded;
    for (int tries = 0; tries < 100 && recorded.size() < urls[0].size() + urls[1].size() + 6;
         ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        std::ifstream in(record);
        recorded.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    EXPECT_NE(recorded.find("1 " + urls[0] + "\n"), std::string::npos);
    EXPECT_NE(recorded.find("1 " + urls[1] + "\n"), std::string::npos);
    EXPECT_FALSE(CXdgOpenShell(dir.File("no-such-handler")).Open(urls[0]));

    // A handler started to be watched ends as its exit status says.
    for (const auto& [program, ends] : {std::pair{"true", HandlerOutcome::Succeeded},
                                        std::pair{"false", HandlerOutcome::Failed}}) {
        CXdgOpenShell shell(program);
        const long started = shell.Start(urls[0]);
        HandlerOutcome outcome = HandlerOutcome::Running;
        for (int tries = 0; tries < 200 && outcome == HandlerOutcome::Running; ++tries) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            outcome = shell.OutcomeOf(started);
        }
        EXPECT_EQ(outcome, ends) << program;
    }
}

}  // namespace
