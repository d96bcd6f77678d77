#pragma once

#include <string>
#include <vector>

class CMemoryItemList;

/// How one list of Items differs from another, by Location: the Locations
/// found only in the newer list, those whose Items differ in any field, and
/// those found only in the older one. Each Location is named once.
struct ItemChanges {
    std::vector<std::string> added;
    std::vector<std::string> changed;
    std::vector<std::string> deleted;

    bool Empty() const { return added.empty() && changed.empty() && deleted.empty(); }
};

/// What `newer` changes against `older`. Items with the same Location are
/// compared as a group, in any order.
ItemChanges CompareItemLists(const CMemoryItemList& older, const CMemoryItemList& newer);

/// Wipes every Location `changes` names and empties it.
void WipeChanges(ItemChanges& changes);
