#pragma once

#include "cli/ExitStatus.h"

class CCliSession;

/// The commands that move a vault between its two formats: harden (an
/// Argon2id key and authenticated Twofish, no 16-byte limits) and unharden
/// (back to the first format, when everything fits it).
class CFormatCommands final {
  public:
    explicit CFormatCommands(CCliSession& session);
    CFormatCommands(const CFormatCommands&) = delete;
    CFormatCommands& operator=(const CFormatCommands&) = delete;

    ExitStatus Harden();
    ExitStatus Unharden();

  private:
    CCliSession& m_session;
};
