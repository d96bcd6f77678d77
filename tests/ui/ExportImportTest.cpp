// Export and import through real files: the round trip, the backup beside
// the imported file, and every way out that must leave the Items alone.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <tuple>

#include "ContextFixture.h"
#include "platform/FileChooser.h"
#include "ui/files/ExportImport.h"
#include "vault/ExportFile.h"
#include "vault/hardened/HardenedExport.h"

using namespace keynest_test;
using Rows = std::vector<CMemoryItemList::Row>;

namespace {

struct FakeChooser final : IFileChooser {
    std::string ChooseSaveFile(const FileChoice& choice) override { return ChooseOpenFile(choice); }
    std::string ChooseOpenFile(const FileChoice& choice) override {
        asked.push_back(choice.initialPath);
        return answer;
    }
    std::string answer;
    std::vector<std::string> asked;
};

Rows Snapshot(const CMemoryItemList& list) {
    Rows rows;
    for (int row = 0; row < list.RowCount(); ++row) rows.push_back(list.RowAt(row));
    return rows;
}

class ExportImportTest : public ::testing::Test, protected ContextFixture {
  protected:
    ExportImportTest() {
        for (const char* location : {"bank", "Alpha site with a long location"}) {
            const int row = m_rows.AppendRow(location);
            m_rows.SetText(row, kColUrl, std::string("https://") + location);
            m_rows.SetText(row, kColPassword, std::string(location, 4) + "!");
        }
        EXPECT_TRUE(m_vault.SaveAllItems(m_rows));
        original = Snapshot(m_rows);
    }
    Rows Read(const std::string& path) {
        CMemoryItemList read;
        EXPECT_EQ(ReadExportFile(path, read, "secret").error, ExportReadError::None);
        return Snapshot(read);
    }
    Rows Stored() {
        CMemoryItemList read;
        EXPECT_TRUE(m_vault.LoadAllItems(read).ok);
        return Snapshot(read);
    }
    std::string Starter() { return m_store.GetString("FileSel", "Starter", ""); }
    void Run(void (CExportImport::*command)(), std::deque<int> answers, const std::string& path) {
        m_fakes.prompter.answers = std::move(answers);
        chooser.answer = path;
        (feature.*command)();
    }

