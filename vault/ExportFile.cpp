#include "vault/ExportFile.h"

#include <filesystem>

#include "vault/AtomicFile.h"
#include "vault/FileWords.h"
#include "vault/ItemRules.h"
#include "vault/PasswordSealer.h"
#include "vault/SealingKey.h"
#include "vault/Vault.h"
#include "vault/hardened/HardenedExport.h"

namespace {

constexpr mode_t kExportMode = 0600;
constexpr mode_t kBackupMode = 0400;

// Reads the export file's bytes in order. Every length word is checked
// against what is left, so no length can make the reader allocate or read
// beyond the file.
class CByteReader final {
  public:
    explicit CByteReader(std::string_view bytes) : m_bytes(bytes) {}
    bool ReadWord(std::uint32_t& value) { return TakeWord(m_bytes, value); }
    bool Take(std::uint32_t size, std::string_view& out) {
        if (size > m_bytes.size()) return false;
        out = m_bytes.substr(0, size);
        m_bytes.remove_prefix(size);
        return true;
    }
    bool AtEnd() const { return m_bytes.empty(); }

  private:
    std::string_view m_bytes;
};

enum class FieldRead { Ok, TooLong, End };

// One field: its length word and digits.
FieldRead ReadField(CByteReader& reader, std::string& text) {
    std::uint32_t length = 0;
    std::string_view digits;
    if (!reader.ReadWord(length) || !reader.Take(length, digits)) return FieldRead::End;
    if (length > kMaxImportFieldLength) return FieldRead::TooLong;
    text.assign(digits);
    return FieldRead::Ok;
}

void AppendRecord(SealedRecord& plain, IItemList& list) {
    const int row = list.AppendRow(plain[kColLocation]);
    for (int column = kColUrl; column < kItemColumnCount; ++column) {
        list.SetText(row, column, plain[static_cast<std::size_t>(column)]);
    }
    // Plain texts are wiped as soon as the row has them.
    for (std::string& text : plain) WipeString(text);
}

std::string Records(int count) {
    return std::to_string(count) + (count == 1 ? " record" : " records");
}

}  // namespace

ExportReadResult ReadExportData(std::string_view bytes, IItemList& list,
                                const std::string& password) {
    ExportReadResult result;
    CByteReader reader(bytes);
    // The format word is not examined while records follow: files of
    // other writers may hold another value.
    std::uint32_t formatWord = 0;
    // The hardened format's word: its message must not be misread as records.
    if (!reader.ReadWord(formatWord) || formatWord == kHardenedExportFormatWord) {
        result.error = ExportReadError::NotExportFile;
        return result;
    }
    CPasswordSealer sealer;
    CSealingKey key(password);
    SealedRecord sealed;
    SealedRecord plain;
    std::string reason;
    while (!reader.AtEnd()) {
        bool tooLong = false;
        bool complete = true;
        for (std::size_t column = 0; complete && column < sealed.size(); ++column) {
            const FieldRead field = ReadField(reader, sealed[column]);
            tooLong = tooLong || field == FieldRead::TooLong;
            complete = field != FieldRead::End;
        }
        if (!complete) {
            result.truncated = true;
            break;
        }
        const RecordVerdict verdict = tooLong
                                          ? RecordVerdict::BreaksRules
                                          : JudgeImportedRecord(sealer, key, sealed, plain, reason);
        if (verdict == RecordVerdict::Accepted) {
            AppendRecord(plain, list);
            ++result.read;
            continue;
        }
        ++result.skipped;
        if (verdict == RecordVerdict::BreaksRules && result.brokeRules++ == 0) {
            result.firstBrokenRule = tooLong ? "a field holds more than " +
                                                   std::to_string(kMaxFieldChars) + " characters"
                                             : reason;
        }
    }
    // Records of which none could be imported, or no records and a word
    // that is not the format word: not an export file to import.
    if (result.read == 0 && (result.Unread() > 0 || formatWord != kExportFormatWord)) {
        result.error = ExportReadError::NotExportFile;
    }
    return result;
}

std::string DescribeUnread(const ExportReadResult& result) {
    std::string text;
    const auto add = [&text](const std::string& part) {
        if (!text.empty()) text += "; ";
        text += part;
    };
    const int notSealedHere = result.skipped - result.brokeRules;
    if (notSealedHere > 0) {
        add(Records(notSealedHere) + " not sealed under this UnLock password, or damaged");
    }
    if (result.brokeRules > 0) {
        add(Records(result.brokeRules) + " breaking the Item rules (" +
            (result.brokeRules == 1 ? "" : "the first: ") + result.firstBrokenRule + ")");
    }
    if (result.truncated) add("the last record cut off by the end of the file");
    return text;
}

void WriteExportHeader(std::string& out) { AppendWord(out, kExportFormatWord); }

