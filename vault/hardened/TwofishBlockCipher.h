#pragma once

#include <memory>

#include <botan/block_cipher.h>

#include "vault/Twofish.h"

/// Keynest's own Twofish presented as a Botan block cipher, so that Botan's
/// authenticated modes run over our cipher. Keys of 128, 192 or 256 bits.
/// Both key records are wiped when the key is cleared or the object goes.
class CTwofishBlockCipher final : public Botan::Block_Cipher_Fixed_Params<16, 16, 32, 8> {
public:
    CTwofishBlockCipher() = default;
    ~CTwofishBlockCipher() override;
    CTwofishBlockCipher(const CTwofishBlockCipher&) = delete;
    CTwofishBlockCipher& operator=(const CTwofishBlockCipher&) = delete;

    void encrypt_n(const uint8_t in[], uint8_t out[], size_t blocks) const override;
    void decrypt_n(const uint8_t in[], uint8_t out[], size_t blocks) const override;
    void clear() override;
    std::string name() const override { return "Twofish"; }
    Botan::BlockCipher* clone() const override { return new CTwofishBlockCipher; }

private:
    void key_schedule(const uint8_t key[], size_t length) override;

    // One record per direction: our cipher reorders a record's round
    // subkeys when its direction changes, and Botan calls these as const.
    mutable keyInstance m_encryptKey{};
    mutable keyInstance m_decryptKey{};
    mutable cipherInstance m_ecb{};
    bool m_keyed = false;
};
