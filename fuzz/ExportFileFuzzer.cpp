// Feeds arbitrary bytes to the export file reader. Besides memory faults it
// checks two properties: the counts match the rows appended, and Items read
// from any input export and read back unchanged.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "vault/ExportFile.h"
#include "vault/ItemList.h"

namespace {

// The UnLock password of the seed corpus.
const std::string kPassword = "fuzz";

bool SameRows(const CMemoryItemList& a, const CMemoryItemList& b) {
    if (a.RowCount() != b.RowCount()) return false;
    for (int row = 0; row < a.RowCount(); ++row) {
        if (a.RowAt(row) != b.RowAt(row)) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CMemoryItemList list;
    const ExportReadResult result = ReadExportData(bytes, list, kPassword);
    if (result.read != list.RowCount()) std::abort();
    if (result.error != ExportReadError::None && list.RowCount() != 0) std::abort();

    // A Location may unseal to nothing; such rows are not exported again.
    CMemoryItemList kept;
    for (int row = 0; row < list.RowCount(); ++row) {
        const CMemoryItemList::Row& items = list.RowAt(row);
        if (items[kColLocation].empty()) continue;
        const int at = kept.AppendRow(items[kColLocation]);
        for (int column = kColUrl; column < kItemColumnCount; ++column) {
            kept.SetText(at, column, items[static_cast<std::size_t>(column)]);
        }
    }
    std::string exported;
    if (!BuildExportData(kept, kPassword, exported)) std::abort();
    CMemoryItemList again;
    const ExportReadResult second = ReadExportData(exported, again, kPassword);
    if (second.error != ExportReadError::None || second.skipped != 0 || second.truncated ||
        !SameRows(kept, again)) {
        std::abort();
    }
    return 0;
}
