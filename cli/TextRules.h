#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "vault/ItemList.h"

/// Longest Location, URL, User ID, Hint and Note the Item form takes, in characters.
inline constexpr std::size_t kMaxFieldChars = 300;

/// The length of `text` as the desktop form counts it: UTF-16 units of
/// its UTF-8 reading, where a byte that is not UTF-8 counts as one.
std::size_t FormLength(std::string_view text);
/// Terminal columns of `text`, one per character.
std::size_t DisplayWidth(std::string_view text);
/// `text` on one line: every run of blanks and line breaks becomes one blank.
std::string OneLine(std::string_view text);

/// Why the Item `row` cannot be stored, or the empty text when it can.
std::string CheckItemFields(const CMemoryItemList::Row& row);
/// Wipes every text of `row`.
void WipeRow(CMemoryItemList::Row& row);
