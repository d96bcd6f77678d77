#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "vault/ItemList.h"

class CPasswordSealer;
class CSealingKey;

/// The six sealed fields of one Item, in column order.
using SealedRecord = std::array<std::string, kItemColumnCount>;

/// The names of an Item's six values in a section, in column order.
inline constexpr const char* kItemValueNames[kItemColumnCount] = {"Location", "URL",  "ID",
                                                                  "Hint",     "Note", "Pwd"};

/// The store name of Item `index`'s value in `column` ("Note12").
inline std::string ItemValueName(int column, int index) {
    return kItemValueNames[column] + std::to_string(index);
}

/// Zero padding a record must show, over its six fields together, before
/// it counts as sealed under a key: a wrong key shows that much about once
/// in 2^64 tries, while a field sealed by Keynest ends in zeros (an empty
/// field alone carries 16).
inline constexpr std::size_t kProofPadding = 8;

/// Unseals all six fields of `sealed` under `key` strictly (see
/// CPasswordSealer::UnsealPadded) into `plain`. True when every field
/// unsealed strictly and together they carry at least kProofPadding zero
/// bytes: the record was sealed under this key. `plain` is wiped otherwise.
bool OpenSealedRecord(CPasswordSealer& sealer, CSealingKey& key, const SealedRecord& sealed,
                      SealedRecord& plain);
