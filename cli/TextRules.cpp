#include "cli/TextRules.h"

#include <array>

namespace {

constexpr std::array<const char*, kItemColumnCount> kFieldNames = {"Location", "URL",  "User ID",
                                                                   "Hint",     "Note", "Password"};

// Bytes of the UTF-8 sequence that `lead` begins, or 0 when it begins none.
std::size_t SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Calls `count(sequenceLength)` for each character of `text`; a byte
// that is not part of a valid sequence is a character of length 1.
template <typename Count>
void ForEachCharacter(std::string_view text, Count count) {
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t length = SequenceLength(static_cast<unsigned char>(text[i]));
        if (length == 0 || i + length > text.size()) length = 1;
        for (std::size_t k = 1; k < length; ++k) {
            if (!IsContinuation(text[i + k])) length = 1;
        }
        count(length);
        i += length;
    }
}

}  // namespace

std::size_t FormLength(std::string_view text) {
    std::size_t units = 0;
    // Characters beyond the 16-bit range take two UTF-16 units.
    ForEachCharacter(text, [&units](std::size_t length) { units += length == 4 ? 2 : 1; });
    return units;
}

std::size_t DisplayWidth(std::string_view text) {
    std::size_t width = 0;
    ForEachCharacter(text, [&width](std::size_t) { ++width; });
    return width;
}

std::string OneLine(std::string_view text) {
    std::string line;
    bool blank = false;
    for (const char c : text) {
        if (c == ' ' || c == '\n' || c == '\r' || c == '\t') {
            blank = !line.empty();
            continue;
        }
        if (blank) line += ' ';
        blank = false;
        line += c;
    }
    return line;
}

std::string CheckItemFields(const CMemoryItemList::Row& row) {
    if (row[kColLocation].empty()) return "the Location is empty";
    for (int column = kColLocation; column < kItemColumnCount; ++column) {
        // The desktop form's one-line boxes take no line breaks either.
        if (row[static_cast<std::size_t>(column)].find_first_of("\r\n") != std::string::npos) {
            return std::string("the ") + kFieldNames[static_cast<std::size_t>(column)] +
                   " holds a line break";
        }
    }
    for (int column = kColLocation; column < kColPassword; ++column) {
        if (FormLength(row[static_cast<std::size_t>(column)]) > kMaxFieldChars) {
            return std::string("the ") + kFieldNames[static_cast<std::size_t>(column)] +
                   " holds more than " + std::to_string(kMaxFieldChars) + " characters";
        }
    }
    if (row[kColPassword].empty()) return "the Password is empty";
    if (row[kColPassword].size() > kMaxPasswordBytes) {
        return "the Password holds more than " + std::to_string(kMaxPasswordBytes) +
               " bytes (accented letters count as two)";
    }
    return {};
}

void WipeRow(CMemoryItemList::Row& row) {
    for (std::string& text : row) WipeString(text);
}
