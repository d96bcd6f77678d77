#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "vault/ItemList.h"

class CPasswordSealer;
class CSealingKey;

/// The six sealed fields of one Item, in column order.
using SealedRecord = std::array<std::string, kItemColumnCount>;

/// Digits of a sealed Password: one block, as a Password holds at most
/// kMaxPasswordBytes, the block size.
inline constexpr std::size_t kSealedPasswordLength = 32;

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

/// What an imported record is, judged by itself.
enum class RecordVerdict {
    Accepted,
    NotSealedHere,  ///< sealed under another UnLock password, or damaged
    BreaksRules,    ///< opens, but its Item breaks the Item rules
};

/// Judges one record of an export file under `key`. It opens when its
/// Password is one sealed block and every field unseals strictly (whole
/// pieces of hex digits, a text without zero bytes, then only zero bytes);
/// an empty field stands for the empty text. A record with fewer than
/// kProofPadding padding bytes proves little by them (a wrong key leaves
/// most records without any), so its texts must also be free of control
/// characters, as every typed text is. An opened record must then keep the
/// Item rules (CheckItemFields), whose complaint goes to `reason`. `plain`
/// gets the texts when the record is accepted and is wiped otherwise.
RecordVerdict JudgeImportedRecord(CPasswordSealer& sealer, CSealingKey& key,
                                  const SealedRecord& sealed, SealedRecord& plain,
                                  std::string& reason);
