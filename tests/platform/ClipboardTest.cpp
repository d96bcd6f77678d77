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

using std::chrono::milliseconds;

QClipboard& Board() { return *QGuiApplication::clipboard(); }

TEST(ClipboardTest, CopiedPasswordIsMarkedSecret) {
    CQtClipboard clipboard;
    clipboard.SetText("pw-\xC3\xA9");
    const QMimeData* data = Board().mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->text(), QStringLiteral("pw-\u00E9"));
    EXPECT_EQ(data->data(QStringLiteral("x-kde-passwordManagerHint")), QByteArray("secret"));
}

TEST(ClipboardTest, ClearedAfterTheTimeOrAtExitOnlyWhileStillOurs) {
    const struct {
        const char* name;
        int delayMs;       // 0: never by time
        bool otherCopy;    // someone copies a text of their own afterwards
        bool exitProgram;  // the clipboard object goes, as at exit
        const char* left;  // on the clipboard at the end
    } cases[] = {
        {"time", 50, false, false, ""},      {"time, replaced", 50, true, false, "mine"},
        {"never", 0, false, false, "pw"},    {"exit", 0, false, true, ""},
        {"exit, replaced", 0, true, true, "mine"},
    };
    for (const auto& c : cases) {
        auto clipboard = std::make_unique<CQtClipboard>();
        clipboard->SetClearDelay([&c] { return milliseconds(c.delayMs); });
        clipboard->SetText("pw");
        if (c.otherCopy) Board().setText(QStringLiteral("mine"));
        if (c.exitProgram) clipboard.reset();
        keynest_test::RunEventsFor(milliseconds(200));
        EXPECT_EQ(Board().text(), QString::fromLatin1(c.left)) << c.name;
    }
}

}  // namespace
