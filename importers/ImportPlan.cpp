#include "importers/ImportPlan.h"

#include <set>
#include <string_view>
#include <tuple>

namespace {

using ItemKey = std::tuple<std::string_view, std::string_view, std::string_view>;

ItemKey KeyOf(const CMemoryItemList::Row& row) {
    return {row[kColLocation], row[kColUserId], row[kColPassword]};
}

}  // namespace

std::map<std::string, int> ImportPlan::ReasonCounts() const {
    std::map<std::string, int> counts;
    for (const Skipped& each : skipped) ++counts[each.reason];
    return counts;
}

ImportPlan PlanImport(const ForeignFile& file, const CMemoryItemList& existing, const PasswordLimit& limit) {
    ImportPlan plan;
    plan.found = static_cast<int>(file.records.size());
    // Rows are compared where they live: the keys point into them.
    std::set<ItemKey> known;
    for (int row = 0; row < existing.RowCount(); ++row) known.insert(KeyOf(existing.RowAt(row)));

    CMemoryItemList::Row item;
    for (const ForeignRecord& record : file.records) {
        item = record.fields;
        if (item[kColLocation].empty()) item[kColLocation] = HostOfUrl(item[kColUrl]);
        using Kind = ImportPlan::SkipKind;
        std::string reason = record.skipReason;
        Kind kind = reason.empty() ? Kind::kBreaksRules : Kind::kNotForKeynest;
        if (reason.empty() && item[kColLocation].empty()) reason = "no Location and no URL";
        if (reason.empty()) reason = CheckItemFields(item, limit);
        // A record that only the first format's Password limit refuses.
        if (!reason.empty() && kind == Kind::kBreaksRules && limit.bytes < kHardenedPasswordLimit.bytes &&
            !item[kColLocation].empty() && CheckItemFields(item, kHardenedPasswordLimit).empty()) {
            kind = Kind::kNeedsHardenedVault;
            reason += "; a hardened vault keeps longer ones";
        }
        if (reason.empty() && known.count(KeyOf(item)) != 0) {
            reason = "already in the list";
            kind = Kind::kDuplicate;
        }
        if (!reason.empty()) {
            plan.skipped.push_back({item[kColLocation], reason, kind});
        } else {
            const int row = plan.toAdd.AppendRow(item[kColLocation]);
            for (int column = kColUrl; column < kItemColumnCount; ++column) {
                plan.toAdd.SetText(row, column, item[static_cast<std::size_t>(column)]);
            }
            known.insert(KeyOf(plan.toAdd.RowAt(row)));
        }
        for (std::string& text : item) WipeString(text);
    }
    return plan;
}
