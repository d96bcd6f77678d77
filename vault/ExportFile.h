#pragma once

// Export files: the Items' sealed fields in a binary file that any holder
// of the same UnLock password can import. Layout, all integers unsigned
// 32-bit little-endian: the format word 1, then one record per Item of six
// fields (Location, URL, User ID, Hint, Note, Password), each a length word
// n followed by n upper-case hex digits without terminator.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "vault/ItemList.h"
#include "vault/SealedRecord.h"

inline constexpr std::uint32_t kExportFormatWord = 1;
/// Longest field read on import, in digits. Keynest's own fields seal to
/// at most 608 digits (300 characters); longer fields skip their record.
inline constexpr std::uint32_t kMaxImportFieldLength = 4096;
inline constexpr const char* kExportExtension = ".kne";
inline constexpr const char* kBackupFileName = "savedbak.kne";

/// Appends the format word to `out`.
void WriteExportHeader(std::string& out);

/// Appends one record to `out` when its Location is not empty and its
/// Password is exactly one sealed block; returns whether it did.
bool WriteExportRecord(std::string& out, const SealedRecord& sealed);

/// The bytes of an export file holding the rows of `list` sealed under
/// `password`, rows without Location or Password left out. False when the
/// password cannot seal (more than 16 bytes).
bool BuildExportData(const IItemList& list, const std::string& password, std::string& out);

/// Writes the export file `path` (mode 0600) all at once, see
/// WriteFileAtomically. False on failure; any earlier file is then untouched.
[[nodiscard]] bool WriteExportFile(const std::string& path, const IItemList& list, const std::string& password);

enum class ExportReadError {
    None,
    CannotOpen,     ///< missing, unreadable, or not a regular file
    NotExportFile,  ///< no record could be read, or none was sealed under this password
};

struct ExportReadResult {
    ExportReadError error = ExportReadError::None;
    int read = 0;            ///< rows appended
    int skipped = 0;         ///< complete records left out
    bool truncated = false;  ///< the file ended inside a record
};

/// Appends the Items of the export file `path`, unsealed under `password`,
/// to `list`. Records without Location, with a Password that is not one
/// sealed block or unseals to nothing, or with a field longer than
/// kMaxImportFieldLength are skipped; a record cut off by the file's end
/// ends the import. On an error nothing is appended.
[[nodiscard]] ExportReadResult ReadExportFile(const std::string& path, IItemList& list,
                                const std::string& password);
/// The same for the bytes of an export file held in memory.
ExportReadResult ReadExportData(std::string_view bytes, IItemList& list,
                                const std::string& password);

/// "savedbak.kne" in the folder of `importPath`, or the empty text when the
/// path names no folder.
std::string BackupPathFor(const std::string& importPath);

/// Asked with the backup's path before a read-only backup is replaced; true allows it.
using ConfirmReplaceReadOnly = std::function<bool(const std::string& backupPath)>;

/// Saves the rows of `list`, sealed under `password`, to the backup file
/// beside `importPath`, which is left read-only (mode 0400). An existing
/// read-only backup is made writable first only when `confirm` allows it.
/// True when the list is empty (nothing to keep) or the backup was written;
/// false when there is no folder or the file could not be written.
[[nodiscard]] bool SaveBackupFile(const std::string& importPath, const IItemList& list,
                    const std::string& password, const ConfirmReplaceReadOnly& confirm);

/// `name` with ".kne" appended when its file name has no extension.
std::string WithDefaultExtension(const std::string& name);
