#include "vault/ExportFile.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "vault/AtomicFile.h"
#include "vault/PasswordSealer.h"
#include "vault/SealingKey.h"

namespace {

constexpr std::size_t kWordSize = 4;
// A valid Item's Password is at most 16 bytes: exactly one sealed block.
constexpr std::size_t kSealedPasswordLength = 32;
constexpr mode_t kExportMode = 0600;
constexpr mode_t kBackupMode = 0400;

void AppendWord(std::string& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<char>((value >> shift) & 0xFFu));
    }
}

std::uint32_t WordOf(const unsigned char (&bytes)[kWordSize]) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

// Where the bytes of an export file come from. Remaining() bounds every
// length word, so no length can make the reader allocate, read or seek
// beyond what the file holds.
class IByteSource {
  public:
    virtual ~IByteSource() = default;
    /// Reads up to `size` bytes and returns how many it read.
    virtual std::size_t Read(void* out, std::size_t size) = 0;
    virtual std::uint64_t Remaining() const = 0;
    /// Moves past `size` bytes, at most Remaining().
    virtual bool Skip(std::uint64_t size) = 0;
};

class CMemorySource final : public IByteSource {
  public:
    explicit CMemorySource(std::string_view bytes) : m_bytes(bytes) {}
    std::size_t Read(void* out, std::size_t size) override {
        const std::size_t count = std::min(size, m_bytes.size());
        if (count > 0) std::copy_n(m_bytes.data(), count, static_cast<char*>(out));
        m_bytes.remove_prefix(count);
        return count;
    }
    std::uint64_t Remaining() const override { return m_bytes.size(); }
    bool Skip(std::uint64_t size) override {
        if (size > m_bytes.size()) return false;
        m_bytes.remove_prefix(static_cast<std::size_t>(size));
        return true;
    }

  private:
    std::string_view m_bytes;
};

class CFileSource final : public IByteSource {
  public:
    CFileSource(std::FILE* file, std::uint64_t size) : m_file(file), m_size(size) {}
    std::size_t Read(void* out, std::size_t size) override {
        const std::size_t count = std::fread(out, 1, size, m_file);
        m_position += count;
        return count;
    }
    // A file that shrinks while it is read simply gives short reads.
    std::uint64_t Remaining() const override {
        return m_size > m_position ? m_size - m_position : 0;
    }
    bool Skip(std::uint64_t size) override {
        if (size > Remaining()) return false;
        if (::fseeko(m_file, static_cast<off_t>(size), SEEK_CUR) != 0) return false;
        m_position += size;
        return true;
    }

  private:
    std::FILE* m_file;
    std::uint64_t m_size;
    std::uint64_t m_position = 0;
};

enum class FieldRead { Ok, TooLong, End };

// One field: its length word and digits. The text ends at its first zero byte.
FieldRead ReadField(IByteSource& source, std::string& text) {
    unsigned char word[kWordSize];
    if (source.Read(word, kWordSize) != kWordSize) return FieldRead::End;
    const std::uint32_t length = WordOf(word);
    if (length > source.Remaining()) return FieldRead::End;
    if (length > kMaxImportFieldLength) {
        return source.Skip(length) ? FieldRead::TooLong : FieldRead::End;
    }
    text.assign(length, '\0');
    if (source.Read(text.data(), length) != length) return FieldRead::End;
    text.resize(std::min(text.find('\0'), text.size()));
    return FieldRead::Ok;
}

// Appends the Item of one record; false when the record is to be skipped.
bool AppendRecord(const SealedRecord& sealed, CPasswordSealer& sealer, CSealingKey& key,
                  IItemList& list) {
    if (sealed[kColLocation].empty() || sealed[kColPassword].size() != kSealedPasswordLength) {
        return false;
    }
    // Plain texts live in locals and are wiped as soon as the row has them.
    std::string password = sealer.UnsealText(key, sealed[kColPassword]);
    // Only a wrong key unseals a Password to nothing.
    const bool keep = !password.empty();
    if (keep) {
        std::string location = sealer.UnsealText(key, sealed[kColLocation]);
        const int row = list.AppendRow(location);
        WipeString(location);
        for (int column = kColUrl; column < kColPassword; ++column) {
            std::string text = sealer.UnsealText(key, sealed[static_cast<std::size_t>(column)]);
            list.SetText(row, column, text);
            WipeString(text);
        }
        list.SetText(row, kColPassword, password);
    }
    WipeString(password);
    return keep;
}

