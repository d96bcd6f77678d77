#pragma once

#include "cli/ExitStatus.h"

class CCliSession;
class CTerminal;
struct CliOptions;

/// Export to and import from the desktop program's export files.
class CFileCommands final {
  public:
    CFileCommands(CCliSession& session, CTerminal& terminal, const CliOptions& options);
    CFileCommands(const CFileCommands&) = delete;
    CFileCommands& operator=(const CFileCommands&) = delete;

    ExitStatus Export();
    /// Adds the Items of a file; with --clear the current Items are first
    /// saved to the backup beside the file and then replaced. A file with
    /// nothing readable, a failed backup or a failed save changes nothing.
    ExitStatus Import();

  private:
    CCliSession& m_session;
    CTerminal& m_terminal;
    const CliOptions& m_options;
};
