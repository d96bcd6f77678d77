#include "vault/ItemChanges.h"

#include <algorithm>

#include "vault/ItemList.h"

namespace {

using Row = CMemoryItemList::Row;

/// The rows from `first` on that have the Location of row `first`; the
/// list is in Location order, so they follow one another.
std::vector<const Row*> SameLocation(const CMemoryItemList& rows, int first) {
    std::vector<const Row*> group;
    const std::string& location = rows.RowAt(first)[kColLocation];
    for (int row = first; row < rows.RowCount() && rows.RowAt(row)[kColLocation] == location;
         ++row) {
        group.push_back(&rows.RowAt(row));
    }
    // Ordered by content, so that two groups of the same Items compare equal.
    std::sort(group.begin(), group.end(), [](const Row* a, const Row* b) { return *a < *b; });
    return group;
}

bool SameItems(const std::vector<const Row*>& a, const std::vector<const Row*>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const Row* x, const Row* y) { return *x == *y; });
}

}  // namespace

ItemChanges CompareItemLists(const CMemoryItemList& older, const CMemoryItemList& newer) {
    ItemChanges changes;
    int o = 0;
    int n = 0;
    while (o < older.RowCount() || n < newer.RowCount()) {
        int order = 0;
        if (o >= older.RowCount()) {
            order = 1;
        } else if (n >= newer.RowCount()) {
            order = -1;
        } else {
            order = CompareLocations(older.RowAt(o)[kColLocation], newer.RowAt(n)[kColLocation]);
        }
        const std::vector<const Row*> before =
            order <= 0 ? SameLocation(older, o) : std::vector<const Row*>{};
        const std::vector<const Row*> after =
            order >= 0 ? SameLocation(newer, n) : std::vector<const Row*>{};
        if (order < 0) {
            changes.deleted.push_back((*before.front())[kColLocation]);
        } else if (order > 0) {
            changes.added.push_back((*after.front())[kColLocation]);
        } else if (!SameItems(before, after)) {
            changes.changed.push_back((*after.front())[kColLocation]);
        }
        o += static_cast<int>(before.size());
        n += static_cast<int>(after.size());
    }
    return changes;
}

void WipeChanges(ItemChanges& changes) {
    for (auto* names : {&changes.added, &changes.changed, &changes.deleted}) {
        for (std::string& name : *names) WipeString(name);
        names->clear();
    }
}
