#include "cli/FileCommands.h"

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>

#include "cli/CliOptions.h"
#include "cli/CliSession.h"
#include "cli/Terminal.h"
#include "vault/ExportFile.h"
#include "vault/Vault.h"

namespace {

bool Exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

std::string Count(int items) { return std::to_string(items) + (items == 1 ? " Item" : " Items"); }

}  // namespace

CFileCommands::CFileCommands(CCliSession& session, CTerminal& terminal, const CliOptions& options)
    : m_session(session), m_terminal(terminal), m_options(options) {}

ExitStatus CFileCommands::Export() {
    ExitStatus status = m_session.Open(false);
    if (status == ExitStatus::Ok) status = m_session.Unlock();
    if (status != ExitStatus::Ok) return status;
    const int items = m_session.Rows().RowCount();
    if (items == 0) return Fail(ExitStatus::NotFound, "there are no Items to export");
    const std::string path = WithDefaultExtension(m_options.file);
    if (Exists(path) && !m_terminal.Confirm(path + " exists. Replace it?", m_options.yes)) {
        return m_terminal.Declined("replacing " + path);
    }
    CVault& vault = m_session.Vault();
    ExportFormat format = vault.DefaultExportFormat();
    if (!m_options.format.empty()) {
        format = m_options.format == "classic" ? ExportFormat::kKeyText : ExportFormat::kHardened;
    }
    if (format == ExportFormat::kKeyText && vault.Format() == VaultFormat::kHardened) {
        if (vault.KeyTextRefusal(m_session.Rows()) != ConvertRefusal::kNone) {
            return Fail(ExitStatus::Usage,
                        "the classic format holds UnLock passwords and Passwords of at most 16 bytes, and "
                        "this vault has longer ones; nothing written");
        }
        std::cerr << "keynest-cli: a classic export file is weaker than the vault: anyone holding it "
                     "can try about a million UnLock passwords a second, and a change to it goes unnoticed\n";
    }
    if (!WriteExportFile(path, m_session.Rows(), vault, format)) {
        return Fail(ExitStatus::Failed, "Error: could not create file. " + path);
    }
    m_session.RememberFile(path);
    const std::string said = "Exported " + Count(items) + " to " + path + ".\n";
    std::fputs(said.c_str(), stdout);
    return ExitStatus::Ok;
}

ExitStatus CFileCommands::RefuseImport(const std::string& path,
                                       const ExportReadResult& result) const {
    switch (result.error) {
        case ExportReadError::None:
            break;
        case ExportReadError::CannotOpen:
            return Fail(ExitStatus::Failed, "cannot open " + path + "; nothing imported");
        case ExportReadError::NotRegular:
        case ExportReadError::TimedOut:
            return Fail(ExitStatus::Failed, path + " is not a regular file; nothing imported");
        case ExportReadError::NotExportFile: {
            std::string why = path +
                              " is not an export file, or was made under another UnLock "
                              "password";
            if (result.brokeRules > 0) why += " (" + DescribeUnread(result) + ")";
            return Fail(ExitStatus::Failed, why + "; nothing imported");
        }
    }
    const int unread = result.Unread();
    if (unread == 0) return ExitStatus::Ok;
    const std::string count = std::to_string(unread) + (unread == 1 ? " record" : " records");
    const std::string why =
        count + " of " + path + " could not be read (" + DescribeUnread(result) + ")";
    if (!m_options.partial) {
        return Fail(ExitStatus::Failed, why + "; nothing imported. --partial imports the " +
                                            Count(result.read) + " that can be read");
    }
    // The current Items go only for a file that replaces them whole.
    if (m_options.clear) {
        return Fail(ExitStatus::Failed,
                    why +
                        "; the current Items are cleared only for a file read whole, so "
                        "nothing was imported. Import without --clear to add the readable "
                        "Items");
    }
    return ExitStatus::Ok;
}

std::string CFileCommands::ImportPath() const {
    std::string path = m_options.file;
    if (!Exists(path) && Exists(WithDefaultExtension(path))) path = WithDefaultExtension(path);
    std::error_code ignored;
    return std::filesystem::absolute(path, ignored).string();
}

ExitStatus CFileCommands::Import() {
    ExitStatus status = m_session.LockForChange();
    if (status == ExitStatus::Ok) status = m_session.Open(false);
    if (status == ExitStatus::Ok) status = m_session.Unlock();
    if (status != ExitStatus::Ok) return status;

    const std::string path = ImportPath();
    CMemoryItemList imported;
    const ExportReadResult result = ReadExportFile(path, imported, m_session.Vault());
    if (const ExitStatus refused = RefuseImport(path, result); refused != ExitStatus::Ok) {
        return refused;
    }
    if (result.read == 0) {
        std::fputs((path + " holds no Items; nothing changed.\n").c_str(), stdout);
        return ExitStatus::Ok;
    }

    std::string skipped;
    if (result.Unread() > 0) skipped = "; skipped " + DescribeUnread(result);
    return StoreImported(path, imported, skipped);
}

ExitStatus CFileCommands::StoreImported(const std::string& path, const CMemoryItemList& imported,
                                        const std::string& skipped) {
    CMemoryItemList& rows = m_session.Rows();
    const int earlier = rows.RowCount();
    if (m_options.clear) {
        const auto replaceReadOnly = [this](const std::string& backup) {
            return m_terminal.Confirm(backup + " is read-only. Replace it?", m_options.yes);
        };
        if (!SaveBackupFile(path, rows, m_session.Vault(), replaceReadOnly)) {
            return Fail(ExitStatus::Failed, "Error: could not create file. " + BackupPathFor(path) +
                                                " (the backup of the " +
                                                "current Items); nothing imported");
        }
        rows.RemoveAllRows();
    }
    AppendRows(imported, rows);
    if (const ExitStatus status = m_session.Save(); status != ExitStatus::Ok) return status;
    m_session.RememberFile(path);

    std::string said = "Imported " + Count(imported.RowCount()) + " from " + path + skipped;
    if (m_options.clear && earlier > 0) {
        said += "; the " + Count(earlier) + " before are in " + BackupPathFor(path);
    }
    said += ".\n";
    std::fputs(said.c_str(), stdout);
    return ExitStatus::Ok;
}
