#pragma once

#include <cstdint>
#include <span>

#include "vault/RecordCodec.h"
#include "vault/hardened/FieldCipher.h"

/// The hardened format: every value sealed with Twofish-256 in EAX mode
/// under the vault key, bound to its section, name and save generation.
/// Each record is judged by itself; the vault's verifier vouches for how
/// many there are.
class CVaultKeyCodec final : public IRecordCodec {
public:
    /// `generation` is the save the values belong to; `count` the number of
    /// Items the verifier vouches for (ignored when sealing).
    CVaultKeyCodec(std::span<const std::uint8_t> key, std::uint64_t generation, int count);

    bool IsValid() const override { return m_cipher.IsValid(); }
    std::size_t MaxPasswordBytes() const override { return kMaxHardenedPasswordBytes; }
    int VouchedCount() const override { return m_count; }
    bool Seal(const SealedRecord& plain, int index, SealedRecord& sealed) override;
    RecordOpen Open(const SealedRecord& sealed, int index, SealedRecord& plain) override;

private:
    CFieldCipher m_cipher;
    std::uint64_t m_generation;
    int m_count;
};
