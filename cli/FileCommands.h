#pragma once

#include <string>

#include "cli/ExitStatus.h"

class CCliSession;
class CTerminal;
struct CliOptions;
struct ExportReadResult;
class CMemoryItemList;

/// Export to and import from the desktop program's export files.
class CFileCommands final {
  public:
    CFileCommands(CCliSession& session, CTerminal& terminal, const CliOptions& options);
    CFileCommands(const CFileCommands&) = delete;
    CFileCommands& operator=(const CFileCommands&) = delete;

    ExitStatus Export();
    /// Adds the Items of a file; with --clear the current Items are first
    /// saved to the backup beside the file and then replaced. All or
    /// nothing: a file that does not read whole changes nothing, unless
    /// --partial asks for its readable records (never with --clear). A file
    /// that is not an export file, a failed backup or a failed save changes
    /// nothing.
    ExitStatus Import();
    /// Import --from FORMAT (or a file that is no Keynest export): another
    /// program's file read whole, planned and shown (--dry-run stops there),
    /// then added. Records left out for other reasons than being in the
    /// list already or not being logins import nothing unless --partial.
    ExitStatus ImportForeign();
    /// Export --csv: every Item in plain text, after a question.
    ExitStatus ExportCsv();
    /// True when `path` is another program's file, for an import without
    /// --from: named .csv or .json, or a JSON document, or a first line
    /// naming a password column. Keynest's own files start with neither.
    static bool IsForeignFile(const std::string& path);

  private:
    /// Adds (with --clear: replaces by) `imported` and stores the list,
    /// then says what it did, `skipped` ending the sentence.
    ExitStatus StoreImported(const std::string& path, const CMemoryItemList& imported, const std::string& skipped);
    /// The import file named on the command line, made absolute.
    std::string ImportPath() const;
    /// Exit status 4 with its message when `result` of reading `path` is
    /// not to be imported; Ok otherwise.
    ExitStatus RefuseImport(const std::string& path, const ExportReadResult& result) const;

    CCliSession& m_session;
    CTerminal& m_terminal;
    const CliOptions& m_options;
};
