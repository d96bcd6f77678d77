#include "ui/files/ExportImport.h"

#include <chrono>
#include <filesystem>
#include <mutex>

#include "contract/Activity.h"
#include "platform/FileChooser.h"
#include "platform/HelpViewer.h"
#include "contract/KeynestEvents.h"
#include "platform/Prompter.h"
#include "platform/WaitCursor.h"
#include "settings/RegistryStore.h"
#include "settings/StoreNames.h"
#include "ui/files/FileReadTexts.h"
#include "ui/items/SaveFailure.h"
#include "vault/AtomicFile.h"
#include "vault/ExportFile.h"
#include "vault/Vault.h"

namespace {

using ListGuard = std::lock_guard<std::recursive_mutex>;

const QString kSamePassword = QStringLiteral(
    "This Import operation can be successful\nonly if you are using the same UnLock \npassword "
    "as when the file was exported.\n\nDo you want to continue?");
const QString kClearFirst = QStringLiteral(
    "Imported information may create duplicate Items \nif your current Items are not cleared out "
    "first.\n\nDo you want to clear your current entries before Import? \n\n(Choosing Yes causes "
    "your current Items to be saved to a\nfile named 'savedbak.kne').");
const QString kReadOnlyBackup =
    QStringLiteral("File\n%1\nis marked Read-Only\n\nDo you want to overwrite it? \n");
const QString kNothingReadable = QStringLiteral(
    "Keynest could not read any Items from the file\n%1\n\nIt is not an export file, it is "
    "damaged, or it was made under another UnLock password. Nothing was imported.");
const QString kNoItems = QStringLiteral("The file\n%1\nholds no Items. Nothing was changed.");
const QString kPartlyRead = QStringLiteral("Keynest could not read %1 of the file\n%2\n\n%3.");
const QString kAddWithoutClearing = QStringLiteral(
    "\n\nYour current Items are cleared only for a file that reads whole, so they stay.\n\n"
    "Do you want to add the %1 that could be read to them?");
const QString kHardenedExportQuestion = QStringLiteral(
    "Write a hardened export file?\n\nYour vault is hardened, so its export file is hardened "
    "too: Argon2id makes every guess at it slow, and a change to it is noticed.\n\nChoose No "
    "only if you need a classic export file. It is much weaker: anyone holding it can try about "
    "a million UnLock passwords a second, and a changed Item goes unnoticed.");
const QString kPartlyImported = QStringLiteral("\n\nThe other %1 imported.");

bool Exists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

QString Counted(int count, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(count).arg(QString::fromLatin1(count == 1 ? one : many));
}

// "Keynest could not read 2 records of the file ..." with the reasons.
QString PartlyReadText(const std::string& path, const ExportReadResult& result) {
    return kPartlyRead.arg(Counted(result.Unread(), "record", "records"), DisplayPath(path),
                           QString::fromStdString(DescribeUnread(result)));
}

}  // namespace

CExportImport::CExportImport(KeynestContext& context, IFileChooser& chooser)
    : m_context(context), m_chooser(chooser) {}

FileChoice CExportImport::Choice(const char* title) {
    std::string initial = m_context.store.GetString(StoreNames::kFileSel, StoreNames::kStarter, "");
    if (initial.empty()) {
        std::error_code error;
        initial = std::filesystem::current_path(error).string() + "/backup";
    }
    return {QString::fromLatin1(title), QStringLiteral("Password Files (*.kne)"),
            QStringLiteral("kne"), initial, kHelpExportImport};
}

bool CExportImport::StillUnlocked() {
    if (m_context.vault.IsUnlocked()) return true;
    ReportSelfLocked(m_context.services.prompter);
    return false;
}

void CExportImport::ReportFileError() {
    m_context.services.prompter.Show(QStringLiteral("Error: could not create file. "),
                                     PromptButtons::Ok, PromptIcon::None);
}

void CExportImport::OnExportToFile() {
    m_context.activity.SignalActivity();
    Q_EMIT m_context.events.ShowEveryItem();

    ExportFormat format = m_context.vault.DefaultExportFormat();
    if (format == ExportFormat::kHardened && ClassicExportFits()) {
        const int answer = m_context.services.prompter.Show(
            kHardenedExportQuestion, PromptButtons::YesNo, PromptIcon::Question);
        if (answer == kPromptDismissed || !StillUnlocked()) return;
        if (answer == kPromptNo) format = ExportFormat::kKeyText;
    }

    const std::string chosen = m_chooser.ChooseSaveFile(Choice("Export"));
    if (chosen.empty() || !StillUnlocked()) return;
    const std::string path = WithDefaultExtension(chosen);

    bool written = false;
    {
        CWaitCursor wait;
        ListGuard guard(m_context.listLock);
        written = WriteExportFile(path, m_context.rows, m_context.vault, format);
    }
    if (!written) {
        ReportFileError();
        return;
    }
    m_context.store.SetString(StoreNames::kFileSel, StoreNames::kStarter, path);
}

