#include "ui/files/ForeignFiles.h"

#include <algorithm>

#include <filesystem>
#include <mutex>

#include "contract/Activity.h"
#include "contract/KeynestEvents.h"
#include "importers/CsvExport.h"
#include "importers/ImportPlan.h"
#include "platform/FileChooser.h"
#include "platform/HelpViewer.h"
#include "platform/Prompter.h"
#include "platform/WaitCursor.h"
#include "settings/RegistryStore.h"
#include "settings/StoreNames.h"
#include "ui/files/FileReadTexts.h"
#include "ui/files/ImportPreviewDlg.h"
#include "ui/items/SaveFailure.h"
#include "vault/AtomicFile.h"
#include "vault/ExportFile.h"
#include "vault/Vault.h"

namespace {

using ListGuard = std::lock_guard<std::recursive_mutex>;

constexpr mode_t kCsvFileMode = 0600;

const QString kPlainTextWarning = QStringLiteral(
    "You are about to write all your passwords in plain text to a CSV file. Anyone who can read "
    "the file can read every password in it.\n\nAre you sure you want to do this?");
const QString kNotReadable =
    QStringLiteral("The file\n%1\ncannot be imported: %2.\n\nNothing was imported.");

// True when a hardened vault would take a record this one refuses.
bool RefusedForClassicVault(const ImportPlan& plan) {
    return std::any_of(plan.skipped.begin(), plan.skipped.end(), [](const ImportPlan::Skipped& skipped) {
        return skipped.kind == ImportPlan::SkipKind::kNeedsHardenedVault;
    });
}

}  // namespace

CForeignFiles::CForeignFiles(KeynestContext& context, IFileChooser& chooser)
    : m_context(context), m_chooser(chooser) {}

FileChoice CForeignFiles::Choice(const char* title, const char* filter, const char* fileName) const {
    // The folder of Keynest's own last export or import file, else the current one.
    std::error_code error;
    std::filesystem::path folder = std::filesystem::current_path(error);
    const std::string last = m_context.store.GetString(StoreNames::kFileSel, StoreNames::kStarter, "");
    if (!last.empty()) folder = std::filesystem::path(last).parent_path();
    return {QString::fromLatin1(title), QString::fromLatin1(filter), QStringLiteral("csv"),
            (folder / fileName).string(), kHelpExportImport};
}

bool CForeignFiles::StillUnlocked() {
    if (m_context.vault.IsUnlocked()) return true;
    ReportSelfLocked(m_context.services.prompter);
    return false;
}

bool CForeignFiles::ReadChosenFile(const std::string& path, std::string& bytes) {
    FileReadStatus status = FileReadStatus::Ok;
    {
        CWaitCursor wait;
        status = ReadRegularFileWithin(path, kMaxExportFileBytes, kFileWaitLimit, bytes);
    }
    if (status == FileReadStatus::Ok) return true;
    m_context.services.prompter.Show(FileReadFailureText(path, status), PromptButtons::Ok,
                                     PromptIcon::Warning);
    return false;
}

void CForeignFiles::OnImportFromProgram() {
    m_context.activity.SignalActivity();
    const std::string path = m_chooser.ChooseOpenFile(
        Choice("Import From Another Program",
               "Exported Passwords (*.csv *.json *.CSV *.JSON);;All Files (*)", ""));
    if (path.empty() || !StillUnlocked()) return;

    // The whole file is read and planned before the list is touched: a file
    // that does not read to its end imports nothing.
    std::string bytes;
    if (!ReadChosenFile(path, bytes)) return;
    ForeignFile file;
    std::string error;
    const bool read = ReadForeignFile(bytes, ForeignFormat::kAuto, file, error);
    WipeString(bytes);
    if (!read) {
        m_context.services.prompter.Show(kNotReadable.arg(DisplayPath(path), QString::fromStdString(error)),
                                         PromptButtons::Ok, PromptIcon::Warning);
        return;
    }
    if (!StillUnlocked()) return;

    const ImportPlan plan = [this, &file] {
        CWaitCursor wait;
        CMemoryItemList existing;
        {
            ListGuard guard(m_context.listLock);
            AppendRows(m_context.rows, existing);
        }
        return PlanImport(file, existing, m_context.vault.PasswordRule());
    }();
    const bool hardenHint =
        m_context.vault.Format() == VaultFormat::kKeyText && RefusedForClassicVault(plan);

    // A lock closes the preview as it closes every window; nothing is added then.
    const unsigned locksBefore = m_context.vault.LockCount();
    CImportPreviewDlg preview(DisplayPath(path), file.format, plan, hardenHint,
                              &m_context.dialogParent);
    const int answer = preview.exec();
    m_context.activity.SignalActivity();
    if (answer != QDialog::Accepted || plan.toAdd.RowCount() == 0) return;
    if (!StillUnlocked() || m_context.vault.LockCount() != locksBefore) return;
    {
        CWaitCursor wait;
        ListGuard guard(m_context.listLock);
        AppendRows(plan.toAdd, m_context.rows);
    }
    SaveOrReport(m_context);
}

void CForeignFiles::OnExportToCsv() {
    m_context.activity.SignalActivity();
    Q_EMIT m_context.events.ShowEveryItem();
    if (m_context.services.prompter.Show(kPlainTextWarning, PromptButtons::YesNo,
                                         PromptIcon::Warning) != kPromptYes) {
        return;
    }
    const std::string path = m_chooser.ChooseSaveFile(
        Choice("Export To CSV", "CSV Files (*.csv)", "keynest.csv"));
    if (path.empty() || !StillUnlocked()) return;

    bool written = false;
    {
        CWaitCursor wait;
        std::string data;
        {
            ListGuard guard(m_context.listLock);
            data = BuildCsvExport(m_context.rows);
        }
        // The name may stand for a link or an older file: it is replaced
        // as a name, never written through.
        written = ReplaceFileAtName(path, data, kCsvFileMode, false);
        WipeString(data);
    }
    if (!written) {
        m_context.services.prompter.Show(QStringLiteral("Error: could not create file. "),
                                         PromptButtons::Ok, PromptIcon::None);
    }
}
