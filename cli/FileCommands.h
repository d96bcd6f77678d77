#pragma once

#include <string>

#include "cli/ExitStatus.h"

class CCliSession;
class CTerminal;
struct CliOptions;
struct ExportReadResult;

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

  private:
    /// Exit status 4 with its message when `result` of reading `path` is
    /// not to be imported; Ok otherwise.
    ExitStatus RefuseImport(const std::string& path, const ExportReadResult& result) const;

    CCliSession& m_session;
    CTerminal& m_terminal;
    const CliOptions& m_options;
};
