#include "vault/Vault.h"

#include "settings/Preferences.h"
#include "settings/RegistryStore.h"
#include "settings/StoreNames.h"
#include "vault/ItemList.h"
#include "vault/KeyTextCodec.h"
#include "vault/SealingKey.h"
#include "vault/hardened/FieldCipher.h"
#include "vault/hardened/VaultKeyCodec.h"

CVault::CVault(CRegistryStore& store) : m_store(store), m_itemStore(store, m_sealer) {}

CVault::~CVault() { WipeString(m_unlockPassword); }

bool CVault::HasCheckValue() const {
    return !m_store.GetString(StoreNames::kKeynest, StoreNames::kPassword, "").empty() ||
           IsHardenedStore(m_store);
}

VaultFormat CVault::Format() const {
    return IsHardenedStore(m_store) ? VaultFormat::kHardened : VaultFormat::kKeyText;
}

unsigned CVault::MaxGeneratedLength() const {
    return Format() == VaultFormat::kHardened ? kMaxHardenedLength : kMaxLength;
}

PasswordLimit CVault::PasswordRule() const {
    return Format() == VaultFormat::kHardened ? kHardenedPasswordLimit : kKeyTextPasswordLimit;
}

void CVault::SetPassword(const std::string& password) {
    WipeString(m_unlockPassword);
    m_unlockPassword = password;
    m_bUnlocked = true;
}

bool CVault::Unlock(const std::string& password) {
    if (IsHardenedStore(m_store)) {
        // No stored value tells a right guess without a full derivation.
        if (!OpenHardenedKey(m_store, password, m_hardened)) return false;
        SetPassword(password);
        return true;
    }
    const std::string stored = m_store.GetString(StoreNames::kKeynest, StoreNames::kPassword, "");
    std::string check = m_sealer.SealText(password, password, 0);
    const bool matches = !check.empty() && !stored.empty() && check == stored;
    WipeString(check);
    if (matches) SetPassword(password);
    return matches;
}

namespace {

// The notice of unsaved changes, sealed between a lock and the next unlock.
std::string NoticePlace() { return FieldPlace(StoreNames::kKeynest, "UnsavedNotice", 0); }

}  // namespace

UnlockOverlap CVault::CompareWithUnlockPassword(std::string_view password) const {
    constexpr std::size_t kMinOverlap = 4;
    const std::string_view unlock = m_unlockPassword;
    if (!m_bUnlocked || password.empty() || unlock.empty()) return UnlockOverlap::kNone;
    if (password == unlock) return UnlockOverlap::kEqual;
    if (unlock.size() >= kMinOverlap && password.find(unlock) != std::string_view::npos) {
        return UnlockOverlap::kContains;
    }
    if (password.size() >= kMinOverlap && unlock.find(password) != std::string_view::npos) {
        return UnlockOverlap::kContained;
    }
    return UnlockOverlap::kNone;
}

void CVault::Lock() {
    ++m_lockCount;
    m_bUnlocked = false;
    m_bUnsaved = false;
    WipeString(m_unlockPassword);
    m_hardened.Wipe();
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
    if (Format() == VaultFormat::kHardened) {
        // A new password takes a new salt; the cost stays the vault's own.
        HardenedKey next;
        if (!MakeHardenedKey(newPassword, m_hardened.kdf, next)) return false;
        next.generation = m_hardened.generation;
        CStoreTransaction transaction(m_store);
        if (!transaction.IsActive() || !WriteRows(rows, &next) || !transaction.Commit()) return false;
        AdoptKey(next);
        RowsCommitted(rows);
        SetPassword(newPassword);
        return true;
    }
    std::string checkValue = m_sealer.SealText(newPassword, newPassword, 0);
    CStoreTransaction transaction(m_store);
    const bool ok = !checkValue.empty() && transaction.IsActive() &&
                    m_store.SetString(StoreNames::kKeynest, StoreNames::kPassword, checkValue) &&
                    m_itemStore.SaveAllItems(rows, newPassword) && transaction.Commit();
    WipeString(checkValue);
    if (ok) {
        SetPassword(newPassword);
        RowsCommitted(rows);
    }
    return ok;
}

bool CVault::ConvertToHardened(const IItemList& rows, const KdfParams& params) {
    if (!m_bUnlocked || !m_bLoaded || Format() == VaultFormat::kHardened) return false;
    HardenedKey next;
    if (!MakeHardenedKey(m_unlockPassword, params, next)) return false;
    CStoreTransaction transaction(m_store);
    if (!transaction.IsActive() || !WriteRows(rows, &next) || !transaction.Commit()) return false;
    AdoptKey(next);
    RowsCommitted(rows);
    return true;
}

ConvertRefusal CVault::KeyTextRefusal(const IItemList& rows, int* longRow) const {
    if (!m_bUnlocked) return ConvertRefusal::kNotUnlocked;
    if (m_unlockPassword.size() > kMaxPasswordBytes) return ConvertRefusal::kLongUnlockPassword;
    for (int row = 0; row < rows.RowCount(); ++row) {
        std::string itemPassword = rows.GetText(row, kColPassword);
        const bool fits = itemPassword.size() <= kMaxPasswordBytes;
        WipeString(itemPassword);
        if (!fits) {
            if (longRow != nullptr) *longRow = row;
            return ConvertRefusal::kLongItemPassword;
        }
    }
    return ConvertRefusal::kNone;
}

