// Export and import through real files: the round trip, the backup beside
// the imported file, and every way out that must leave the Items alone.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QWidget>
#include <filesystem>
#include <fstream>

#include "FakeServices.h"
#include "TestSupport.h"
#include "platform/Activity.h"
#include "platform/FileChooser.h"
#include "platform/KeynestEvents.h"
#include "settings/Preferences.h"
#include "settings/StoreNames.h"
#include "ui/ExportImport.h"
#include "vault/ExportFile.h"
#include "vault/Vault.h"

using namespace keynest_test;
using Rows = std::vector<CMemoryItemList::Row>;

namespace {

struct FakeActivity final : IActivity {
    void SignalActivity() override {}
    void SetDogTimeout(std::uint32_t) override {}
    void RequestLaunch(const std::string&) override {}
};

struct FakeChooser final : IFileChooser {
    std::string ChooseSaveFile(const FileChoice& choice) override { return Answer(choice); }
    std::string ChooseOpenFile(const FileChoice& choice) override { return Answer(choice); }
    std::string Answer(const FileChoice& choice) {
        asked.push_back(choice.initialPath);
        if (onChoose) onChoose();
        return answer;
    }
    std::string answer;
    std::vector<std::string> asked;
    std::function<void()> onChoose;
};

Rows Snapshot(const CMemoryItemList& list) {
    Rows rows;
    for (int row = 0; row < list.RowCount(); ++row) rows.push_back(list.RowAt(row));
    return rows;
}

unsigned Mode(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 0777U : 0U;
}

class ExportImportTest : public ::testing::Test, protected TempStore {
  protected:
    void SetUp() override {
        ASSERT_TRUE(vault.ChooseFirstPassword("pw"));
        for (const char* location : {"bank", "Alpha site with a long location"}) {
            const int row = rows.AppendRow(location);
            rows.SetText(row, kColUrl, std::string("https://") + location);
            rows.SetText(row, kColPassword, std::string(location, 4) + "!");
        }
        ASSERT_TRUE(vault.SaveAllItems(rows));
        original = Snapshot(rows);
    }
    Rows Stored() {
        CMemoryItemList loaded;
        EXPECT_TRUE(vault.LoadAllItems(loaded));
        return Snapshot(loaded);
    }
    Rows ReadFile(const std::string& path) {
        CMemoryItemList read;
        EXPECT_EQ(ReadExportFile(path, read, "pw").error, ExportReadError::None);
        return Snapshot(read);
    }
    std::string Starter() {
        return m_store.GetString(StoreNames::kFileSel, StoreNames::kStarter, "");
    }
    void Import(std::deque<int> answers, const std::string& path) {
        fakes.prompter.answers = std::move(answers);
        chooser.answer = path;
        feature.OnImportFromFile();
    }

