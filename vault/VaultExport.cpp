// The vault's export files: made and read inside the vault, so that the
// UnLock password they are keyed by never leaves it.
#include <vector>

#include "vault/ExportFile.h"
#include "vault/ItemRules.h"
#include "vault/Vault.h"
#include "vault/hardened/HardenedExport.h"

namespace {

// Rows with a Location and a Password: the ones an export keeps.
CMemoryItemList ExportableRows(const IItemList& rows) {
    CMemoryItemList kept;
    for (int row = 0; row < rows.RowCount(); ++row) {
        std::string location = rows.GetText(row, kColLocation);
        std::string password = rows.GetText(row, kColPassword);
        if (!location.empty() && !password.empty()) {
            const int place = kept.AppendRow(location);
            for (int column = kColUrl; column < kItemColumnCount; ++column) {
                std::string text = rows.GetText(row, column);
                kept.SetText(place, column, text);
                WipeString(text);
            }
        }
        WipeString(location);
        WipeString(password);
    }
    return kept;
}

}  // namespace

ExportFormat CVault::DefaultExportFormat() const {
    return Format() == VaultFormat::kHardened ? ExportFormat::kHardened : ExportFormat::kKeyText;
}

bool CVault::BuildExport(const IItemList& rows, ExportFormat format, std::string& out) const {
    if (!m_bUnlocked) return false;
    if (format == ExportFormat::kKeyText) {
        return KeyTextRefusal(rows) == ConvertRefusal::kNone && BuildExportData(rows, m_unlockPassword, out);
    }
    const KdfParams params = Format() == VaultFormat::kHardened ? m_hardened.kdf : kDefaultKdfParams;
    return BuildHardenedExport(ExportableRows(rows), m_unlockPassword, params, out);
}

ExportReadResult CVault::ReadExport(std::string_view bytes, IItemList& rows) const {
    ExportReadResult result;
    if (!m_bUnlocked) {
        result.error = ExportReadError::NotExportFile;
        return result;
    }
    if (!IsHardenedExport(bytes)) return ReadExportData(bytes, rows, m_unlockPassword);
    std::vector<SealedRecord> records;
    if (ReadHardenedExport(bytes, m_unlockPassword, records) != HardenedExportError::None) {
        // Another password or a changed file: the whole message fails.
        result.error = ExportReadError::NotExportFile;
        return result;
    }
    const PasswordLimit limit = PasswordRule();
    for (SealedRecord& record : records) {
        const std::string problem = CheckItemFields(record, limit);
        if (problem.empty()) {
            const int row = rows.AppendRow(record[kColLocation]);
            for (int column = kColUrl; column < kItemColumnCount; ++column) {
                rows.SetText(row, column, record[static_cast<std::size_t>(column)]);
            }
            ++result.read;
        } else {
            ++result.skipped;
            if (result.brokeRules++ == 0) result.firstBrokenRule = problem;
        }
        for (std::string& text : record) WipeString(text);
    }
    if (result.read == 0 && result.skipped > 0) result.error = ExportReadError::NotExportFile;
    return result;
}
