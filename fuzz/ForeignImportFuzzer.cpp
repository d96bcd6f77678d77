// Another program's file, whatever its bytes: the reader either reads it
// whole or refuses it with a reason and no records, and every Item the
// import would add keeps the Item rules of a hardened vault.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "importers/ForeignFile.h"
#include "importers/ImportPlan.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const ForeignFormat format : {ForeignFormat::kAuto, ForeignFormat::kGenericCsv, ForeignFormat::kBitwardenJson}) {
        ForeignFile file;
        std::string error;
        if (!ReadForeignFile(bytes, format, file, error)) {
            Require(!error.empty() && file.records.empty(), "a refused file says why and keeps no record");
            continue;
        }
        const ImportPlan plan = PlanImport(file, CMemoryItemList(), kHardenedPasswordLimit);
        Require(plan.toAdd.RowCount() + static_cast<int>(plan.skipped.size()) == plan.found,
                "every record is added or left out with a reason");
        for (int row = 0; row < plan.toAdd.RowCount(); ++row) {
            Require(CheckItemFields(plan.toAdd.RowAt(row), kHardenedPasswordLimit).empty(),
                    "an added Item keeps the Item rules");
        }
    }
    return 0;
}
