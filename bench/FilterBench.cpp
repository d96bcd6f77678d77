// Speed of the find box: one keystroke's filtering of a list of 10,000
// Items in the real main view, with and without the layout and repaint
// that follow. Run with QT_QPA_PLATFORM=offscreen; prints the median and
// the slowest keystroke of several typed words, each typed several times.

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "BenchView.h"
#include "app/KeynestView.h"
#include "settings/RegistryStore.h"
#include "ui/list/ItemListModel.h"
#include "ui/list/ItemListView.h"

namespace {

using bench_clock::Milliseconds;
using bench_clock::Report;
using bench_clock::ThreadCpuMs;

constexpr int kItems = 10000;
constexpr int kRounds = 5;
const std::array<const char*, 12> kWords = {"amazon", "bank",  "mail",    "forum", "shop",
                                            "cloud",  "travel", "library", "school", "games",
                                            "music",  "photo"};

// Items whose texts mix the words, so that every typed letter hides and
// shows rows all over the list.
void FillList(CItemListModel& rows) {
    unsigned seed = 12345;
    const auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % kWords.size();
    };
    for (int i = 0; i < kItems; ++i) {
        const std::string word = kWords[next()];
        const int row = rows.AppendRow(word + " " + std::to_string(i));
        rows.SetText(row, kColUrl, "https://www." + std::string(kWords[next()]) + ".example/");
        rows.SetText(row, kColUserId, "user" + std::to_string(i) + "@" + kWords[next()] + ".net");
        rows.SetText(row, kColHint, std::string("the ") + kWords[next()] + " one");
        rows.SetText(row, kColNote, "nothing to see");
        rows.SetText(row, kColPassword, "pw" + std::to_string(i));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    BenchView bench;
    CKeynestView& view = bench.view;
    FillList(view.Model());
    QApplication::processEvents();

    std::vector<double> filterOnly;
    std::vector<double> withPaint;
    std::vector<double> filterWall;
    QLineEdit& box = view.FindBox();
    for (int round = 0; round < kRounds; ++round) {
        for (const char* word : {"a", "ma", "bank", "ibrary", "user12", "xyz"}) {
            const std::string text = word;
            for (size_t length = 1; length <= text.size(); ++length) {
                const QString typed = QString::fromStdString(text.substr(0, length));
                const double start = ThreadCpuMs();
                const auto wallStart = std::chrono::steady_clock::now();
                box.setText(typed);
                const double filtered = ThreadCpuMs();
                const auto wallFiltered = std::chrono::steady_clock::now();
                QApplication::processEvents();
                view.repaint();
                filterOnly.push_back(filtered - start);
                withPaint.push_back(ThreadCpuMs() - start);
                filterWall.push_back(Milliseconds(wallFiltered - wallStart));
            }
            box.clear();
            QApplication::processEvents();
        }
    }
    std::printf("%d Items, %d rounds\n", kItems, kRounds);
    Report("filter, CPU time", filterOnly, "keystrokes");
    Report("filter, wall time", filterWall, "keystrokes");
    Report("filter, layout and repaint, CPU", withPaint, "keystrokes");
    return 0;
}
