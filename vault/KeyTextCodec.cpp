#include "vault/KeyTextCodec.h"

#include "vault/PasswordSealer.h"

CKeyTextCodec::CKeyTextCodec(CPasswordSealer& sealer, const std::string& password)
    : m_sealer(sealer), m_key(password) {}

bool CKeyTextCodec::Seal(const SealedRecord& plain, int /*index*/, SealedRecord& sealed) {
    for (int column = 0; column < kItemColumnCount; ++column) {
        const auto at = static_cast<std::size_t>(column);
        sealed[at] = m_sealer.SealText(m_key, plain[at]);
    }
    return !sealed[kColPassword].empty();
}

RecordOpen CKeyTextCodec::Open(const SealedRecord& sealed, int /*index*/, SealedRecord& plain) {
    if (sealed[kColLocation].empty() || sealed[kColPassword].size() != kSealedPasswordLength) {
        return RecordOpen::kUnreadable;
    }
    // Each text is unsealed in place, so no temporary copy is left behind.
    for (int column = 0; column < kItemColumnCount; ++column) {
        const auto at = static_cast<std::size_t>(column);
        plain[at] = m_sealer.UnsealText(m_key, sealed[at]);
    }
    if (!plain[kColPassword].empty()) return RecordOpen::kOpened;
    for (std::string& text : plain) WipeString(text);
    return RecordOpen::kDamaged;
}
