#pragma once

#include <cstdint>
#include <string_view>

#include "vault/Twofish.h"

/// A 128-bit Twofish key made from a sealing key text and scheduled once,
/// so that every block of a sealing operation, or of a whole save or load,
/// shares one key schedule. The key record is wiped when the object goes.
class CSealingKey final {
public:
    /// Text mode: the key text's bytes, zero-filled to 16. Hexadecimal mode:
    /// up to 32 digits, two per byte. A key text that does not fit leaves
    /// the key invalid.
    explicit CSealingKey(std::string_view keyText, bool hexMode = false);
    ~CSealingKey();
    CSealingKey(const CSealingKey&) = delete;
    CSealingKey& operator=(const CSealingKey&) = delete;

    /// False when the key text was too long or, in hexadecimal mode, not hex.
    bool IsValid() const { return m_valid; }
    bool IsHexMode() const { return m_hexMode; }

    /// Encrypts one 16-byte block; false when the key is invalid or the cipher fails.
    bool EncryptBlock(const std::uint8_t* in, std::uint8_t* out);
    /// Decrypts one 16-byte block; false when the key is invalid or the cipher fails.
    bool DecryptBlock(const std::uint8_t* in, std::uint8_t* out);

private:
    keyInstance m_key;
    cipherInstance m_cipher;
    bool m_hexMode;
    bool m_valid = false;
};
