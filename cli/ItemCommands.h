#pragma once

#include <string>

#include "cli/ExitStatus.h"
#include "vault/ItemList.h"

class CCliSession;
class CTerminal;
struct CliOptions;

/// The commands that read and change Items: list, show, clip, add, edit, rm.
class CItemCommands final {
  public:
    CItemCommands(CCliSession& session, CTerminal& terminal, const CliOptions& options);
    CItemCommands(const CItemCommands&) = delete;
    CItemCommands& operator=(const CItemCommands&) = delete;

    ExitStatus List();
    ExitStatus Show();
    ExitStatus Clip();
    ExitStatus Add();
    ExitStatus Edit();
    ExitStatus Remove();

  private:
    /// Opens and unlocks the store, first taking the lock when `forChange`.
    ExitStatus Unlock(bool forChange);
    /// The row of the one Item of the Location named on the command line:
    /// --number picks among several, a terminal user is asked, a script
    /// is refused.
    ExitStatus SelectRow(int& row);
    /// Asks for a new Password. An empty answer leaves `password` as it was.
    ExitStatus ReadPassword(const std::string& prompt, std::string& password, bool& typed);
    /// The last checks before `row` is stored: limits and the preferred set.
    ExitStatus CheckBeforeStoring(const CMemoryItemList::Row& row, bool passwordTyped,
                                  const CMemoryItemList::Row* stored = nullptr);

    CCliSession& m_session;
    CTerminal& m_terminal;
    const CliOptions& m_options;
};
