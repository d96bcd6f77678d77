#pragma once

#include <QString>

#include "contract/KeynestContext.h"
#include "vault/hardened/KeyDerivation.h"

/// File > Harden Vault and File > Convert to Classic Vault: the vault's
/// Items and key moved, in one transaction, to the hardened format or back
/// to the classic one, after a question that says what changes.
class CVaultFormatCommands final {
  public:
    /// `kdf` is the key derivation a hardened vault gets (tests pass cheap ones).
    explicit CVaultFormatCommands(KeynestContext& context, const KdfParams& kdf = kDefaultKdfParams)
        : m_context(context), m_kdf(kdf) {}
    CVaultFormatCommands(const CVaultFormatCommands&) = delete;
    CVaultFormatCommands& operator=(const CVaultFormatCommands&) = delete;

    /// Whether the commands apply: unlocked, and the vault in the other format.
    bool CanHarden() const;
    bool CanUnharden() const;

    void OnHarden();
    void OnUnharden();

  private:
    /// Asks `question` with F1 leading to the page on the formats; true for
    /// Yes while the vault is still unlocked.
    bool Confirm(const QString& question);
    void Tell(const QString& text, bool success);

    KeynestContext& m_context;
    KdfParams m_kdf;
};
