#include "vault/ItemStore.h"

#include <array>
#include <cstring>

#include "vault/ItemList.h"
#include "vault/KeyTextCodec.h"
#include "vault/PasswordSealer.h"
#include "settings/RegistryStore.h"
#include "vault/SealingKey.h"
#include "vault/SealedRecord.h"
#include "settings/StoreNames.h"

#include <vector>

namespace {

using Record = SealedRecord;

std::string ValueName(int column, int index) { return ItemValueName(column, index); }

// The index of an Item value's name ("Note12" gives 12), or -1.
int ItemIndexOf(const std::string& name) {
    for (const char* prefix : kItemValueNames) {
        const std::size_t length = std::strlen(prefix);
        if (name.size() <= length || name.compare(0, length, prefix) != 0) continue;
        int index = 0;
        for (std::size_t i = length; i < name.size(); ++i) {
            if (name[i] < '0' || name[i] > '9' || index > 100000000) return -1;
            index = index * 10 + (name[i] - '0');
        }
        return index;
    }
    return -1;
}

// Reads the six sealed values of one index as they are. False when all six
// are empty: the end marker, or nothing at all.
bool ReadRawRecord(CRegistryStore& store, const std::string& section, int index, Record& values) {
    bool any = false;
    for (int column = 0; column < kItemColumnCount; ++column) {
        auto& value = values[static_cast<std::size_t>(column)];
        value = store.GetString(section, ValueName(column, index), std::string());
        any = any || !value.empty();
    }
    return any;
}

bool WriteRecord(CRegistryStore& store, const std::string& section, int index,
                 const Record& values) {
    for (int column = 0; column < kItemColumnCount; ++column) {
        if (!store.SetString(section, ValueName(column, index),
                             values[static_cast<std::size_t>(column)])) {
            return false;
        }
    }
    return true;
}

bool WriteEndMarker(CRegistryStore& store, const std::string& section, int index) {
    return WriteRecord(store, section, index, Record{});
}

// The number of records before the end marker of `section`.
int CountRecords(CRegistryStore& store, const std::string& section) {
    Record values;
    int count = 0;
    while (ReadRawRecord(store, section, count, values)) ++count;
    return count;
}

// Deletes the values of Items numbered above `endIndex`, the end marker's
// index, so that no sealed copy of an Item that is gone stays stored.
bool DeleteItemsAfter(CRegistryStore& store, const std::string& section, int endIndex) {
    std::vector<std::string> names;
    if (!store.ValueNames(section, names)) return false;
    for (const std::string& name : names) {
        if (ItemIndexOf(name) > endIndex && !store.DeleteValue(section, name)) return false;
    }
    return true;
}

bool AppendRecords(CRegistryStore& store, const std::string& section,
                   const std::vector<Record>& records) {
    int index = CountRecords(store, section);
    for (const Record& record : records) {
        if (!WriteRecord(store, section, index++, record)) return false;
    }
    return WriteEndMarker(store, section, index);
}

}  // namespace

CItemStore::CItemStore(CRegistryStore& store, CPasswordSealer& sealer)
    : m_store(store), m_sealer(sealer) {}

ItemLoadResult CItemStore::LoadAllItems(IItemList& list, const std::string& password) {
    CKeyTextCodec codec(m_sealer, password);
    return LoadAllItems(list, codec);
}

ItemLoadResult CItemStore::LoadAllItems(IItemList& list, IRecordCodec& codec) {
    ItemLoadResult result;
    // One snapshot: a load that cannot take it would read a mix of two
    // saves, so it reads nothing.
    CStoreTransaction snapshot(m_store);
    if (!snapshot.IsActive()) return result;
    list.RemoveAllRows();
    m_unread.clear();
    const std::string section = StoreNames::kList;
    const int vouched = codec.VouchedCount();
    Record sealed;
    Record plain;
    bool stopped = false;
    for (int index = 0;; ++index) {
        // A format that vouches for its count reads that many records, so a
        // blanked record cannot hide the ones behind it.
        const bool any = ReadRawRecord(m_store, section, index, sealed);
        if (vouched < 0 ? !any : index >= vouched) break;
        const RecordOpen opened = stopped ? RecordOpen::kUnreadable : codec.Open(sealed, index, plain);
        stopped = opened == RecordOpen::kUnreadable;
        if (opened != RecordOpen::kOpened) {
            // It cannot be shown, but it is kept.
            m_unread.push_back(index);
            continue;
        }
        const int row = list.AppendRow(plain[kColLocation]);
        for (int column = kColUrl; column < kItemColumnCount; ++column) {
            list.SetText(row, column, plain[static_cast<std::size_t>(column)]);
        }
        for (std::string& text : plain) WipeString(text);
    }
    result.ok = true;
    result.unread = static_cast<int>(m_unread.size());
    return result;
}

