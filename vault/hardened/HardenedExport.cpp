#include "vault/hardened/HardenedExport.h"

#include <array>

#include <botan/system_rng.h>

#include "vault/FileWords.h"
#include "vault/ItemList.h"
#include "vault/hardened/FieldCipher.h"

namespace {

constexpr std::size_t kHeaderSize = 4 * kFileWordSize + kVaultSaltBytes;

// Wipes and removes the records from `first` on.
void DropRecords(std::vector<SealedRecord>& records, std::size_t first) {
    for (std::size_t i = first; i < records.size(); ++i) {
        for (std::string& text : records[i]) WipeString(text);
    }
    records.resize(first);
}

// Appends the Items of an opened message; false when it is not laid out as
// written. Fields are read straight into their place: no copy to wipe.
bool ParseMessage(std::string_view message, std::vector<SealedRecord>& records) {
    std::uint32_t count = 0;
    // Each Item takes at least six length words, which bounds the count.
    if (!TakeWord(message, count) || count > message.size() / (kItemColumnCount * kFileWordSize)) return false;
    const std::size_t first = records.size();
    records.resize(first + count);
    for (std::size_t i = first; i < records.size(); ++i) {
        SealedRecord& record = records[i];
        for (std::string& field : record) {
            std::uint32_t length = 0;
            if (!TakeWord(message, length) || length > message.size()) return false;
            field.assign(message.substr(0, length));
            message.remove_prefix(length);
        }
    }
    return message.empty();
}

}  // namespace

bool IsHardenedExport(std::string_view data) {
    std::uint32_t word = 0;
    return TakeWord(data, word) && word == kHardenedExportFormatWord;
}

bool BuildHardenedExport(const IItemList& list, const std::string& password, const KdfParams& params,
                         std::string& out) {
    std::array<std::uint8_t, kVaultSaltBytes> salt{};
    std::array<std::uint8_t, kVaultKeyBytes> key{};
    try {
        Botan::system_rng().randomize(salt.data(), salt.size());
    } catch (const std::exception&) {
        return false;
    }
    if (!DeriveKeyArgon2id(password, salt, params, key)) return false;
    std::string header;
    for (const std::uint32_t word : {kHardenedExportFormatWord, params.memoryKiB, params.iterations, params.lanes}) {
        AppendWord(header, word);
    }
    header.append(reinterpret_cast<const char*>(salt.data()), salt.size());

    std::string message;
    AppendWord(message, static_cast<std::uint32_t>(list.RowCount()));
    for (int row = 0; row < list.RowCount(); ++row) {
        for (int column = 0; column < kItemColumnCount; ++column) {
            std::string text = list.GetText(row, column);
            AppendWord(message, static_cast<std::uint32_t>(text.size()));
            message += text;
            WipeString(text);
        }
    }
    CFieldCipher cipher(key);
    explicit_bzero(key.data(), key.size());
    const std::string sealed = cipher.SealBytes(message, header);
    WipeString(message);
    if (sealed.empty()) return false;
    out = header + sealed;
    return true;
}

HardenedExportError ReadHardenedExport(std::string_view data, const std::string& password,
                                       std::vector<SealedRecord>& records) {
    std::string_view rest = data;
    std::uint32_t word = 0;
    KdfParams params;
    if (!TakeWord(rest, word) || word != kHardenedExportFormatWord || !TakeWord(rest, params.memoryKiB) ||
        !TakeWord(rest, params.iterations) || !TakeWord(rest, params.lanes) || rest.size() < kVaultSaltBytes ||
        !IsAcceptableKdf(params)) {
        return HardenedExportError::NotHardenedExport;
    }
    const auto* salt = reinterpret_cast<const std::uint8_t*>(rest.data());
    std::array<std::uint8_t, kVaultKeyBytes> key{};
    if (!DeriveKeyArgon2id(password, {salt, kVaultSaltBytes}, params, key)) {
        return HardenedExportError::NotHardenedExport;
    }
    CFieldCipher cipher(key);
    explicit_bzero(key.data(), key.size());
    std::string message;
    if (!cipher.OpenBytes(data.substr(kHeaderSize), data.substr(0, kHeaderSize), message)) {
        return HardenedExportError::CannotOpen;
    }
    const std::size_t first = records.size();
    const bool parsed = ParseMessage(message, records);
    WipeString(message);
    if (!parsed) {
        // Sealed under the right key but not laid out as Keynest writes it.
        DropRecords(records, first);
        return HardenedExportError::CannotOpen;
    }
    return HardenedExportError::None;
}
