// A copied password is marked for clipboard managers and cleared after the
// set time or at exit, but only while the clipboard still holds it.

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <memory>

#include "EventLoopWait.h"
#include "platform/Clipboard.h"

namespace {

TEST(ClipboardTest, MarkedSecretAndClearedAfterTheTimeOrAtExitOnlyWhileStillOurs) {
    const struct {
        int delayMs;       // 0: never by time
        bool otherCopy;    // someone copies a text of their own afterwards
        bool exitProgram;  // the clipboard object goes, as at exit
        const char* left;  // on the clipboard at the end
    } cases[] = {{50, false, false, ""}, {50, true, false, "mine"}, {0, false, false, "pw-\xC3\xA9"},
                 {0, false, true, ""},   {0, true, true, "mine"}};
    QClipboard& board = *QGuiApplication::clipboard();
    for (const auto& c : cases) {
        auto clipboard = std::make_unique<CQtClipboard>();
        clipboard->SetClearDelay([&c] { return std::chrono::milliseconds(c.delayMs); });
        clipboard->SetText("pw-\xC3\xA9");
        EXPECT_EQ(board.mimeData()->data(QStringLiteral("x-kde-passwordManagerHint")), "secret");
        if (c.otherCopy) board.setText(QStringLiteral("mine"));
        if (c.exitProgram) clipboard.reset();
        keynest_test::RunEventsFor(std::chrono::milliseconds(200));
        EXPECT_EQ(board.text(), QString::fromUtf8(c.left)) << c.delayMs << c.otherCopy;
    }
}

}  // namespace