bool CItemStore::MoveUnreadRecords() {
    std::vector<Record> records;
    Record values;
    for (const int index : m_unread) {
        if (ReadRawRecord(m_store, StoreNames::kList, index, values)) records.push_back(values);
    }
    return records.empty() || AppendRecords(m_store, StoreNames::kKeptItems, records);
}

bool CItemStore::SaveAllItems(const IItemList& list, const std::string& password) {
    CKeyTextCodec codec(m_sealer, password);
    return SaveAllItems(list, codec);
}

bool CItemStore::SaveAllItems(const IItemList& list, IRecordCodec& codec) {
    // A key that cannot seal would store an empty list over the Items.
    if (!codec.IsValid()) return false;
    const int rows = list.RowCount();
    // Rows the load could not read back are refused before anything is written.
    for (int row = 0; row < rows; ++row) {
        std::string location = list.GetText(row, kColLocation);
        std::string itemPassword = list.GetText(row, kColPassword);
        const bool valid = !location.empty() && !itemPassword.empty() &&
                           itemPassword.size() <= codec.MaxPasswordBytes();
        WipeString(location);
        WipeString(itemPassword);
        if (!valid) return false;
    }
    const bool outermost = !m_store.InTransaction();
    CStoreTransaction transaction(m_store);
    if (!transaction.IsActive()) return false;

    // Records the last load could not read move aside before their places
    // are written over.
    bool ok = MoveUnreadRecords();
    const std::string section = StoreNames::kList;
    Record plain;
    Record sealed;
    for (int row = 0; ok && row < rows; ++row) {
        for (int column = 0; column < kItemColumnCount; ++column) {
            plain[static_cast<std::size_t>(column)] = list.GetText(row, column);
        }
        ok = codec.Seal(plain, row, sealed) && WriteRecord(m_store, section, row, sealed);
        for (std::string& text : plain) WipeString(text);
    }
    // An empty list is stored as one: the end marker lands at index 0.
    ok = ok && WriteEndMarker(m_store, section, rows) && DeleteItemsAfter(m_store, section, rows) &&
         transaction.Commit();
    if (ok && outermost) {
        SaveCommitted();
        // Empty the log so that no old page image of a deleted Item stays in it.
        (void)m_store.Checkpoint();
    }
    return ok;
}

bool CItemStore::HasStoredItems(const char* section) {
    Record values;
    return ReadRawRecord(m_store, section, 0, values);
}

bool CItemStore::SetAsideStoredItems(const std::string& section) {
    const std::string listSection = StoreNames::kList;
    if (section.empty() || section == listSection) return false;
    CStoreTransaction transaction(m_store);
    if (!transaction.IsActive()) return false;

    // Every stored record moves, readable or not, sealed as it is.
    std::vector<Record> records;
    Record values;
    for (int index = 0; ReadRawRecord(m_store, listSection, index, values); ++index) {
        records.push_back(values);
    }
    const bool ok = AppendRecords(m_store, section, records) &&
                    WriteEndMarker(m_store, listSection, 0) &&
                    DeleteItemsAfter(m_store, listSection, 0);
    m_unread.clear();
    return ok && transaction.Commit();
}

bool CItemStore::OpenKeptItems(const std::string& section, CSealingKey& key, IItemList& rows,
                               int& opened, int& remaining) {
    opened = 0;
    remaining = 0;
    if (!key.IsValid()) return false;
    CStoreTransaction transaction(m_store);
    if (!transaction.IsActive()) return false;

    std::vector<Record> kept;
    Record sealed;
    for (int index = 0; ReadRawRecord(m_store, section, index, sealed); ++index) {
        Record plain;
        const bool opens = OpenSealedRecord(m_sealer, key, sealed, plain) &&
                           !plain[kColLocation].empty() && !plain[kColPassword].empty() &&
                           plain[kColPassword].size() <= kMaxPasswordBytes;
        if (opens) {
            const int row = rows.AppendRow(plain[kColLocation]);
            for (int column = kColUrl; column < kItemColumnCount; ++column) {
                rows.SetText(row, column, plain[static_cast<std::size_t>(column)]);
            }
            ++opened;
        } else {
            kept.push_back(sealed);
        }
        for (std::string& text : plain) WipeString(text);
    }
    remaining = static_cast<int>(kept.size());
    if (opened == 0) return true;
    // The section is written anew so that no sealed copy of a restored Item stays behind.
    bool ok = m_store.DeleteSection(section) == 0;
    int index = 0;
    for (; ok && index < remaining; ++index) {
        ok = WriteRecord(m_store, section, index, kept[static_cast<std::size_t>(index)]);
    }
    return ok && WriteEndMarker(m_store, section, index) && transaction.Commit();
}
