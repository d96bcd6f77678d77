#pragma once

// The unsigned 32-bit little-endian words both export formats are built of.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

inline constexpr std::size_t kFileWordSize = 4;

/// Appends `value` as four bytes, low byte first.
inline void AppendWord(std::string& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>((value >> shift) & 0xFFu));
}

/// Reads a word at the front of `bytes` and moves past it; false, with
/// nothing read, when fewer than four bytes are left.
inline bool TakeWord(std::string_view& bytes, std::uint32_t& value) {
    if (bytes.size() < kFileWordSize) return false;
    value = 0;
    for (std::size_t i = 0; i < kFileWordSize; ++i) {
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
    }
    bytes.remove_prefix(kFileWordSize);
    return true;
}
