#pragma once

#include <string>

#include "vault/RecordCodec.h"
#include "vault/SealingKey.h"

class CPasswordSealer;

/// The first vault format: the key is the UnLock password's own bytes (at
/// most 16), and each value is its 16-byte pieces, zero-padded, each
/// encrypted alone. A wrong key cannot be told from damage, so a record
/// without a Location or a one-block Password ends what the key opens.
class CKeyTextCodec final : public IRecordCodec {
public:
    CKeyTextCodec(CPasswordSealer& sealer, const std::string& password);

    bool IsValid() const override { return m_key.IsValid(); }
    std::size_t MaxPasswordBytes() const override { return kMaxPasswordBytes; }
    bool Seal(const SealedRecord& plain, int index, SealedRecord& sealed) override;
    RecordOpen Open(const SealedRecord& sealed, int index, SealedRecord& plain) override;

private:
    CPasswordSealer& m_sealer;
    CSealingKey m_key;
};
