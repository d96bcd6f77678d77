#include "vault/HexText.h"

namespace {

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

bool IsHexDigitText(std::string_view text) {
    if (text.size() % 2 != 0) return false;
    for (char c : text) {
        if (DigitValue(c) < 0) return false;
    }
    return true;
}

void ReadHexBytes(std::string_view text, std::uint8_t* out) {
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
        out[i / 2] = static_cast<std::uint8_t>(16 * DigitValue(text[i]) + DigitValue(text[i + 1]));
    }
}

void AppendHexBytes(const std::uint8_t* bytes, std::size_t count, std::string& out) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    for (std::size_t i = 0; i < count; ++i) {
        out.push_back(kDigits[bytes[i] >> 4]);
        out.push_back(kDigits[bytes[i] & 15]);
    }
}
