#include "vault/Vault.h"

#include "settings/RegistryStore.h"
#include "settings/StoreNames.h"
#include "vault/ItemList.h"
#include "vault/SealingKey.h"

CVault::CVault(CRegistryStore& store) : m_store(store), m_itemStore(store, m_sealer) {}

CVault::~CVault() { WipeString(m_unlockPassword); }

bool CVault::HasCheckValue() const {
    return !m_store.GetString(StoreNames::kKeynest, StoreNames::kPassword, "").empty();
}

void CVault::SetPassword(const std::string& password) {
    WipeString(m_unlockPassword);
    m_unlockPassword = password;
    m_bUnlocked = true;
}

bool CVault::Unlock(const std::string& password) {
    const std::string stored = m_store.GetString(StoreNames::kKeynest, StoreNames::kPassword, "");
    std::string check = m_sealer.SealText(password, password, 0);
    const bool matches = !check.empty() && !stored.empty() && check == stored;
    WipeString(check);
    if (matches) SetPassword(password);
    return matches;
}

void CVault::Lock() {
    ++m_lockCount;
    m_bUnlocked = false;
    m_bUnsaved = false;
    WipeString(m_unlockPassword);
}

bool CVault::HasItemsWithoutCheckValue() {
    return !HasCheckValue() && m_itemStore.HasStoredItems(StoreNames::kList);
}

bool CVault::ChooseFirstPassword(const std::string& password) {
    std::string checkValue = m_sealer.SealText(password, password, 0);
    const bool setAside = HasItemsWithoutCheckValue();
    CStoreTransaction transaction(m_store);
    bool ok = !checkValue.empty() && transaction.IsActive();
    // Items found without a check value are sealed under a password nobody
    // can tell: they are kept aside as they are, never re-sealed.
    if (ok && setAside) ok = m_itemStore.SetAsideStoredItems(StoreNames::kKeptItems);
    ok = ok && m_store.SetString(StoreNames::kKeynest, StoreNames::kPassword, checkValue);
    CMemoryItemList empty;
    ok = ok && m_itemStore.SaveAllItems(empty, password) && transaction.Commit();
    WipeString(checkValue);
    if (ok) {
        m_itemStore.SaveCommitted();
        m_bLoaded = true;
        SetPassword(password);
    }
    return ok;
}

bool CVault::ChangePassword(const std::string& newPassword, const IItemList& rows) {
    if (!m_bUnlocked || !m_bLoaded) return false;
    std::string checkValue = m_sealer.SealText(newPassword, newPassword, 0);
    CStoreTransaction transaction(m_store);
    const bool ok = !checkValue.empty() && transaction.IsActive() &&
                    m_store.SetString(StoreNames::kKeynest, StoreNames::kPassword, checkValue) &&
                    m_itemStore.SaveAllItems(rows, newPassword) && transaction.Commit();
    WipeString(checkValue);
    if (ok) {
        m_itemStore.SaveCommitted();
        SetPassword(newPassword);
        m_bUnsaved = false;
    }
    return ok;
}

ItemLoadResult CVault::LoadAllItems(IItemList& rows) {
    if (!m_bUnlocked) return {};
    const ItemLoadResult result = m_itemStore.LoadAllItems(rows, m_unlockPassword);
    m_bLoaded = result.ok;
    if (result.ok) m_bUnsaved = false;
    return result;
}

bool CVault::SaveAllItems(const IItemList& rows) {
    if (!m_bUnlocked) return true;
    const bool saved = m_bLoaded && m_itemStore.SaveAllItems(rows, m_unlockPassword);
    m_bUnsaved = !saved;
    return saved;
}

bool CVault::ChangesAgainstStore(const IItemList& rows, ItemChanges& changes) {
    if (!m_bUnlocked) return false;
    CMemoryItemList stored;
    if (!m_itemStore.LoadAllItems(stored, m_unlockPassword).ok) return false;
    // A sorted copy: an edited Location may have left `rows` out of order.
    CMemoryItemList current;
    for (int row = 0; row < rows.RowCount(); ++row) {
        const int place = current.AppendRow(rows.GetText(row, kColLocation));
        for (int column = kColLocation + 1; column < kItemColumnCount; ++column) {
            std::string text = rows.GetText(row, column);
            current.SetText(place, column, text);
            WipeString(text);
        }
    }
    changes = CompareItemLists(stored, current);
    return true;
}

void CVault::KeepNoticeForUnlock(const std::string& text) {
    if (m_bUnlocked) m_sealedNotice = m_sealer.SealText(m_unlockPassword, text, 0);
}

std::string CVault::TakeUnlockNotice() {
    if (!m_bUnlocked || m_sealedNotice.empty()) return {};
    std::string text = m_sealer.UnsealText(m_sealedNotice, m_unlockPassword);
    m_sealedNotice.clear();
    return text;
}

bool CVault::HasSetAsideItems() { return m_itemStore.HasStoredItems(StoreNames::kKeptItems); }

SetAsideResult CVault::RestoreSetAsideItems(const std::string& password, IItemList& rows) {
    SetAsideResult result;
    if (!m_bUnlocked || !HasSetAsideItems()) return result;
    CSealingKey key(password);
    bool ok = false;
    bool rowsAdded = false;
    {
        CStoreTransaction transaction(m_store);
        CMemoryItemList opened;
        ok = transaction.IsActive() && m_itemStore.OpenKeptItems(StoreNames::kKeptItems, key, opened,
                                                                   result.restored, result.remaining);
        if (ok && result.restored > 0) {
            AppendRows(opened, rows);
            rowsAdded = true;
            ok = m_bLoaded && m_itemStore.SaveAllItems(rows, m_unlockPassword) &&
                 transaction.Commit();
            if (ok) m_itemStore.SaveCommitted();
            m_bUnsaved = m_bUnsaved && !ok;
        }
    }
    if (!ok) {
        // The store is as it was (the transaction rolled back): so must the list be.
        if (rowsAdded) (void)LoadAllItems(rows);
        result.stored = false;
        result.remaining += result.restored;
        result.restored = 0;
    }
    return result;
}

bool CVault::EraseEverything() {
    Lock();
    CStoreTransaction transaction(m_store);
    bool ok = transaction.IsActive();
    for (const char* section : StoreNames::kAllSections) {
        ok = ok && m_store.DeleteSection(section) == 0;
    }
    return ok && transaction.Commit();
}
