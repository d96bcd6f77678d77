#pragma once

// The Twofish block cipher (128-bit block, 16 rounds, keys of 128, 192 or
// 256 bits) behind the AES candidate programming interface: a key record,
// a cipher record and five operations. Keying is full keying: scheduling a
// key fuses its four key-dependent S-boxes with the MDS matrix into four
// 256-word tables, so a block costs only lookups, additions and rotations.

#include <cstdint>

inline constexpr std::uint8_t DIR_ENCRYPT = 0;
inline constexpr std::uint8_t DIR_DECRYPT = 1;

inline constexpr std::uint8_t MODE_ECB = 1;
inline constexpr std::uint8_t MODE_CBC = 2;
inline constexpr std::uint8_t MODE_CFB1 = 3;

// Error results, all negative so that no block length is mistaken for one.
inline constexpr int BAD_KEY_DIR = -1;       // direction neither DIR_ENCRYPT nor DIR_DECRYPT
inline constexpr int BAD_KEY_MAT = -2;       // key text not hexadecimal, or an unusable key length
inline constexpr int BAD_KEY_INSTANCE = -3;  // no key record, or one that cannot be scheduled
inline constexpr int BAD_CIPHER_MODE = -4;   // cipherInit given an unknown mode
inline constexpr int BAD_CIPHER_STATE = -5;  // no cipher record, or one with an unknown mode
inline constexpr int BAD_INPUT_LEN = -6;     // negative, or not whole blocks in ECB and CBC
inline constexpr int BAD_IV_MAT = -8;        // IV text not hexadecimal

/// Longest key text makeKey reads, plus room for the terminator.
inline constexpr int kTwofishKeyMaterialSize = 68;

/// The key record: raw key, derived S-box keys, subkeys and fused tables.
struct keyInstance {
    std::uint8_t direction;  // DIR_ENCRYPT or DIR_DECRYPT: current round-subkey order
    std::int32_t keyLen;     // bits, a multiple of 64
    char keyMaterial[kTwofishKeyMaterialSize];
    std::int32_t numRounds;
    std::uint32_t key32[8];          // raw key, little-endian words
    std::uint32_t sboxKeys[4];       // Reed-Solomon words, last key half first
    std::uint32_t subKeys[40];       // 0-3 input whitening, 4-7 output whitening, 8-39 rounds
    std::uint32_t sBox8x32[4][256];  // S-box s fused with MDS column s
};

/// The cipher record: mode and chaining state.
struct cipherInstance {
    std::uint8_t mode;      // MODE_ECB, MODE_CBC or MODE_CFB1
    std::uint8_t IV[16];    // the IV bytes; the shift register in MODE_CFB1
    std::uint32_t iv32[4];  // the IV as words; the running chain value in MODE_CBC
};

/// Prepares `key`; schedules it when `keyMaterial` holds keyLen/4 hex digits.
/// `keyLen` is rounded up to 128, 192 or 256 bits. Returns 1; BAD_KEY_MAT
/// when the key text is not hexadecimal or keyLen is not from 65 to 256;
/// BAD_KEY_DIR or BAD_KEY_INSTANCE for a bad direction or a null record.
/// Only a bad key text changes the record.
int makeKey(keyInstance* key, std::uint8_t direction, int keyLen, const char* keyMaterial);

/// Sets the mode and, except in ECB, the IV from 32 hex digits (ignored when
/// null). Returns 1; BAD_IV_MAT when the IV text is not hexadecimal,
/// BAD_CIPHER_MODE for an unknown mode, BAD_CIPHER_STATE for a null record.
/// A failed call leaves the record as it was.
int cipherInit(cipherInstance* cipher, std::uint8_t mode, const char* IV);

/// Schedules the key in `key32`: S-box keys, subkeys and fused tables.
/// Returns 1, or BAD_KEY_INSTANCE (nothing scheduled) when the record is
/// null or its keyLen is not 128, 192 or 256.
int reKey(keyInstance* key);

/// Encrypts `inputLen` bits from `input` into `outBuffer`; returns inputLen.
/// Touches nothing and returns BAD_INPUT_LEN when inputLen is negative or,
/// in ECB and CBC, not a multiple of 128; BAD_CIPHER_STATE when the cipher
/// record holds no known mode.
int blockEncrypt(cipherInstance* cipher, keyInstance* key, const std::uint8_t* input, int inputLen,
                 std::uint8_t* outBuffer);

/// Decrypts `inputLen` bits from `input` into `outBuffer`; returns inputLen,
/// or an error result as blockEncrypt does.
int blockDecrypt(cipherInstance* cipher, keyInstance* key, const std::uint8_t* input, int inputLen,
                 std::uint8_t* outBuffer);

/// Round trip of the zero block under the zero key through the three 16-byte
/// buffers given. Returns 0 when it passes, 1 when it fails.
int CipherSelfTest(std::uint8_t* plain, std::uint8_t* cipherText, std::uint8_t* check);
