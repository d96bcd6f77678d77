#pragma once

// Hex and key helpers shared by the cipher tests.

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "vault/Twofish.h"

namespace cipher_test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes FromHex(const std::string& hex) {
    Bytes bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

inline std::string ToHex(const std::uint8_t* bytes, size_t count) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    for (size_t i = 0; i < count; ++i) {
        hex += kDigits[bytes[i] >> 4];
        hex += kDigits[bytes[i] & 15];
    }
    return hex;
}

inline std::string ToHex(const Bytes& bytes) { return ToHex(bytes.data(), bytes.size()); }

/// A key record scheduled from raw key bytes the way the program does it:
/// prepared without key text, key32 filled directly, then reKey.
inline void ScheduleRaw(keyInstance& key, const Bytes& keyBytes, std::uint8_t direction) {
    makeKey(&key, direction, static_cast<int>(keyBytes.size() * 8), nullptr);
    for (std::uint32_t& word : key.key32) word = 0;
    for (size_t i = 0; i < keyBytes.size(); ++i) {
        key.key32[i / 4] |= static_cast<std::uint32_t>(keyBytes[i]) << (8 * (i % 4));
    }
    reKey(&key);
}

/// The bytes of a key or cipher record, to check that a refused call left it alone.
template <typename Record>
Bytes Snapshot(const Record& record) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&record);
    return Bytes(bytes, bytes + sizeof record);
}

inline Bytes RandomBytes(std::mt19937& random, size_t count) {
    Bytes bytes(count);
    for (std::uint8_t& byte : bytes) byte = static_cast<std::uint8_t>(random() & 0xFF);
    return bytes;
}

}  // namespace cipher_test
