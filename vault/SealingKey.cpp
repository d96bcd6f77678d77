#include "vault/SealingKey.h"

#include <cstring>

#include "vault/HexText.h"

namespace {

constexpr std::size_t kKeyBytes = 16;

}  // namespace

CSealingKey::CSealingKey(std::string_view keyText, bool hexMode) : m_hexMode(hexMode) {
    if (makeKey(&m_key, DIR_ENCRYPT, 128, nullptr) != 1) return;
    if (cipherInit(&m_cipher, MODE_ECB, nullptr) != 1) return;
    if (hexMode) {
        if (keyText.size() > 2 * kKeyBytes || !IsHexDigitText(keyText)) return;
    } else if (keyText.size() > kKeyBytes) {
        return;
    }
    std::uint8_t keyBytes[kKeyBytes] = {};
    if (hexMode) {
        ReadHexBytes(keyText, keyBytes);
    } else if (!keyText.empty()) {
        std::memcpy(keyBytes, keyText.data(), keyText.size());
    }
    for (std::uint32_t& word : m_key.key32) word = 0;
    for (std::size_t i = 0; i < kKeyBytes; ++i) {
        m_key.key32[i / 4] |= static_cast<std::uint32_t>(keyBytes[i]) << (8 * (i % 4));
    }
    explicit_bzero(keyBytes, sizeof keyBytes);
    reKey(&m_key);
    m_valid = true;
}

CSealingKey::~CSealingKey() {
    explicit_bzero(&m_key, sizeof m_key);
    explicit_bzero(&m_cipher, sizeof m_cipher);
}

bool CSealingKey::EncryptBlock(const std::uint8_t* in, std::uint8_t* out) {
    return m_valid && blockEncrypt(&m_cipher, &m_key, in, 128, out) == 128;
}

bool CSealingKey::DecryptBlock(const std::uint8_t* in, std::uint8_t* out) {
    return m_valid && blockDecrypt(&m_cipher, &m_key, in, 128, out) == 128;
}
