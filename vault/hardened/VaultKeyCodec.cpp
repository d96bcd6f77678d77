#include "vault/hardened/VaultKeyCodec.h"

#include "settings/StoreNames.h"

CVaultKeyCodec::CVaultKeyCodec(std::span<const std::uint8_t> key, std::uint64_t generation, int count)
    : m_cipher(key), m_generation(generation), m_count(count) {}

bool CVaultKeyCodec::Seal(const SealedRecord& plain, int index, SealedRecord& sealed) {
    for (int column = 0; column < kItemColumnCount; ++column) {
        const auto at = static_cast<std::size_t>(column);
        sealed[at] = m_cipher.Seal(plain[at], FieldPlace(StoreNames::kList, ItemValueName(column, index), m_generation));
        if (sealed[at].empty()) return false;
    }
    return true;
}

RecordOpen CVaultKeyCodec::Open(const SealedRecord& sealed, int index, SealedRecord& plain) {
    for (int column = 0; column < kItemColumnCount; ++column) {
        const auto at = static_cast<std::size_t>(column);
        if (!m_cipher.Open(sealed[at], FieldPlace(StoreNames::kList, ItemValueName(column, index), m_generation),
                           plain[at])) {
            for (std::string& text : plain) WipeString(text);
            return RecordOpen::kDamaged;
        }
    }
    return RecordOpen::kOpened;
}