bool CExportImport::ClassicExportFits() {
    ListGuard guard(m_context.listLock);
    return m_context.vault.KeyTextRefusal(m_context.rows) == ConvertRefusal::kNone;
}

void CExportImport::OnImportFromFile() {
    m_context.activity.SignalActivity();

    IPrompter& prompter = m_context.services.prompter;
    if (prompter.Show(kSamePassword, PromptButtons::YesNo, PromptIcon::Question) != kPromptYes) {
        return;
    }
    const int clearAnswer = prompter.Show(kClearFirst, PromptButtons::YesNo, PromptIcon::Question);
    // Dismissed rather than answered: the program is locking itself.
    if (clearAnswer == kPromptDismissed) return;
    bool clearFirst = clearAnswer == kPromptYes;

    std::string path = m_chooser.ChooseOpenFile(Choice("Import"));
    if (path.empty() || !StillUnlocked()) return;
    if (!Exists(path)) path = WithDefaultExtension(path);

    // The whole file is read before the list is touched, so a file that
    // cannot be read leaves the list and the store as they were.
    CMemoryItemList staged;
    ExportReadResult result;
    {
        CWaitCursor wait;
        result = ReadExportFile(path, staged, m_context.vault, kFileWaitLimit);
    }
    if (!ReportUnimportable(path, result) || !StillUnlocked()) return;

    // Clearing replaces the Items, so it needs a file that reads whole.
    bool toldUnread = false;
    if (clearFirst && result.Unread() > 0) {
        const QString question = PartlyReadText(path, result) +
                                 kAddWithoutClearing.arg(Counted(result.read, "Item", "Items"));
        if (prompter.Show(question, PromptButtons::YesNo, PromptIcon::Warning) != kPromptYes ||
            !StillUnlocked()) {
            return;
        }
        clearFirst = false;
        toldUnread = true;
    }

    // Asked before the list lock is taken: while a question is open, the
    // inactivity lock may empty the list.
    bool replaceBackup = true;
    const std::string backupPath = BackupPathFor(path);
    if (clearFirst && m_context.rows.RowCount() > 0 && IsReadOnlyFile(backupPath)) {
        replaceBackup = prompter.Show(kReadOnlyBackup.arg(DisplayPath(backupPath)),
                                      PromptButtons::YesNo, PromptIcon::Question) == kPromptYes;
        if (!StillUnlocked()) return;
    }

    // Without a backup the current Items would be stored nowhere: stop.
    if (!MergeRows(path, staged, clearFirst, replaceBackup)) {
        ReportFileError();
        return;
    }
    m_context.store.SetString(StoreNames::kFileSel, StoreNames::kStarter, path);
    SaveOrReport(m_context);
    if (result.Unread() > 0 && !toldUnread) {
        prompter.Show(PartlyReadText(path, result) +
                          kPartlyImported.arg(Counted(result.read, "Item was", "Items were")),
                      PromptButtons::Ok, PromptIcon::Warning);
    }
}

bool CExportImport::ReportUnimportable(const std::string& path, const ExportReadResult& result) {
    IPrompter& prompter = m_context.services.prompter;
    switch (result.error) {
        case ExportReadError::None:
            break;
        case ExportReadError::CannotOpen:
            ReportFileError();
            return false;
        case ExportReadError::NotRegular:
            prompter.Show(FileReadFailureText(path, FileReadStatus::NotRegular), PromptButtons::Ok,
                          PromptIcon::Warning);
            return false;
        case ExportReadError::TimedOut:
            prompter.Show(FileReadFailureText(path, FileReadStatus::TimedOut), PromptButtons::Ok,
                          PromptIcon::Warning);
            return false;
        case ExportReadError::NotExportFile: {
            QString text = kNothingReadable.arg(DisplayPath(path));
            if (result.brokeRules > 0) {
                text += QStringLiteral("\n\n") + QString::fromStdString(DescribeUnread(result)) +
                        QStringLiteral(".");
            }
            prompter.Show(text, PromptButtons::Ok, PromptIcon::Warning);
            return false;
        }
    }
    if (result.read == 0) {
        prompter.Show(kNoItems.arg(DisplayPath(path)), PromptButtons::Ok, PromptIcon::Information);
        return false;
    }
    return true;
}

bool CExportImport::MergeRows(const std::string& importPath, const CMemoryItemList& staged,
                              bool clearFirst, bool replaceBackup) {
    CWaitCursor wait;
    ListGuard guard(m_context.listLock);
    IItemList& rows = m_context.rows;
    if (clearFirst) {
        const bool backedUp =
            SaveBackupFile(importPath, rows, m_context.vault,
                           [replaceBackup](const std::string&) { return replaceBackup; });
        if (!backedUp) return false;
        rows.RemoveAllRows();
    }
    AppendRows(staged, rows);
    return true;
}