    FakeChooser chooser;
    CExportImport feature{m_context, chooser};
    Rows original;
};

TEST_F(ExportImportTest, RoundTripAddsOrReplacesAndKeepsABackup) {
    Run(&CExportImport::OnExportToFile, {}, m_dir.File("none/keys.kne"));
    EXPECT_EQ(m_fakes.prompter.texts.back(), QStringLiteral("Error: could not create file. "));
    EXPECT_EQ(chooser.asked.back(), std::filesystem::current_path().string() + "/backup");
    EXPECT_EQ(Starter(), "");
    Run(&CExportImport::OnExportToFile, {}, m_dir.File("keys"));
    const std::string file = m_dir.File("keys.kne");
    const std::string backup = m_dir.File("savedbak.kne");
    EXPECT_EQ(std::filesystem::status(file).permissions(), std::filesystem::perms(0600));
    EXPECT_EQ(Read(file), original);

    Run(&CExportImport::OnImportFromFile, {kPromptYes, kPromptNo}, file);
    EXPECT_EQ(chooser.asked.back(), Starter());
    const Rows doubled{original[0], original[0], original[1], original[1]};
    EXPECT_EQ(Snapshot(m_rows), doubled);
    EXPECT_EQ(Stored(), doubled);
    EXPECT_FALSE(std::filesystem::exists(backup));

    for (int round = 0; round < 2; ++round) {
        const Rows before = Snapshot(m_rows);
        Run(&CExportImport::OnImportFromFile, {kPromptYes, kPromptYes, kPromptYes}, file);
        EXPECT_EQ(Snapshot(m_rows), original);
        EXPECT_EQ(Stored(), original);
        EXPECT_EQ(std::filesystem::status(backup).permissions(), std::filesystem::perms(0400));
        EXPECT_EQ(Read(backup), before);
        // Only the second import finds a read-only backup to ask about.
        const QString question =
            QStringLiteral("File\n%1\nis marked Read-Only\n\nDo you want to overwrite it? \n");
        EXPECT_EQ(m_fakes.prompter.texts.back() == question.arg(QString::fromStdString(backup)),
                  round == 1);
    }
}

// A hardened vault writes a hardened file unless the user asks for the
// weaker classic one, which is offered only while every Password fits it.
TEST_F(ExportImportTest, AHardenedVaultOffersTheClassicFileOnlyWhenAskedAndItFits) {
    ASSERT_TRUE(m_vault.ConvertToHardened(m_rows, KdfParams{64, 1, 1}));
    using Case = std::tuple<int, bool, bool>;  // answer, a long Password, hardened file
    for (const auto& [answer, longPassword, hardened] :
         {Case{kPromptYes, false, true}, Case{kPromptNo, false, false},
          Case{kPromptNo, true, true}}) {
        if (longPassword) m_rows.SetText(0, kColPassword, std::string(20, 'p'));
        m_fakes.prompter.texts.clear();
        Run(&CExportImport::OnExportToFile, {answer}, m_dir.File("out.kne"));
        EXPECT_EQ(m_fakes.prompter.texts.size(), longPassword ? 0 : 1);
        std::ifstream in(m_dir.File("out.kne"), std::ios::binary);
        EXPECT_EQ(IsHardenedExport(std::string(std::istreambuf_iterator<char>(in), {})), hardened);
    }
}

TEST_F(ExportImportTest, CancelOrFailureLeavesItemsAndFilesAlone) {
    const std::string file = m_dir.File("in.kne");
    const std::string backup = m_dir.File("savedbak.kne");
    CMemoryItemList other;  // an import of it would change the list, cleared or not
    other.SetText(other.AppendRow("other"), kColPassword, "secret");
    ASSERT_TRUE(WriteExportFile(file, other, "secret"));
    std::ofstream(m_dir.File("junk.kne")) << "not an export file";
    std::ofstream(m_dir.File("zero.kne")).close();
    std::ofstream(m_dir.File("none.kne")) << std::string("\1\0\0\0", 4);  // no Items
    ASSERT_EQ(::mkfifo(m_dir.File("fifo.kne").c_str(), 0600), 0);
    std::ofstream(backup) << "old";
    std::filesystem::permissions(backup, std::filesystem::perms(0400));
    const struct {
        std::deque<int> answers;
        std::string path;
        const char* lastText;  // in the last message shown
    } cases[] = {
        {{kPromptNo}, file, "This Import"},
        {{kPromptYes, kPromptDismissed}, file, "Imported"},
        {{kPromptYes, kPromptYes}, "", "Imported"},
        {{kPromptYes, kPromptNo}, "", "Imported"},
        {{kPromptYes, kPromptYes}, m_dir.File("junk.kne"), "Keynest could not read"},
        {{kPromptYes, kPromptYes}, m_dir.File("zero.kne"), "Keynest could not read"},
        {{kPromptYes, kPromptYes}, m_dir.File("none.kne"), "holds no Items"},
        {{kPromptYes, kPromptYes}, m_dir.File("fifo.kne"), "is not a regular file"},
        // The read-only backup kept: without a new backup nothing is cleared or imported.
        {{kPromptYes, kPromptYes, kPromptNo}, file, "Error: could not create"},
    };
    for (const auto& c : cases) {
        Run(&CExportImport::OnImportFromFile, c.answers, c.path);
        EXPECT_TRUE(m_fakes.prompter.texts.back().contains(QString::fromLatin1(c.lastText)));
        EXPECT_EQ(Snapshot(m_rows), original) << c.lastText;
        EXPECT_EQ(Stored(), original);
        EXPECT_EQ(Starter(), "");
    }
    // A failed export leaves the earlier file, the read-only backup, alone.
    Run(&CExportImport::OnExportToFile, {}, backup);
    EXPECT_EQ(std::filesystem::file_size(backup), 3U);
}

TEST_F(ExportImportTest, AFileCutShortNeverClearsAndSaysWhatWasLeftOut) {
    const std::string file = m_dir.File("cut.kne");
    std::string bytes;
    ASSERT_TRUE(BuildExportData(m_rows, "secret", bytes));
    std::ofstream(file, std::ios::binary) << bytes.substr(0, bytes.size() - 5);
    const QString unread = QStringLiteral("Keynest could not read 1 record of the file\n") +
                           QString::fromStdString(file) +
                           QStringLiteral("\n\nthe last record cut off by the end of the file.");
    // Clearing asked for: the Items stay, and only a Yes adds the readable one.
    Run(&CExportImport::OnImportFromFile, {kPromptYes, kPromptYes, kPromptNo}, file);
    EXPECT_TRUE(m_fakes.prompter.texts.back().startsWith(unread));
    EXPECT_EQ(Stored(), original);
    Run(&CExportImport::OnImportFromFile, {kPromptYes, kPromptYes, kPromptYes}, file);
    const Rows added{original[0], original[0], original[1]};
    EXPECT_EQ(Stored(), added);
    EXPECT_FALSE(std::filesystem::exists(m_dir.File("savedbak.kne")));
    // Not clearing: imported, then told.
    Run(&CExportImport::OnImportFromFile, {kPromptYes, kPromptNo}, file);
    EXPECT_EQ(m_fakes.prompter.texts.back(),
              unread + QStringLiteral("\n\nThe other 1 Item was imported."));
    EXPECT_EQ(m_rows.RowCount(), 4);
}

}  // namespace
