#include "ItemStore.h"

#include <array>

#include "ItemList.h"
#include "PasswordSealer.h"
#include "RegistryStore.h"
#include "SealingKey.h"

namespace {

using Record = std::array<std::string, kItemColumnCount>;

constexpr const char* kValueNames[kItemColumnCount] = {"Location", "URL", "ID",
                                                       "Hint",     "Note", "Pwd"};
// A valid Item's Password is at most 16 bytes: exactly one sealed block.
constexpr std::size_t kSealedPasswordLength = 32;

std::string ValueName(int column, int index) {
    return kValueNames[column] + std::to_string(index);
}

// Reads the sealed values of one index. False at the end of the stored
// list: an empty Location or a Password value that is not one block.
bool ReadRecord(CRegistryStore& store, const std::string& section, int index, Record& values) {
    values[kColLocation] = store.GetString(section, ValueName(kColLocation, index), std::string());
    values[kColPassword] = store.GetString(section, ValueName(kColPassword, index), std::string());
    if (values[kColLocation].empty() || values[kColPassword].size() != kSealedPasswordLength) {
        return false;
    }
    for (int column = kColUrl; column < kColPassword; ++column) {
        values[static_cast<std::size_t>(column)] =
            store.GetString(section, ValueName(column, index), std::string());
    }
    return true;
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

void WipeRecord(Record& record) {
    for (std::string& text : record) WipeString(text);
}

}  // namespace

CItemStore::CItemStore(CRegistryStore& store, CPasswordSealer& sealer)
    : m_store(store), m_sealer(sealer) {}

void CItemStore::LoadAllItems(IItemList& list, const std::string& password) {
    list.RemoveAllRows();
    // One read transaction: a consistent view of the list, and SQLite
    // takes its snapshot once instead of once per value.
    CStoreTransaction snapshot(m_store);
    const std::string section = kListSection;
    CSealingKey key(password);
    Record sealed;
    Record plain;
    for (int index = 0; ReadRecord(m_store, section, index, sealed); ++index) {
        for (std::size_t column = 0; column < plain.size(); ++column) {
            plain[column] = m_sealer.UnsealText(key, sealed[column]);
        }
        // Only a wrong key unseals a Password to nothing; such an Item is
        // left out, and the ones after it still load.
        if (!plain[kColPassword].empty()) {
            const int row = list.AppendRow(plain[kColLocation]);
            for (int column = kColUrl; column < kItemColumnCount; ++column) {
                list.SetText(row, column, plain[static_cast<std::size_t>(column)]);
            }
        }
        WipeRecord(plain);
    }
}

bool CItemStore::SaveAllItems(const IItemList& list, const std::string& password) {
    // A key that cannot seal would store an empty list over the Items.
    CSealingKey key(password);
    if (!key.IsValid()) return false;
    CStoreTransaction transaction(m_store);
    if (!transaction.IsActive()) return false;

    const std::string section = kListSection;
    Record plain;
    Record sealed;
    int stored = 0;
    bool ok = true;
    const int rows = list.RowCount();
    for (int row = 0; ok && row < rows; ++row) {
        for (int column = 0; column < kItemColumnCount; ++column) {
            plain[static_cast<std::size_t>(column)] = list.GetText(row, column);
        }
        bool keep = !plain[kColLocation].empty() && !plain[kColPassword].empty();
        if (keep) {
            for (std::size_t column = 0; column < sealed.size(); ++column) {
                sealed[column] = m_sealer.SealText(key, plain[column]);
            }
            keep = !sealed[kColPassword].empty();
        }
        WipeRecord(plain);
        if (keep) ok = WriteRecord(m_store, section, stored++, sealed);
    }
    // An empty list is stored as one: the end marker lands at index 0.
    ok = ok && WriteEndMarker(m_store, section, stored);
    return ok && transaction.Commit();
}

bool CItemStore::HasStoredItems() {
    return !m_store.GetString(kListSection, ValueName(kColLocation, 0), std::string()).empty() ||
           !m_store.GetString(kListSection, ValueName(kColPassword, 0), std::string()).empty();
}

bool CItemStore::SetAsideStoredItems(const std::string& section) {
    const std::string listSection = kListSection;
    if (section.empty() || section == listSection) return false;
    CStoreTransaction transaction(m_store);
    if (!transaction.IsActive()) return false;

    Record values;
    int kept = 0;
    while (ReadRecord(m_store, section, kept, values)) ++kept;
    bool ok = true;
    int index = 0;
    for (; ok && ReadRecord(m_store, listSection, index, values); ++index) {
        ok = WriteRecord(m_store, section, kept + index, values);
    }
    ok = ok && WriteEndMarker(m_store, section, kept + index) &&
         WriteEndMarker(m_store, listSection, 0);
    return ok && transaction.Commit();
}
