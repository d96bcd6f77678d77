#pragma once

// Hexadecimal text helpers of sealing: upper-case output, either case in.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

/// True when `text` has even length and only the digits 0-9 and A-F in
/// either case. The empty text passes.
bool IsHexDigitText(std::string_view text);

/// Reads `text` (checked with IsHexDigitText) as text.size()/2 bytes into
/// `out`, two digits per byte with the high nibble first.
void ReadHexBytes(std::string_view text, std::uint8_t* out);

/// Appends `count` bytes as upper-case digits, high nibble first.
void AppendHexBytes(const std::uint8_t* bytes, std::size_t count, std::string& out);
