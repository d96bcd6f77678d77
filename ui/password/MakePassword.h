#pragma once

#include <string>

#include "contract/KeynestContext.h"

class CVault;

/// The Length in force: the preference, cut to what the vault's format keeps.
unsigned GeneratedLength(const KeynestContext& context);

/// Edit > Make a Password: a fresh random password for use anywhere,
/// either put on the clipboard or shown in the Random Password dialog.
class CMakePassword final {
  public:
    explicit CMakePassword(KeynestContext& context);
    CMakePassword(const CMakePassword&) = delete;
    CMakePassword& operator=(const CMakePassword&) = delete;

    /// The command's handler.
    void OnMakePassword();

  private:
    /// A password under the preferences in force now; empty, after telling
    /// the user, when the character set gives none.
    std::string NewPassword();

    KeynestContext& m_context;
};
