#pragma once

#include <string>

#include "cli/ExitStatus.h"

/// Standard input as keynest-cli reads it: from a terminal with prompts
/// (secrets without echo), or line by line from a pipe or file when a
/// script drives the program. Prompts go to standard error, so standard
/// output holds only the command's result.
class CTerminal final {
  public:
    CTerminal();
    CTerminal(const CTerminal&) = delete;
    CTerminal& operator=(const CTerminal&) = delete;

    /// True when standard input is a terminal.
    bool IsInteractive() const { return m_bInteractive; }

    /// Reads one line into `line` (without its line break). On a terminal
    /// `prompt` is shown first and a `secret` is read without echo. False
    /// at the end of the input.
    bool ReadLine(const std::string& prompt, std::string& line, bool secret);

    /// A Yes/No question: true when `assumeYes` (--yes) is set, or the user
    /// answers y or yes on a terminal. Without a terminal only --yes confirms.
    bool Confirm(const std::string& question, bool assumeYes);

    /// Reports the refusal of a question: nothing was changed.
    ExitStatus Declined(const std::string& what) const;

  private:
    bool m_bInteractive = false;
};
