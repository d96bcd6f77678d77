// keynest-cli's doors to other programs: import --from FORMAT and export --csv.
#include <cstdio>
#include <algorithm>
#include <filesystem>
#include <string>

#include "cli/CliOptions.h"
#include "cli/CliSession.h"
#include "cli/FileCommands.h"
#include "cli/Terminal.h"
#include "importers/CsvExport.h"
#include "importers/ImportPlan.h"
#include "vault/AtomicFile.h"
#include "vault/ExportFile.h"
#include "vault/Vault.h"

namespace {

constexpr mode_t kCsvMode = 0600;

// Records left out of every import of the file: the import goes on without
// them even when all or nothing is asked.
bool IsExpectedSkip(ImportPlan::SkipKind kind) {
    return kind == ImportPlan::SkipKind::kDuplicate || kind == ImportPlan::SkipKind::kNotForKeynest;
}

std::string Records(int count) { return std::to_string(count) + (count == 1 ? " record" : " records"); }

// What the import would do, as the user reads it before anything changes.
std::string Preview(const std::string& path, ForeignFormat format, const ImportPlan& plan) {
    std::string text = path + " (" + ForeignFormatName(format) + "): " + Records(plan.found) + " found, " +
                       std::to_string(plan.toAdd.RowCount()) + " to add, " +
                       std::to_string(plan.skipped.size()) + " left out\n";
    for (const auto& [reason, count] : plan.ReasonCounts()) {
        text += "  " + Records(count) + ": " + reason + "\n";
    }
    for (const ImportPlan::Skipped& skipped : plan.skipped) {
        text += "  left out: " + (skipped.location.empty() ? std::string("(no Location)") : skipped.location) +
                " - " + skipped.reason + "\n";
    }
    return text;
}

}  // namespace

bool CFileCommands::IsForeignFile(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (extension == ".csv" || extension == ".json") return true;
    // A JSON document, or a header line naming a password column: the
    // first line tells, the rest of the file is read once, by the import.
    std::string firstLine;
    if (ReadRegularFileStart(path, 4096, firstLine) != FileReadStatus::Ok) return false;
    // The lines after the first may hold passwords: wiped before they are cut off.
    const std::size_t end = std::min(firstLine.find('\n'), firstLine.size());
    std::fill(firstLine.begin() + static_cast<std::ptrdiff_t>(end), firstLine.end(), '\0');
    firstLine.resize(end);
    for (char& c : firstLine) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    const std::size_t start = firstLine.find_first_not_of(" \t\r\xEF\xBB\xBF");
    const bool foreign = start != std::string::npos &&
                         (firstLine[start] == '{' || firstLine.find("password") != std::string::npos);
    WipeString(firstLine);
    return foreign;
}

ExitStatus CFileCommands::ImportForeign() {
    ForeignFormat format = ForeignFormat::kAuto;
    if (!m_options.from.empty() && !ForeignFormatFromName(m_options.from, format)) {
        return Fail(ExitStatus::Usage, "--from: unknown format \"" + m_options.from + "\"");
    }
    ExitStatus status = m_options.dryRun ? m_session.OpenAndUnlock(false) : m_session.OpenAndUnlock(true);
    if (status != ExitStatus::Ok) return status;
    const std::string path = ImportPath();
    std::string bytes;
    if (ReadRegularFile(path, kMaxExportFileBytes, bytes) != FileReadStatus::Ok) {
        return Fail(ExitStatus::Failed, "cannot read " + path + " as a regular file; nothing imported");
    }
    ForeignFile file;
    std::string error;
    const bool read = ReadForeignFile(bytes, format, file, error);
    WipeString(bytes);
    if (!read) return Fail(ExitStatus::Failed, path + " cannot be imported: " + error + "; nothing imported");

    CMemoryItemList none;
    const CMemoryItemList& against = m_options.clear ? none : m_session.Rows();
    const ImportPlan plan = PlanImport(file, against, m_session.Vault().PasswordRule());
    const std::string preview = Preview(path, file.format, plan);
    std::fputs(preview.c_str(), m_options.dryRun ? stdout : stderr);
    if (m_options.dryRun) return ExitStatus::Ok;

    int unexpected = 0;
    for (const ImportPlan::Skipped& skipped : plan.skipped) unexpected += IsExpectedSkip(skipped.kind) ? 0 : 1;
    if (unexpected > 0 && !m_options.partial) {
        return Fail(ExitStatus::Failed, Records(unexpected) + " of " + path +
                                            " cannot become Items (see above); nothing imported. --partial "
                                            "imports the other " + std::to_string(plan.toAdd.RowCount()));
    }
    if (plan.toAdd.RowCount() == 0) {
        std::fputs((path + " holds no new Items; nothing changed.\n").c_str(), stdout);
        return ExitStatus::Ok;
    }
    const std::string skipped = plan.skipped.empty() ? std::string() : "; left out " + Records(static_cast<int>(plan.skipped.size()));
    return StoreImported(path, plan.toAdd, skipped);
}

ExitStatus CFileCommands::ExportCsv() {
    if (const ExitStatus status = m_session.OpenAndUnlock(false); status != ExitStatus::Ok) return status;
    const CMemoryItemList& rows = m_session.Rows();
    if (rows.RowCount() == 0) return Fail(ExitStatus::NotFound, "there are no Items to export");
    const std::string& path = m_options.file;
    if (!m_terminal.Confirm("A CSV file holds every password in plain text: anyone who can read " + path +
                                " can read them all. Write it?",
                            m_options.yes)) {
        return m_terminal.Declined("a plain-text CSV file");
    }
    std::string data = BuildCsvExport(rows);
    // The name may stand for a link or an older file: it is replaced as a
    // name, never written through.
    const bool written = ReplaceFileAtName(path, data, kCsvMode, false);
    WipeString(data);
    if (!written) return Fail(ExitStatus::Failed, "Error: could not create file. " + path);
    std::fputs(("Exported " + std::to_string(rows.RowCount()) + " Items to " + path + " in plain text.\n").c_str(),
               stdout);
    return ExitStatus::Ok;
}
