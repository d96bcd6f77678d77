#pragma once

// Export files of the hardened format: every Item in one authenticated
// message, so a changed, cut or extended file is refused whole. Layout, all
// integers unsigned 32-bit little-endian: the format word, the bytes "KnX2"
// (no first-format file holds it: their writers write 1); Argon2id's
// memory (KiB), passes and lanes; a 16-byte random salt; then the sealed
// message (16-byte nonce, cipher text, 16-byte tag, Twofish-256 in EAX mode
// under the key derived from the UnLock password), whose associated data is
// the 32 bytes before it. The message holds the number of Items, then for
// each Item its six fields in column order, each a length and its bytes.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "vault/SealedRecord.h"
#include "vault/hardened/KeyDerivation.h"

class IItemList;

inline constexpr std::uint32_t kHardenedExportFormatWord = 0x32586E4B;  // "KnX2"

/// True when `data` starts with the hardened export format word.
bool IsHardenedExport(std::string_view data);

/// The bytes of a hardened export file of every row of `list`, keyed by
/// `password` with `params` and a fresh salt. False when the key cannot be
/// derived or sealing failed.
[[nodiscard]] bool BuildHardenedExport(const IItemList& list, const std::string& password, const KdfParams& params,
                                       std::string& out);

enum class HardenedExportError {
    None,
    NotHardenedExport,  ///< too short, another format word, or unacceptable parameters
    CannotOpen,         ///< a wrong password, or the file was changed, cut or extended
};

/// Opens a hardened export file into `records` (plain fields, which the
/// caller wipes). Nothing is appended on an error.
[[nodiscard]] HardenedExportError ReadHardenedExport(std::string_view data, const std::string& password,
                                                     std::vector<SealedRecord>& records);