    CVault vault{m_store};
    CMemoryItemList rows;
    std::recursive_mutex lock;
    Preferences prefs;
    FakeServices fakes;
    FakeActivity activity;
    CKeynestEvents events;
    QWidget parent;
    KeynestContext context{vault,    rows,   lock,  prefs, m_store, fakes.AsServices(),
                           activity, events, parent};
    FakeChooser chooser;
    CExportImport feature{context, chooser};
    Rows original;
};

TEST_F(ExportImportTest, RoundTripAddsOrReplacesAndKeepsABackup) {
    chooser.answer = m_dir.File("keys");
    feature.OnExportToFile();
    const std::string file = m_dir.File("keys.kne");
    const std::string backup = m_dir.File("savedbak.kne");
    EXPECT_EQ(chooser.asked.back(), std::filesystem::current_path().string() + "/backup");
    EXPECT_EQ(Mode(file), 0600U);
    EXPECT_EQ(Starter(), file);
    EXPECT_EQ(ReadFile(file), original);

    Import({kPromptYes, kPromptNo}, file);
    EXPECT_EQ(chooser.asked.back(), file);
    const Rows doubled{original[0], original[0], original[1], original[1]};
    EXPECT_EQ(Snapshot(rows), doubled);
    EXPECT_EQ(Stored(), doubled);
    EXPECT_FALSE(std::filesystem::exists(backup));

    for (int round = 0; round < 2; ++round) {
        const Rows before = Snapshot(rows);
        Import({kPromptYes, kPromptYes, kPromptYes}, file);
        EXPECT_EQ(Snapshot(rows), original);
        EXPECT_EQ(Stored(), original);
        EXPECT_EQ(Mode(backup), 0400U);
        EXPECT_EQ(ReadFile(backup), before);
        // Only the second import finds a read-only backup to ask about.
        const QString question =
            QStringLiteral("File\n%1\nis marked Read-Only\n\nDo you want to overwrite it? \n");
        EXPECT_EQ(fakes.prompter.texts.back() == question.arg(QString::fromStdString(backup)),
                  round == 1);
    }
}

TEST_F(ExportImportTest, CancelOrFailureLeavesItemsAlone) {
    const std::string file = m_dir.File("in.kne");
    CMemoryItemList other;  // an import of it would change the list, cleared or not
    other.SetText(other.AppendRow("other"), kColPassword, "secret");
    ASSERT_TRUE(WriteExportFile(file, other, "pw"));
    std::ofstream(m_dir.File("junk.kne")) << "not an export file";
    const QString fileError = QStringLiteral("Error: could not create file. ");
    enum Backup { None, ReadOnly, Folder };
    const struct {
        std::deque<int> answers;
        std::string path;
        Backup backup;
        bool lockWhileChoosing;
        QString lastText;  // starts the last message shown
    } cases[] = {
        {{kPromptNo}, file, None, false, QStringLiteral("This Import")},
        {{kPromptYes, kPromptDismissed}, file, None, false, QStringLiteral("Imported")},
        {{kPromptYes, kPromptYes}, "", None, false, QStringLiteral("Imported")},
        {{kPromptYes, kPromptNo}, "", None, false, QStringLiteral("Imported")},
        {{kPromptYes, kPromptNo}, file, None, true, QStringLiteral("Keynest has already")},
        {{kPromptYes, kPromptNo}, m_dir.File("missing.kne"), None, false, fileError},
        {{kPromptYes, kPromptYes},
         m_dir.File("junk.kne"),
         None,
         false,
         QStringLiteral("Keynest could not read")},
        {{kPromptYes, kPromptYes, kPromptNo}, file, ReadOnly, false, fileError},
        {{kPromptYes, kPromptYes}, file, Folder, false, fileError},
    };
    const std::string backup = m_dir.File("savedbak.kne");
    for (const auto& c : cases) {
        std::filesystem::remove_all(backup);
        if (c.backup == Folder) std::filesystem::create_directory(backup);
        if (c.backup == ReadOnly) {
            std::ofstream(backup) << "old";
            ::chmod(backup.c_str(), 0400);
        }
        chooser.onChoose = [&] {
            if (c.lockWhileChoosing) vault.Lock();
        };
        Import(c.answers, c.path);
        EXPECT_TRUE(fakes.prompter.texts.back().startsWith(c.lastText))
            << fakes.prompter.texts.back().toStdString();
        if (c.lockWhileChoosing) {
            ASSERT_TRUE(vault.Unlock("pw"));
        }
        EXPECT_EQ(Snapshot(rows), original);
        EXPECT_EQ(Stored(), original);
        EXPECT_EQ(Starter(), "");
    }
}

TEST_F(ExportImportTest, FailedExportKeepsEarlierFileAndPlace) {
    for (const std::string& path : {m_dir.File("none/keys.kne"), m_dir.File("locked.kne")}) {
        std::ofstream(m_dir.File("locked.kne")) << "earlier";
        ::chmod(m_dir.File("locked.kne").c_str(), 0400);
        chooser.answer = path;
        feature.OnExportToFile();
        EXPECT_EQ(fakes.prompter.texts.back(), QStringLiteral("Error: could not create file. "));
        EXPECT_EQ(Starter(), "");
        EXPECT_EQ(std::filesystem::file_size(m_dir.File("locked.kne")), 7U);
    }
}

}  // namespace
