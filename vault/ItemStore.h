#pragma once

#include <string>
#include <vector>

class CPasswordSealer;
class IRecordCodec;
class CSealingKey;
class CRegistryStore;
class IItemList;

/// Keeps the Items in section "List" of the settings store: six sealed
/// values per Item ("Location%d", "URL%d", "ID%d", "Hint%d", "Note%d",
/// "Pwd%d"), numbered from 0 without gaps and ended by an index whose six
/// values are empty.
/// What a load found.
struct ItemLoadResult {
    bool ok = false;  ///< false: the store could not be read; the list is untouched
    int unread = 0;   ///< stored Items that could not be read; they are kept
};

class CItemStore final {
public:
    CItemStore(CRegistryStore& store, CPasswordSealer& sealer);
    CItemStore(const CItemStore&) = delete;
    CItemStore& operator=(const CItemStore&) = delete;

    /// Replaces the rows of `list` with the stored Items unsealed under
    /// `password`, read in one snapshot. Loading stops at the first record
    /// that cannot be read; that record and every stored one behind it are
    /// counted as unread and kept: the next save moves them, sealed as they
    /// are, to the set-aside section instead of overwriting them.
    [[nodiscard]] ItemLoadResult LoadAllItems(IItemList& list, const std::string& password);
    /// As above, in the format of `codec`. A format that vouches for its
    /// count reads that many records and judges each by itself.
    [[nodiscard]] ItemLoadResult LoadAllItems(IItemList& list, IRecordCodec& codec);
    /// Seals every row of `list` under `password` and stores them with the end
    /// marker in one transaction; values of Items no longer in the list are
    /// deleted. Refuses a row without Location or Password or with a Password
    /// over 16 bytes. On failure nothing changes and it returns false.
    [[nodiscard]] bool SaveAllItems(const IItemList& list, const std::string& password);
    /// As above, sealed by `codec`, whose format sets the Password limit.
    [[nodiscard]] bool SaveAllItems(const IItemList& list, IRecordCodec& codec);
    /// Forgets the unread records once a save that moved them is committed;
    /// callers that wrap SaveAllItems in their own transaction call it after
    /// their commit.
    void SaveCommitted() { m_unread.clear(); }
    /// True when the first record of `section` holds any value.
    bool HasStoredItems(const char* section);
    /// Copies the stored Items' sealed values unchanged into `section`, after
    /// any Items already kept there, and then stores an empty list, all in
    /// one transaction. Returns false, changing nothing, on failure.
    [[nodiscard]] bool SetAsideStoredItems(const std::string& section);
    /// Opens the Items kept in `section` under `key`: an Item opens when all
    /// six fields unseal strictly, its Location and Password are not empty and
    /// its fields carry at least 8 bytes of zero padding together. Opened
    /// Items are added to `rows`; the section is rewritten with the others.
    /// Returns false, changing nothing in the store, on failure.
    [[nodiscard]] bool OpenKeptItems(const std::string& section, CSealingKey& key, IItemList& rows,
                       int& opened, int& remaining);

private:
    bool MoveUnreadRecords();

    CRegistryStore& m_store;
    CPasswordSealer& m_sealer;
    std::vector<int> m_unread;  // indices of "List" records the last load could not read
};
