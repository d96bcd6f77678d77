#include "cli/TextRules.h"

std::size_t DisplayWidth(std::string_view text) {
    std::size_t width = 0;
    for (std::size_t i = 0; i < text.size(); ++width) {
        const std::size_t length = Utf8CharLength(text, i);
        i += length == 0 ? 1 : length;
    }
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

std::string CheckTypedFields(const CMemoryItemList::Row& row, const PasswordLimit& limit,
                             const CMemoryItemList::Row* stored) {
    if (std::string problem = CheckItemFields(row, limit); !problem.empty()) return problem;
    for (int column = kColLocation; column < kItemColumnCount; ++column) {
        const std::string& text = row[static_cast<std::size_t>(column)];
        if (stored != nullptr && text == (*stored)[static_cast<std::size_t>(column)]) continue;
        // The desktop would show other characters, and copy other bytes
        // than the ones stored.
        if (!IsUtf8Text(text)) {
            return std::string("the ") + FieldName(column) + " is not UTF-8 text";
        }
        if (HasControlCharacter(text)) {
            return std::string("the ") + FieldName(column) + " holds a control character";
        }
    }
    return {};
}

void WipeRow(CMemoryItemList::Row& row) {
    for (std::string& text : row) WipeString(text);
}
