#pragma once

// Export files: the Items' sealed fields in a binary file that any holder
// of the same UnLock password can import. Layout, all integers unsigned
// 32-bit little-endian: the format word 1, then one record per Item of six
// fields (Location, URL, User ID, Hint, Note, Password), each a length word
// n followed by n upper-case hex digits without terminator.

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "vault/ItemList.h"
#include "vault/SealedRecord.h"

class CVault;
enum class ExportFormat;

inline constexpr std::uint32_t kExportFormatWord = 1;
/// Longest field read on import, in digits. Keynest's own fields seal to
/// at most 1,824 digits (300 characters of three UTF-8 bytes); longer
/// fields leave their record out.
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

/// Writes the export file `path` (mode 0600) of `list` sealed under
/// `password` in the first format, all at once (see WriteFileAtomically).
/// False on failure; any earlier file is then untouched.
[[nodiscard]] bool WriteExportFile(const std::string& path, const IItemList& list,
                                   const std::string& password);
/// Writes the export file `path` (mode 0600) of `list` in `format`, made by
/// the vault, all at once (see WriteFileAtomically). False when the vault
/// cannot make it or the write failed; any earlier file is then untouched.
[[nodiscard]] bool WriteExportFile(const std::string& path, const IItemList& list, const CVault& vault,
                                   ExportFormat format);

/// Largest file read as an export file: room for far more Items than
/// anyone keeps, small enough to hold in memory while it is read.
inline constexpr std::size_t kMaxExportFileBytes = std::size_t{128} << 20;

enum class ExportReadError {
    None,
    CannotOpen,     ///< missing or unreadable
    NotRegular,     ///< a folder, FIFO, device or socket: never opened
    TimedOut,       ///< the file system gave no answer in time
    NotExportFile,  ///< too short or too large, or no record could be imported
};

struct ExportReadResult {
    ExportReadError error = ExportReadError::None;
    int read = 0;                 ///< rows appended
    int skipped = 0;              ///< complete records left out
    int brokeRules = 0;           ///< of those, the ones that opened but break the Item rules
    std::string firstBrokenRule;  ///< what the first of these breaks
    bool truncated = false;       ///< the file ended inside a record
    /// Records not imported, a cut-off last record included.
    int Unread() const { return skipped + (truncated ? 1 : 0); }
};

/// Why the records of `result` that were not imported were left out, as
/// one line without final stop, e.g. "2 records not sealed under this
/// UnLock password, or damaged; the last record cut off by the end of the
/// file". Empty when every record was imported.
std::string DescribeUnread(const ExportReadResult& result);

/// Appends the Items of the export file `path`, in either format, opened
/// by the vault (CVault::ReadExport), to `list`. Only a regular file is
/// read (see ReadRegularFile); with a `waitLimit` the read is given up
/// after that long (TimedOut).
[[nodiscard]] ExportReadResult ReadExportFile(const std::string& path, IItemList& list, const CVault& vault,
                                              std::chrono::milliseconds waitLimit = {});

/// The same for an export file of the first format sealed under `password`.
[[nodiscard]] ExportReadResult ReadExportFile(const std::string& path, IItemList& list,
                                              const std::string& password,
                                              std::chrono::milliseconds waitLimit = {});

/// Appends the Items of the first format's export file bytes, unsealed
/// under `password`, to `list`: each record judged by itself (JudgeImportedRecord), a record
/// cut off by the file's end counted as truncated, a field longer than
/// kMaxImportFieldLength leaving its record out. On an error nothing is
/// appended; the bytes are NotExportFile when they are shorter than the
/// format word, carry the hardened format's word, or have records of which
/// none is accepted.
ExportReadResult ReadExportData(std::string_view bytes, IItemList& list,
                                const std::string& password);

/// "savedbak.kne" in the folder of `importPath`, or the empty text when the
/// path names no folder.
std::string BackupPathFor(const std::string& importPath);

/// Asked with the backup's path before a read-only backup is replaced; true allows it.
using ConfirmReplaceReadOnly = std::function<bool(const std::string& backupPath)>;

/// Saves the rows of `list`, sealed under `password` in the first format,
/// to the backup file beside `importPath`, which is left read-only (mode 0400). Whatever
/// stands at the backup's name is replaced as a name: a symbolic link
/// there is replaced, its target never written. An existing read-only
/// backup is replaced only when `confirm` allows it.
/// True when the list is empty (nothing to keep) or the backup was written;
/// false when there is no folder or the file could not be written.
[[nodiscard]] bool SaveBackupFile(const std::string& importPath, const IItemList& list,
                                  const std::string& password,
                                  const ConfirmReplaceReadOnly& confirm);
/// The same in the vault's own export format.
[[nodiscard]] bool SaveBackupFile(const std::string& importPath, const IItemList& list,
                                  const CVault& vault, const ConfirmReplaceReadOnly& confirm);

/// `name` with ".kne" appended when its file name has no extension.
std::string WithDefaultExtension(const std::string& name);
