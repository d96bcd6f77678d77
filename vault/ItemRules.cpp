#include "vault/ItemRules.h"

#include <array>

namespace {

constexpr std::array<const char*, kItemColumnCount> kFieldNames = {"Location", "URL",  "User ID",
                                                                   "Hint",     "Note", "Password"};

bool InRange(char c, unsigned low, unsigned high) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= low && byte <= high;
}

std::string Problem(int column, const std::string& what) {
    return std::string("the ") + FieldName(column) + " " + what;
}

}  // namespace

std::size_t Utf8CharLength(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    // The second byte's range excludes overlong forms, surrogates and
    // code points beyond U+10FFFF, which decoders replace.
    unsigned low = 0x80;
    unsigned high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (at + length > text.size() || !InRange(text[at + 1], low, high)) return 0;
    for (std::size_t k = 2; k < length; ++k) {
        if (!InRange(text[at + k], 0x80, 0xBF)) return 0;
    }
    return length;
}

bool IsUtf8Text(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = Utf8CharLength(text, i);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

bool HasControlCharacter(std::string_view text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\t') || byte == 0x7F) return true;
    }
    return false;
}

std::size_t FormLength(std::string_view text) {
    std::size_t units = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = Utf8CharLength(text, i);
        // Characters beyond the 16-bit range take two UTF-16 units.
        units += length == 4 ? 2 : 1;
        i += length == 0 ? 1 : length;
    }
    return units;
}

std::string CheckPasswordLength(std::string_view password, const PasswordLimit& limit) {
    if (password.size() > limit.bytes && limit.bytes == limit.chars) {
        return "holds more than " + std::to_string(limit.bytes) + " bytes (accented letters count as two)";
    }
    if (password.size() > limit.bytes || FormLength(password) > limit.chars) {
        return "holds more than " + std::to_string(limit.chars) + " characters";
    }
    return {};
}

std::string CheckItemFields(const CMemoryItemList::Row& row, const PasswordLimit& limit) {
    if (row[kColLocation].empty()) return "the Location is empty";
    for (int column = kColLocation; column < kItemColumnCount; ++column) {
        const std::string& text = row[static_cast<std::size_t>(column)];
        // A zero byte would end the text when it is sealed.
        if (text.find('\0') != std::string::npos) return Problem(column, "holds a NUL byte");
        // The desktop form's one-line boxes take no line breaks either.
        if (text.find_first_of("\r\n") != std::string::npos) {
            return Problem(column, "holds a line break");
        }
    }
    for (int column = kColLocation; column < kColPassword; ++column) {
        if (FormLength(row[static_cast<std::size_t>(column)]) > kMaxFieldChars) {
            return Problem(column,
                           "holds more than " + std::to_string(kMaxFieldChars) + " characters");
        }
    }
    if (row[kColPassword].empty()) return "the Password is empty";
    if (std::string problem = CheckPasswordLength(row[kColPassword], limit); !problem.empty()) {
        return "the Password " + problem;
    }
    return {};
}

const char* FieldName(int column) { return kFieldNames[static_cast<std::size_t>(column)]; }