ExportReadResult ReadRecords(IByteSource& source, IItemList& list, const std::string& password) {
    ExportReadResult result;
    // The format word is not examined: files of other writers may hold
    // another value, and an empty file simply holds no Items.
    unsigned char word[kWordSize];
    if (source.Read(word, kWordSize) != kWordSize) return result;
    CPasswordSealer sealer;
    CSealingKey key(password);
    SealedRecord sealed;
    // Records are read aside: the list gets them only when the file reads
    // as sealed under this password.
    CMemoryItemList records;
    bool sealedUnderKey = false;
    while (source.Remaining() > 0) {
        bool tooLong = false;
        bool complete = true;
        for (std::size_t column = 0; complete && column < sealed.size(); ++column) {
            const FieldRead field = ReadField(source, sealed[column]);
            tooLong = tooLong || field == FieldRead::TooLong;
            complete = field != FieldRead::End;
        }
        if (!complete) {
            result.truncated = true;
            break;
        }
        if (!tooLong && AppendRecord(sealed, sealer, key, records)) {
            ++result.read;
            if (!sealedUnderKey) {
                SealedRecord plain;
                sealedUnderKey = OpenSealedRecord(sealer, key, sealed, plain);
                for (std::string& text : plain) WipeString(text);
            }
        } else {
            ++result.skipped;
        }
    }
    // Nothing readable, or records of which none shows the zero padding of
    // Keynest's sealing under this password (a file made under another
    // UnLock password would import as meaningless text): refused whole.
    if ((result.read == 0 && (result.skipped > 0 || result.truncated)) ||
        (result.read > 0 && !sealedUnderKey)) {
        result.error = ExportReadError::NotExportFile;
        result.read = 0;
        return result;
    }
    AppendRows(records, list);
    return result;
}

}  // namespace

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

ExportReadResult ReadExportFile(const std::string& path, IItemList& list,
                                const std::string& password) {
    ExportReadResult result;
    std::FILE* file = std::fopen(path.c_str(), "rbe");
    struct stat info {};
    if (file == nullptr || ::fstat(::fileno(file), &info) != 0 || !S_ISREG(info.st_mode)) {
        if (file != nullptr) std::fclose(file);
        result.error = ExportReadError::CannotOpen;
        return result;
    }
    CFileSource source(file, static_cast<std::uint64_t>(info.st_size));
    result = ReadRecords(source, list, password);
    std::fclose(file);
    return result;
}

ExportReadResult ReadExportData(std::string_view bytes, IItemList& list,
                                const std::string& password) {
    CMemorySource source(bytes);
    return ReadRecords(source, list, password);
}

std::string BackupPathFor(const std::string& importPath) {
    const std::size_t slash = importPath.rfind('/');
    if (slash == std::string::npos) return {};
    return importPath.substr(0, slash + 1) + kBackupFileName;
}

bool SaveBackupFile(const std::string& importPath, const IItemList& list,
                    const std::string& password, const ConfirmReplaceReadOnly& confirm) {
    if (list.RowCount() == 0) return true;
    const std::string backupPath = BackupPathFor(importPath);
    if (backupPath.empty()) return false;
    // Without the owner's consent the read-only backup stays, and the write
    // below refuses to replace it.
    if (IsReadOnlyFile(backupPath) && confirm && confirm(backupPath)) {
        MakeFileWritable(backupPath);
    }
    std::string data;
    return BuildExportData(list, password, data) &&
           WriteFileAtomically(backupPath, data, kBackupMode);
}

std::string WithDefaultExtension(const std::string& name) {
    const std::filesystem::path path(name);
    if (!path.has_filename() || path.has_extension()) return name;
    return name + kExportExtension;
}
