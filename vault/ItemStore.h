#pragma once

#include <string>

class CPasswordSealer;
class CSealingKey;
class CRegistryStore;
class IItemList;

/// Keeps the Items in section "List" of the settings store: six sealed
/// values per Item ("Location%d", "URL%d", "ID%d", "Hint%d", "Note%d",
/// "Pwd%d"), numbered from 0 without gaps and ended by an index whose six
/// values are empty.
class CItemStore final {
public:
    CItemStore(CRegistryStore& store, CPasswordSealer& sealer);
    CItemStore(const CItemStore&) = delete;
    CItemStore& operator=(const CItemStore&) = delete;

    /// Replaces the rows of `list` with the stored Items unsealed under `password`.
    void LoadAllItems(IItemList& list, const std::string& password);
    /// Seals every row of `list` under `password` and stores them with the end
    /// marker in one transaction. On failure nothing changes and it returns false.
    bool SaveAllItems(const IItemList& list, const std::string& password);
    /// True when "Location0" or "Pwd0" of `section` holds a value.
    bool HasStoredItems(const char* section);
    /// Copies the stored Items' sealed values unchanged into `section`, after
    /// any Items already kept there, and then stores an empty list, all in
    /// one transaction. Returns false, changing nothing, on failure.
    bool SetAsideStoredItems(const std::string& section);
    /// Opens the Items kept in `section` under `key`: an Item opens when all
    /// six fields unseal strictly, its Location and Password are not empty and
    /// its fields carry at least 8 bytes of zero padding together. Opened
    /// Items are added to `rows`; the section is rewritten with the others.
    /// Returns false, changing nothing in the store, on failure.
    bool OpenKeptItems(const std::string& section, CSealingKey& key, IItemList& rows,
                       int& opened, int& remaining);

private:
    CRegistryStore& m_store;
    CPasswordSealer& m_sealer;
};
