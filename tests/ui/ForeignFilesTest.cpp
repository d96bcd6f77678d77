// Other programs' files in the desktop: the preview before an import, what
// its OK and Cancel do, files that import nothing, and the CSV export.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ContextFixture.h"
#include "ModalDriver.h"
#include "importers/CsvExport.h"
#include "lock/LockPasses.h"
#include "platform/FileChooser.h"
#include "ui/files/ForeignFiles.h"
#include "ui/files/ImportPreviewDlg.h"

using namespace keynest_test;

namespace {

struct FakeChooser final : IFileChooser {
    std::string ChooseSaveFile(const FileChoice& choice) override { return ChooseOpenFile(choice); }
    std::string ChooseOpenFile(const FileChoice&) override { return answer; }
    std::string answer;
};

// What the preview showed, read before it was answered.
struct Preview {
    QString summary;
    std::vector<QStringList> skipped;  // Location, reason
    bool hardenHint = false;
    bool offersOk = false;
};

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class ForeignFilesTest : public ::testing::Test, protected ContextFixture {
  protected:
    ForeignFilesTest() {
        AddRows({"bank"});
        EXPECT_TRUE(m_vault.SaveAllItems(m_rows));
        std::ofstream(m_dir.File("keepass.csv"), std::ios::binary)
            << "\"Group\",\"Title\",\"Username\",\"Password\",\"URL\",\"Notes\"\r\n"
               "\"Web\",\"Forum\",\"ann\",\"f0rum!\",\"https://forum.example\",\"a, note\"\r\n"
               "\"Web\",\"bank\",\"\",\"pw-bank\",\"\",\"\"\r\n"
               "\"Web\",\"Mail\",\"ann\",\"a-password-of-26-bytes-xyz\",\"\",\"\"\r\n"
               "\"Web\",\"\",\"ann\",\"nowhere-pw\",\"\",\"\"\r\n";
    }
    // Imports `file`, answering the preview with `accept` after `before` ran.
    Preview Import(const std::string& file, bool accept, const std::function<void()>& before = {}) {
        Preview seen;
        WhenModal<CImportPreviewDlg>([&](CImportPreviewDlg* dialog) {
            seen.summary = Child<QLabel>(dialog, "summaryLabel")->text();
            if (auto* list = Child<QTreeWidget>(dialog, "skippedList")) {
                for (int row = 0; row < list->topLevelItemCount(); ++row) {
                    seen.skipped.push_back({list->topLevelItem(row)->text(0), list->topLevelItem(row)->text(1)});
                }
            }
            seen.hardenHint = Child<QLabel>(dialog, "hardenHint") != nullptr;
            seen.offersOk = Child<QPushButton>(dialog, "okButton") != nullptr;
            if (before) before();
            if (accept) {
                dialog->accept();
            } else {
                dialog->reject();
            }
        });
        chooser.answer = file;
        feature.OnImportFromProgram();
        return seen;
    }
    std::vector<std::string> Locations(IItemList& list) {
        std::vector<std::string> locations;
        for (int row = 0; row < list.RowCount(); ++row) locations.push_back(list.GetText(row, kColLocation));
        return locations;
    }
    std::vector<std::string> StoredLocations() {
        CMemoryItemList stored;
        EXPECT_TRUE(m_vault.LoadAllItems(stored).ok);
        return Locations(stored);
    }

    FakeChooser chooser;
    CForeignFiles feature{m_context, chooser};
};

TEST_F(ForeignFilesTest, PreviewCountsAndListsWhatIsLeftOutAndOnlyOkImports) {
    const std::vector<std::string> before{"bank"};
    Preview seen = Import(m_dir.File("keepass.csv"), false);
    EXPECT_TRUE(seen.summary.contains(QStringLiteral("read as KeePassXC CSV.\n\n4 records found: 1 to add, 3 left out.")));
    EXPECT_TRUE(seen.summary.contains(QStringLiteral("1 record: already in the list")));
    ASSERT_EQ(seen.skipped.size(), 3U);
    EXPECT_EQ(seen.skipped[0], (QStringList{QStringLiteral("bank"), QStringLiteral("already in the list")}));
    EXPECT_EQ(seen.skipped[1][0], QStringLiteral("Mail"));
    EXPECT_TRUE(seen.skipped[1][1].contains(QStringLiteral("a hardened vault keeps longer ones")));
    EXPECT_EQ(seen.skipped[2], (QStringList{QStringLiteral("(no Location)"), QStringLiteral("no Location and no URL")}));
    EXPECT_TRUE(seen.hardenHint);
    EXPECT_TRUE(seen.offersOk);
    for (const char* secret : {"f0rum!", "pw-bank", "a-password-of", "nowhere-pw"}) {
        EXPECT_FALSE(seen.summary.contains(QLatin1String(secret)));
        for (const QStringList& row : seen.skipped) EXPECT_FALSE(row.join(QLatin1Char(' ')).contains(QLatin1String(secret)));
    }
    EXPECT_EQ(Locations(m_rows), before);
    EXPECT_EQ(StoredLocations(), before);

    // The lock closes the preview with the other windows; nothing is added,
    // even when OK came before the preview was gone.
    Import(m_dir.File("keepass.csv"), true, [this] {
        m_vault.Lock();
        EXPECT_EQ(CloseOrSaveDialogs(nullptr, 0), 1);
    });
    EXPECT_EQ(Locations(m_rows), before);
    EXPECT_TRUE(m_fakes.prompter.texts.back().contains(QStringLiteral("lock")));
    ASSERT_TRUE(m_vault.Unlock("secret"));

    Import(m_dir.File("keepass.csv"), true);
    const std::vector<std::string> after{"bank", "Forum"};
    EXPECT_EQ(Locations(m_rows), after);
    EXPECT_EQ(StoredLocations(), after);
    EXPECT_EQ(m_rows.GetText(1, kColNote), "a, note");

    // Everything is in the list now: the preview says so and offers only Close.
    seen = Import(m_dir.File("keepass.csv"), true);
    EXPECT_FALSE(seen.offersOk);
    EXPECT_TRUE(seen.summary.contains(QStringLiteral("0 to add")));
}

TEST_F(ForeignFilesTest, AFileThatDoesNotReadWholeImportsNothingAndSaysWhy) {
    std::ofstream(m_dir.File("open.csv")) << "title,password\r\nForum,\"never closed\r\n";
    std::ofstream(m_dir.File("plain.csv")) << "just,some,words\r\n";
    ASSERT_EQ(::mkfifo(m_dir.File("fifo.csv").c_str(), 0600), 0);
    const struct {
        const char* file;
        const char* said;
    } cases[] = {
        {"open.csv", "does not read as CSV to its end"},
        {"plain.csv", "names no Password column"},
        {"fifo.csv", "is not a regular file"},
        {"missing.csv", "cannot open"},
    };
    for (const auto& c : cases) {
        chooser.answer = m_dir.File(c.file);
        feature.OnImportFromProgram();
        EXPECT_TRUE(m_fakes.prompter.texts.back().contains(QLatin1String(c.said))) << c.file;
        EXPECT_TRUE(m_fakes.prompter.texts.back().endsWith(QStringLiteral("Nothing was imported."))) << c.file;
        EXPECT_EQ(Locations(m_rows), std::vector<std::string>{"bank"});
    }
}

TEST_F(ForeignFilesTest, CsvExportAsksFirstAndReplacesALinkWithAPrivateFile) {
    const std::string csv = m_dir.File("out.csv");
    const std::string target = m_dir.File("target");
    std::ofstream(target) << "keep";
    std::filesystem::create_symlink(target, csv);
    chooser.answer = csv;

    m_fakes.prompter.answers = {kPromptNo};
    feature.OnExportToCsv();
    EXPECT_TRUE(m_fakes.prompter.texts.back().contains(QStringLiteral("plain text")));
    EXPECT_TRUE(std::filesystem::is_symlink(csv));

    m_fakes.prompter.answers = {kPromptYes};
    feature.OnExportToCsv();
    EXPECT_FALSE(std::filesystem::is_symlink(csv));
    EXPECT_EQ(std::filesystem::status(csv).permissions(), std::filesystem::perms(0600));
    EXPECT_EQ(Contents(csv), BuildCsvExport(m_rows));
    EXPECT_EQ(Contents(target), "keep");

    chooser.answer = m_dir.File("none/out.csv");
    m_fakes.prompter.answers = {kPromptYes};
    feature.OnExportToCsv();
    EXPECT_EQ(m_fakes.prompter.texts.back(), QStringLiteral("Error: could not create file. "));
}

}  // namespace
