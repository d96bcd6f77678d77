#include "cli/FileCommands.h"

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
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
    if (!WriteExportFile(path, m_session.Rows(), m_session.Vault().UnlockPassword())) {
        return Fail(ExitStatus::Failed, "Error: could not create file. " + path);
    }
    m_session.RememberFile(path);
    const std::string said = "Exported " + Count(items) + " to " + path + ".\n";
    std::fputs(said.c_str(), stdout);
    return ExitStatus::Ok;
}

ExitStatus CFileCommands::Import() {
    ExitStatus status = m_session.LockForChange();
    if (status == ExitStatus::Ok) status = m_session.Open(false);
    if (status == ExitStatus::Ok) status = m_session.Unlock();
    if (status != ExitStatus::Ok) return status;

    std::string path = m_options.file;
    if (!Exists(path) && Exists(WithDefaultExtension(path))) path = WithDefaultExtension(path);
    std::error_code ignored;
    path = std::filesystem::absolute(path, ignored).string();
    const std::string& password = m_session.Vault().UnlockPassword();
    CMemoryItemList imported;
    const ExportReadResult result = ReadExportFile(path, imported, password);
    if (result.error == ExportReadError::CannotOpen) {
        return Fail(ExitStatus::Failed, "cannot open " + path + "; nothing imported");
    }
    if (result.error == ExportReadError::NotExportFile) {
        return Fail(ExitStatus::Failed,
                    path +
                        " is not an export file, or was made under another UnLock password; "
                        "nothing imported");
    }
    if (result.read == 0) {
        std::fputs((path + " holds no Items; nothing changed.\n").c_str(), stdout);
        return ExitStatus::Ok;
    }

    CMemoryItemList& rows = m_session.Rows();
    const int earlier = rows.RowCount();
    if (m_options.clear) {
        const auto replaceReadOnly = [this](const std::string& backup) {
            return m_terminal.Confirm(backup + " is read-only. Replace it?", m_options.yes);
        };
        if (!SaveBackupFile(path, rows, password, replaceReadOnly)) {
            return Fail(ExitStatus::Failed, "Error: could not create file. " + BackupPathFor(path) +
                                                " (the backup of the " +
                                                "current Items); nothing imported");
        }
        rows.RemoveAllRows();
    }
    AppendRows(imported, rows);
    status = m_session.Save();
    if (status != ExitStatus::Ok) return status;
    m_session.RememberFile(path);

    std::string said = "Imported " + Count(result.read) + " from " + path;
    if (result.skipped > 0) said += "; " + std::to_string(result.skipped) + " skipped";
    if (result.truncated) said += "; the file ends inside a record";
    if (m_options.clear && earlier > 0) {
        said += "; the " + Count(earlier) + " before are in " + BackupPathFor(path);
    }
    said += ".\n";
    std::fputs(said.c_str(), stdout);
    return ExitStatus::Ok;
}
