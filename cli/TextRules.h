#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "vault/ItemRules.h"

/// Terminal columns of `text`, one per character.
std::size_t DisplayWidth(std::string_view text);
/// `text` on one line: every run of blanks and line breaks becomes one blank.
std::string OneLine(std::string_view text);

/// Why the typed Item `row` cannot be stored, or the empty text when it
/// can: the Item rules (with the vault's Password `limit`), then UTF-8 text without control characters, as
/// the desktop's boxes take it and an import accepts it back. Fields equal
/// to those of `stored` (the Item before an edit) were kept, not typed:
/// older texts in another encoding stay as they are.
std::string CheckTypedFields(const CMemoryItemList::Row& row, const PasswordLimit& limit,
                             const CMemoryItemList::Row* stored = nullptr);
/// Wipes every text of `row`.
void WipeRow(CMemoryItemList::Row& row);
