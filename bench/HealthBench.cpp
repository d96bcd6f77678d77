// Speed of the Password Health window and of the strength line: the window
// opened over a list of 10,000 Items in the real main view, from the
// command to its first paint, and one keystroke in a password box with its
// strength line. Run with QT_QPA_PLATFORM=offscreen; prints the median and
// the slowest of several runs.

#include <QApplication>
#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "BenchView.h"
#include "app/KeynestView.h"
#include "platform/StrengthLine.h"
#include "settings/RegistryStore.h"
#include "ui/health/HealthCommand.h"
#include "ui/list/ItemListModel.h"

namespace {

using bench_clock::Milliseconds;
using bench_clock::Report;
using bench_clock::ThreadCpuMs;

constexpr int kItems = 10000;
constexpr int kWindowRuns = 5;

// Every Item is reported, the worst case for the window: a third share a
// few Passwords, the rest have short weak ones of their own.
void FillList(CItemListModel& rows) {
    for (int i = 0; i < kItems; ++i) {
        const int row = rows.AppendRow("www.site" + std::to_string(i) + ".example");
        rows.SetText(row, kColUserId, "user" + std::to_string(i) + "@example.org");
        rows.SetText(row, kColPassword,
                     i % 3 == 0 ? "Summer" + std::to_string(2000 + i % 20) + "!"
                                : "p4ss-" + std::to_string(i * 7919));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    BenchView bench;
    CKeynestView& view = bench.view;
    if (!view.Vault().ChooseFirstPassword("bench-unlock")) return 1;
    FillList(view.Model());
    QApplication::processEvents();

    // From the command to the window painted with every line in it.
    std::vector<double> windowCpu;
    std::vector<double> windowWall;
    int lines = 0;
    for (int run = 0; run < kWindowRuns; ++run) {
        const double start = ThreadCpuMs();
        const auto wallStart = std::chrono::steady_clock::now();
        QTimer::singleShot(0, [&] {
            QWidget* window = QApplication::activeModalWidget();
            if (window == nullptr) return;
            window->repaint();
            windowCpu.push_back(ThreadCpuMs() - start);
            windowWall.push_back(Milliseconds(std::chrono::steady_clock::now() - wallStart));
            if (auto* table = window->findChild<QTableWidget*>()) lines = table->rowCount();
            window->close();
        });
        view.Features().health.OnPasswordHealth();
    }

    // One keystroke in a 16- and a 300-character box: the estimate and the line's update.
    QLineEdit box;
    const CStrengthLine line(box, nullptr);
    std::printf("%d Items, %d of them listed, %d window runs\n", kItems, lines, kWindowRuns);
    Report("health window, CPU time", windowCpu, "runs");
    Report("health window, wall time", windowWall, "runs");
    for (const int length : {16, 300}) {
        std::vector<double> keystrokes;
        QString typed;
        for (int i = 0; i < length; ++i) {
            typed += QChar(u"kq7#Vx!m2Lp@9zR4wXe"[i % 19]);
            const double start = ThreadCpuMs();
            box.setText(typed);
            keystrokes.push_back(ThreadCpuMs() - start);
        }
        Report(length == 16 ? "strength line, keystroke up to 16 chars"
                            : "strength line, keystroke up to 300 chars",
               keystrokes, "runs");
    }
    return 0;
}
