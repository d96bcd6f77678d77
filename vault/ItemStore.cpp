#include "vault/ItemStore.h"

#include <array>

#include "vault/ItemList.h"
#include "vault/PasswordSealer.h"
#include "settings/RegistryStore.h"
#include "vault/SealingKey.h"
#include "settings/StoreNames.h"

#include <vector>

namespace {

using Record = std::array<std::string, kItemColumnCount>;

constexpr const char* kValueNames[kItemColumnCount] = {"Location", "URL",  "ID",
                                                       "Hint",     "Note", "Pwd"};
// A valid Item's Password is at most 16 bytes: exactly one sealed block.
constexpr std::size_t kSealedPasswordLength = 32;

std::string ValueName(int column, int index) { return kValueNames[column] + std::to_string(index); }

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

}  // namespace

CItemStore::CItemStore(CRegistryStore& store, CPasswordSealer& sealer)
    : m_store(store), m_sealer(sealer) {}

void CItemStore::LoadAllItems(IItemList& list, const std::string& password) {
    list.RemoveAllRows();
    // One read transaction: a consistent view of the list, and SQLite
    // takes its snapshot once instead of once per value.
    CStoreTransaction snapshot(m_store);
    const std::string section = StoreNames::kList;
    CSealingKey key(password);
    Record sealed;
    for (int index = 0; ReadRecord(m_store, section, index, sealed); ++index) {
        // Plain texts live in locals initialised in place (no temporaries
        // left behind) and are wiped as soon as the row has them.
        std::string itemPassword = m_sealer.UnsealText(key, sealed[kColPassword]);
        // Only a wrong key unseals a Password to nothing; such an Item is
        // left out, and the ones after it still load.
        if (!itemPassword.empty()) {
            std::string location = m_sealer.UnsealText(key, sealed[kColLocation]);
            const int row = list.AppendRow(location);
            WipeString(location);
            for (int column = kColUrl; column < kColPassword; ++column) {
                std::string text =
                    m_sealer.UnsealText(key, sealed[static_cast<std::size_t>(column)]);
                list.SetText(row, column, text);
                WipeString(text);
            }
            list.SetText(row, kColPassword, itemPassword);
        }
        WipeString(itemPassword);
    }
}

bool CItemStore::SaveAllItems(const IItemList& list, const std::string& password) {
    // A key that cannot seal would store an empty list over the Items.
    CSealingKey key(password);
    if (!key.IsValid()) return false;
    CStoreTransaction transaction(m_store);
    if (!transaction.IsActive()) return false;

    const std::string section = StoreNames::kList;
    Record sealed;
    int stored = 0;
    bool ok = true;
    const int rows = list.RowCount();
    for (int row = 0; ok && row < rows; ++row) {
        // Rows without a Location or a Password are not stored.
        bool keep = true;
        for (int column = 0; keep && column < kItemColumnCount; ++column) {
            std::string text = list.GetText(row, column);
            if (text.empty() && (column == kColLocation || column == kColPassword)) keep = false;
            if (keep) sealed[static_cast<std::size_t>(column)] = m_sealer.SealText(key, text);
            WipeString(text);
        }
        if (keep && !sealed[kColPassword].empty()) {
            ok = WriteRecord(m_store, section, stored++, sealed);
        }
    }
    // An empty list is stored as one: the end marker lands at index 0.
    ok = ok && WriteEndMarker(m_store, section, stored);
    return ok && transaction.Commit();
}

bool CItemStore::HasStoredItems(const char* section) {
    return !m_store.GetString(section, ValueName(kColLocation, 0), std::string()).empty() ||
           !m_store.GetString(section, ValueName(kColPassword, 0), std::string()).empty();
}

bool CItemStore::SetAsideStoredItems(const std::string& section) {
    const std::string listSection = StoreNames::kList;
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

bool CItemStore::OpenKeptItems(const std::string& section, CSealingKey& key, IItemList& rows,
                               int& opened, int& remaining) {
    // A wrong key passes the padding test about once in 2^64 tries.
    constexpr std::size_t kMinimumPadding = 8;
    opened = 0;
    remaining = 0;
    if (!key.IsValid()) return false;
    CStoreTransaction transaction(m_store);
    if (!transaction.IsActive()) return false;

    std::vector<Record> kept;
    Record sealed;
    for (int index = 0; ReadRecord(m_store, section, index, sealed); ++index) {
        Record plain;
        std::size_t padding = 0;
        bool opens = true;
        for (int column = 0; opens && column < kItemColumnCount; ++column) {
            std::size_t fieldPadding = 0;
            const auto c = static_cast<std::size_t>(column);
            opens = m_sealer.UnsealPadded(key, sealed[c], plain[c], fieldPadding);
            padding += fieldPadding;
        }
        opens = opens && padding >= kMinimumPadding && !plain[kColLocation].empty() &&
                !plain[kColPassword].empty();
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
    if (opened == 0) {
        remaining = static_cast<int>(kept.size());
        return true;
    }
    // The section is written anew so that no sealed copy of a restored Item stays behind.
    bool ok = m_store.DeleteSection(section) == 0;
    int index = 0;
    for (; ok && index < static_cast<int>(kept.size()); ++index) {
        ok = WriteRecord(m_store, section, index, kept[static_cast<std::size_t>(index)]);
    }
    ok = ok && WriteEndMarker(m_store, section, index) && transaction.Commit();
    remaining = static_cast<int>(kept.size());
    return ok;
}
