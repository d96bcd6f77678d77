#pragma once

// The rules every stored Item keeps, whoever made it: the Item form, the
// command line and the import of export files judge Items by them alike.

#include <cstddef>
#include <string>
#include <string_view>

#include "vault/ItemList.h"

/// Longest Location, URL, User ID, Hint and Note the Item form takes, in characters.
inline constexpr std::size_t kMaxFieldChars = 300;

/// How long a Password (and the UnLock password) may be in a vault format.
struct PasswordLimit {
    std::size_t bytes;  ///< UTF-8 bytes
    std::size_t chars;  ///< characters, counted as FormLength counts them
};
/// The first format: one key block.
inline constexpr PasswordLimit kKeyTextPasswordLimit{kMaxPasswordBytes, kMaxPasswordBytes};
/// The hardened format: as long as the other fields.
inline constexpr PasswordLimit kHardenedPasswordLimit{kMaxHardenedPasswordBytes, kMaxFieldChars};

/// Why `password` breaks `limit`, or the empty text.
std::string CheckPasswordLength(std::string_view password, const PasswordLimit& limit);

/// Bytes of the well-formed UTF-8 character that begins at `at` in `text`,
/// or 0 when the byte there begins none (a stray, overlong or cut sequence).
std::size_t Utf8CharLength(std::string_view text, std::size_t at);
/// True when all of `text` is well-formed UTF-8.
bool IsUtf8Text(std::string_view text);

/// True when `text` holds a control character other than Tab (a byte
/// below 0x20, or 0x7F), which no one types into an Item's field.
bool HasControlCharacter(std::string_view text);

/// The length of `text` as the desktop form counts it: UTF-16 units of
/// its UTF-8 reading, where a byte that is not UTF-8 counts as one.
std::size_t FormLength(std::string_view text);

/// Why the Item `row` cannot be stored, or the empty text when it can:
/// a Location and a Password, no zero byte and no line break anywhere,
/// at most kMaxFieldChars in the other fields and `limit` in the Password.
std::string CheckItemFields(const CMemoryItemList::Row& row,
                            const PasswordLimit& limit = kKeyTextPasswordLimit);

/// The name of a column as the user sees it ("User ID").
const char* FieldName(int column);