ConvertRefusal CVault::ConvertToKeyText(const IItemList& rows) {
    if (!m_bUnlocked || !m_bLoaded || Format() != VaultFormat::kHardened) return ConvertRefusal::kNotUnlocked;
    if (const ConvertRefusal refusal = KeyTextRefusal(rows); refusal != ConvertRefusal::kNone) return refusal;
    std::string checkValue = m_sealer.SealText(m_unlockPassword, m_unlockPassword, 0);
    CStoreTransaction transaction(m_store);
    const bool ok = !checkValue.empty() && transaction.IsActive() && EraseHardenedHeader(m_store) &&
                    m_store.SetString(StoreNames::kKeynest, StoreNames::kPassword, checkValue) &&
                    WriteRows(rows, nullptr) && transaction.Commit();
    WipeString(checkValue);
    if (!ok) return ConvertRefusal::kStoreFailed;
    m_hardened.Wipe();
    RowsCommitted(rows);
    return ConvertRefusal::kNone;
}

ItemLoadResult CVault::LoadAllItems(IItemList& rows) {
    if (!m_bUnlocked) return {};
    const ItemLoadResult result = LoadStoredItems(rows);
    m_bLoaded = result.ok;
    if (result.ok) m_bUnsaved = false;
    return result;
}

ItemLoadResult CVault::LoadStoredItems(IItemList& rows) {
    if (Format() == VaultFormat::kHardened) {
        CVaultKeyCodec codec(m_hardened.key, m_hardened.generation, m_hardened.count);
        return m_itemStore.LoadAllItems(rows, codec);
    }
    return m_itemStore.LoadAllItems(rows, m_unlockPassword);
}

bool CVault::SaveAllItems(const IItemList& rows) {
    if (!m_bUnlocked) return true;
    CStoreTransaction transaction(m_store);
    const bool saved = m_bLoaded && transaction.IsActive() && WriteRows(rows, nullptr) && transaction.Commit();
    if (saved) {
        RowsCommitted(rows);
    } else {
        m_bUnsaved = true;
    }
    return saved;
}

bool CVault::WriteRows(const IItemList& rows, const HardenedKey* newKey) {
    const HardenedKey* key = newKey;
    if (key == nullptr && Format() == VaultFormat::kHardened) key = &m_hardened;
    if (key == nullptr) return m_itemStore.SaveAllItems(rows, m_unlockPassword);
    // Every value of a save belongs to the next generation, so a value
    // replayed from an earlier save no longer opens.
    const std::uint64_t next = key->generation + 1;
    CVaultKeyCodec codec(key->key, next, 0);
    return m_itemStore.SaveAllItems(rows, codec) && StoreHardenedHeader(m_store, *key, next, rows.RowCount());
}

void CVault::AdoptKey(const HardenedKey& key) {
    m_hardened.kdf = key.kdf;
    m_hardened.salt = key.salt;
    m_hardened.key = key.key;
    m_hardened.generation = key.generation;
}

void CVault::RowsCommitted(const IItemList& rows) {
    m_itemStore.SaveCommitted();
    m_bUnsaved = false;
    if (Format() == VaultFormat::kHardened) {
        ++m_hardened.generation;
        m_hardened.count = rows.RowCount();
    }
    // Empty the log so that no old page image of a deleted Item stays in it.
    (void)m_store.Checkpoint();
}

bool CVault::ChangesAgainstStore(const IItemList& rows, ItemChanges& changes) {
    if (!m_bUnlocked) return false;
    CMemoryItemList stored;
    if (!LoadStoredItems(stored).ok) return false;
    // A sorted copy: an edited Location may have left `rows` out of order.
    CMemoryItemList current;
    AppendRows(rows, current);
    changes = CompareItemLists(stored, current);
    return true;
}

void CVault::KeepNoticeForUnlock(const std::string& text) {
    if (!m_bUnlocked) return;
    if (Format() == VaultFormat::kHardened) {
        CFieldCipher cipher(m_hardened.key);
        m_sealedNotice = cipher.Seal(text, NoticePlace());
    } else {
        m_sealedNotice = m_sealer.SealText(m_unlockPassword, text, 0);
    }
}

std::string CVault::TakeUnlockNotice() {
    if (!m_bUnlocked || m_sealedNotice.empty()) return {};
    std::string text;
    if (Format() == VaultFormat::kHardened) {
        CFieldCipher cipher(m_hardened.key);
        (void)cipher.Open(m_sealedNotice, NoticePlace(), text);
    } else {
        text = m_sealer.UnsealText(m_sealedNotice, m_unlockPassword);
    }
    m_sealedNotice.clear();
    return text;
}

bool CVault::HasSetAsideItems() { return m_itemStore.HasStoredItems(StoreNames::kKeptItems); }

SetAsideResult CVault::RestoreSetAsideItems(IItemList& rows) { return RestoreSetAsideItems(m_unlockPassword, rows); }

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
            ok = m_bLoaded && WriteRows(rows, nullptr) && transaction.Commit();
            if (ok) RowsCommitted(rows);
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
