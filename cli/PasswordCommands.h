#pragma once

#include "cli/ExitStatus.h"

class CCliSession;
class CTerminal;
struct CliOptions;

/// The commands about passwords: passwd (the UnLock password) and generate.
class CPasswordCommands final {
  public:
    CPasswordCommands(CCliSession& session, CTerminal& terminal, const CliOptions& options);
    CPasswordCommands(const CPasswordCommands&) = delete;
    CPasswordCommands& operator=(const CPasswordCommands&) = delete;

    /// Chooses the first UnLock password of a store, or changes it: the
    /// check value and every Item re-sealed in one transaction.
    ExitStatus Passwd();
    /// Prints a password made under the stored preferences or the given ones.
    ExitStatus Generate();

  private:
    CCliSession& m_session;
    CTerminal& m_terminal;
    const CliOptions& m_options;
};
