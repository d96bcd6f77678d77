#include "vault/hardened/TwofishBlockCipher.h"

#include <cstring>

#include <botan/exceptn.h>

namespace {

bool ScheduleKey(keyInstance& record, std::uint8_t direction, const uint8_t key[], size_t length) {
    if (makeKey(&record, direction, static_cast<int>(length * 8), nullptr) != 1) return false;
    for (std::uint32_t& word : record.key32) word = 0;
    for (size_t i = 0; i < length; ++i) {
        record.key32[i / 4] |= static_cast<std::uint32_t>(key[i]) << (8 * (i % 4));
    }
    return reKey(&record) == 1;
}

}  // namespace

CTwofishBlockCipher::~CTwofishBlockCipher() { clear(); }

void CTwofishBlockCipher::key_schedule(const uint8_t key[], size_t length) {
    clear();
    if (cipherInit(&m_ecb, MODE_ECB, nullptr) != 1 || !ScheduleKey(m_encryptKey, DIR_ENCRYPT, key, length) ||
        !ScheduleKey(m_decryptKey, DIR_DECRYPT, key, length)) {
        clear();
        throw Botan::Invalid_Key_Length(name(), length);
    }
    m_keyed = true;
}

void CTwofishBlockCipher::encrypt_n(const uint8_t in[], uint8_t out[], size_t blocks) const {
    verify_key_set(m_keyed);
    for (size_t i = 0; i < blocks; ++i) {
        blockEncrypt(&m_ecb, &m_encryptKey, in + 16 * i, 128, out + 16 * i);
    }
}

void CTwofishBlockCipher::decrypt_n(const uint8_t in[], uint8_t out[], size_t blocks) const {
    verify_key_set(m_keyed);
    for (size_t i = 0; i < blocks; ++i) {
        blockDecrypt(&m_ecb, &m_decryptKey, in + 16 * i, 128, out + 16 * i);
    }
}

void CTwofishBlockCipher::clear() {
    explicit_bzero(&m_encryptKey, sizeof m_encryptKey);
    explicit_bzero(&m_decryptKey, sizeof m_decryptKey);
    m_keyed = false;
}