bool WriteExportRecord(std::string& out, const SealedRecord& sealed) {
    if (sealed[kColLocation].empty() || sealed[kColPassword].size() != kSealedPasswordLength) {
        return false;
    }
    for (const std::string& field : sealed) {
        AppendWord(out, static_cast<std::uint32_t>(field.size()));
        out += field;
    }
    return true;
}

bool BuildExportData(const IItemList& list, const std::string& password, std::string& out) {
    // One key schedule for the whole file.
    CSealingKey key(password);
    if (!key.IsValid()) return false;
    CPasswordSealer sealer;
    out.clear();
    WriteExportHeader(out);
    SealedRecord sealed;
    const int rows = list.RowCount();
    for (int row = 0; row < rows; ++row) {
        bool keep = true;
        for (int column = 0; keep && column < kItemColumnCount; ++column) {
            std::string text = list.GetText(row, column);
            if (text.empty() && (column == kColLocation || column == kColPassword)) keep = false;
            if (keep) sealed[static_cast<std::size_t>(column)] = sealer.SealText(key, text);
            WipeString(text);
        }
        if (keep) WriteExportRecord(out, sealed);
    }
    return true;
}

bool WriteExportFile(const std::string& path, const IItemList& list, const std::string& password) {
    std::string data;
    return BuildExportData(list, password, data) && WriteFileAtomically(path, data, kExportMode);
}

bool WriteExportFile(const std::string& path, const IItemList& list, const CVault& vault, ExportFormat format) {
    std::string data;
    return vault.BuildExport(list, format, data) && WriteFileAtomically(path, data, kExportMode);
}

namespace {

// Reads the bytes of the file `path` to import, or says in `result` why not.
bool ReadImportBytes(const std::string& path, std::chrono::milliseconds waitLimit, std::string& bytes,
                     ExportReadResult& result) {
    const FileReadStatus status =
        waitLimit.count() > 0 ? ReadRegularFileWithin(path, kMaxExportFileBytes, waitLimit, bytes)
                              : ReadRegularFile(path, kMaxExportFileBytes, bytes);
    switch (status) {
        case FileReadStatus::Ok:
            return true;
        case FileReadStatus::CannotOpen:
            result.error = ExportReadError::CannotOpen;
            break;
        case FileReadStatus::NotRegular:
            result.error = ExportReadError::NotRegular;
            break;
        case FileReadStatus::TimedOut:
            result.error = ExportReadError::TimedOut;
            break;
        case FileReadStatus::TooLarge:
            result.error = ExportReadError::NotExportFile;
            break;
    }
    return false;
}

}  // namespace

ExportReadResult ReadExportFile(const std::string& path, IItemList& list, const std::string& password,
                                std::chrono::milliseconds waitLimit) {
    std::string bytes;
    ExportReadResult result;
    return ReadImportBytes(path, waitLimit, bytes, result) ? ReadExportData(bytes, list, password) : result;
}

ExportReadResult ReadExportFile(const std::string& path, IItemList& list, const CVault& vault,
                                std::chrono::milliseconds waitLimit) {
    std::string bytes;
    ExportReadResult result;
    return ReadImportBytes(path, waitLimit, bytes, result) ? vault.ReadExport(bytes, list) : result;
}

std::string BackupPathFor(const std::string& importPath) {
    const std::size_t slash = importPath.rfind('/');
    if (slash == std::string::npos) return {};
    return importPath.substr(0, slash + 1) + kBackupFileName;
}

namespace {

// Writes the backup's bytes made by `build` beside `importPath`.
bool SaveBackupData(const std::string& importPath, const IItemList& list, const ConfirmReplaceReadOnly& confirm,
                    const std::function<bool(std::string&)>& build) {
    if (list.RowCount() == 0) return true;
    const std::string backupPath = BackupPathFor(importPath);
    if (backupPath.empty()) return false;
    // Without the owner's consent the read-only backup stays.
    const bool readOnly = IsReadOnlyFile(backupPath);
    if (readOnly && !(confirm && confirm(backupPath))) return false;
    // The program chose this name, in a folder others may write: whatever
    // stands there is replaced, a link never followed.
    std::string data;
    return build(data) && ReplaceFileAtName(backupPath, data, kBackupMode, readOnly);
}

}  // namespace

bool SaveBackupFile(const std::string& importPath, const IItemList& list, const std::string& password,
                    const ConfirmReplaceReadOnly& confirm) {
    return SaveBackupData(importPath, list, confirm,
                          [&](std::string& data) { return BuildExportData(list, password, data); });
}

bool SaveBackupFile(const std::string& importPath, const IItemList& list, const CVault& vault,
                    const ConfirmReplaceReadOnly& confirm) {
    return SaveBackupData(importPath, list, confirm, [&](std::string& data) {
        return vault.BuildExport(list, vault.DefaultExportFormat(), data);
    });
}

std::string WithDefaultExtension(const std::string& name) {
    const std::filesystem::path path(name);
    if (!path.has_filename() || path.has_extension()) return name;
    return name + kExportExtension;
}
