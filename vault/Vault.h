#pragma once

#include <string>
#include <string_view>

#include "vault/ItemChanges.h"
#include "vault/ItemRules.h"
#include "vault/ItemStore.h"
#include "vault/hardened/HardenedKey.h"
#include "vault/PasswordSealer.h"

class CRegistryStore;
class IItemList;

/// How a vault keeps its Items.
enum class VaultFormat {
    kKeyText,   ///< the UnLock password's bytes are the Twofish key; 16-byte limits
    kHardened,  ///< Argon2id key, Twofish-256 in EAX mode, values bound to their place
};

/// How a password relates to the UnLock password.
enum class UnlockOverlap { kNone, kEqual, kContains, kContained };

/// The format of an export file.
enum class ExportFormat {
    kKeyText,   ///< Items sealed as in the first vault format, under the UnLock password's bytes
    kHardened,  ///< every Item in one authenticated message under an Argon2id key
};

struct ExportReadResult;

/// Why a conversion to the first format was refused.
enum class ConvertRefusal { kNone, kNotUnlocked, kLongUnlockPassword, kLongItemPassword, kStoreFailed };

/// What a try to open the set-aside Items under a password came to.
struct SetAsideResult {
    int restored = 0;    ///< Items that opened and are back in the list
    int remaining = 0;   ///< Items that stay set aside
    bool stored = true;  ///< false: the store refused the change; nothing changed
};

/// What the program knows about the user's Items while it runs: the check
/// value, the lock state with the UnLock password, and the sealed Items in
/// the settings store. Dialogs ask and tell; this class decides. It needs
/// no user interface, so the desktop program and the command-line tool
/// share it.
class CVault final {
public:
    explicit CVault(CRegistryStore& store);
    ~CVault();
    CVault(const CVault&) = delete;
    CVault& operator=(const CVault&) = delete;

    CRegistryStore& Store() { return m_store; }
    /// The sealer whose block buffers the Twofish tester and self-test use.
    CPasswordSealer& Sealer() { return m_sealer; }

    /// True once an UnLock password has been chosen (its check value, or a
    /// hardened vault's header, is stored).
    [[nodiscard]] bool HasCheckValue() const;
    /// The format of the stored vault.
    [[nodiscard]] VaultFormat Format() const;
    /// How long the UnLock password and an Item Password may be in the vault's format.
    [[nodiscard]] PasswordLimit PasswordRule() const;
    /// Longest generated password the vault's format takes: 16 classic, 64 hardened.
    [[nodiscard]] unsigned MaxGeneratedLength() const;
    [[nodiscard]] bool IsUnlocked() const { return m_bUnlocked; }

    /// How `password` relates to the UnLock password: equal, holding it, or
    /// held in it (overlaps under 4 bytes are not counted). Compared here,
    /// so the UnLock password never leaves the vault; kNone while locked.
    [[nodiscard]] UnlockOverlap CompareWithUnlockPassword(std::string_view password) const;

    /// Compares the check value of `password` with the stored one and
    /// unlocks on a match. A wrong password is not kept.
    [[nodiscard]] bool Unlock(const std::string& password);
    /// Locks: the UnLock password is wiped.
    void Lock();
    /// How many times the vault has locked: a command that waited in a
    /// dialog compares it with the count from before to see whether a lock
    /// came meanwhile, even when the user has unlocked again since.
    [[nodiscard]] unsigned LockCount() const { return m_lockCount; }

    /// True when Items are stored but no check value: the first choice of a
    /// password will set them aside.
    [[nodiscard]] bool HasItemsWithoutCheckValue();
    /// First use: stores the check value of `password`, sets aside Items
    /// found without one (sealed as they are) and starts an empty list, in
    /// one transaction. Unlocks on success; changes nothing on failure.
    [[nodiscard]] bool ChooseFirstPassword(const std::string& password);
    /// Stores the check value of `newPassword` and every row re-sealed under
    /// it in one transaction. On failure the old password stays in force.
    [[nodiscard]] bool ChangePassword(const std::string& newPassword, const IItemList& rows);

    /// Replaces `rows` with the stored Items. Not ok while locked or when the
    /// store could not be read; `rows` is then left alone, and no save is
    /// allowed until a load succeeds, so nothing unread is overwritten.
    [[nodiscard]] ItemLoadResult LoadAllItems(IItemList& rows);
    /// Stores `rows` sealed under the UnLock password in one transaction.
    /// While locked nothing is written and it returns true (there is nothing
    /// to store: the list is empty and no password is confirmed). False after
    /// a failed load, or when the store refused.
    [[nodiscard]] bool SaveAllItems(const IItemList& rows);
    /// True when the last load read the store (or none was needed).
    [[nodiscard]] bool IsLoaded() const { return m_bLoaded; }
    /// True after a save of the list failed, until the list is stored or
    /// loaded again, or the vault locks.
    [[nodiscard]] bool HasUnsavedChanges() const { return m_bUnsaved; }
    /// What `rows` changes against the stored Items; false when the stored
    /// Items could not be read to compare. Only while unlocked.
    [[nodiscard]] bool ChangesAgainstStore(const IItemList& rows, ItemChanges& changes);

    /// Keeps `text` sealed under the UnLock password through the next lock,
    /// so that only the next unlock can read it. Only while unlocked.
    void KeepNoticeForUnlock(const std::string& text);
    /// Once unlocked again: the kept text, then forgotten; empty when none.
    [[nodiscard]] std::string TakeUnlockNotice();

    /// True while Items are set aside.
    [[nodiscard]] bool HasSetAsideItems();
    /// Tries `password` on the set-aside Items. Those that open join `rows`,
    /// and the list (under the UnLock password) and the Items still set
    /// aside are stored in one transaction. Only while unlocked.
    SetAsideResult RestoreSetAsideItems(const std::string& password, IItemList& rows);
    /// The same with the UnLock password, which never leaves the vault.
    SetAsideResult RestoreSetAsideItems(IItemList& rows);

    /// Converts the vault to the hardened format with `params`: a new salt,
    /// the key derived from the UnLock password and every row sealed anew,
    /// in one transaction. Only while unlocked and loaded; false, changing
    /// nothing, on failure.
    [[nodiscard]] bool ConvertToHardened(const IItemList& rows, const KdfParams& params);
    /// Why the first format cannot hold the UnLock password or one of `rows`
    /// Passwords (over 16 bytes), or kNone when it can; `longRow`, when
    /// given, gets the first row whose Password is too long.
    [[nodiscard]] ConvertRefusal KeyTextRefusal(const IItemList& rows, int* longRow = nullptr) const;
    /// Converts a hardened vault back to the first format when the UnLock
    /// password and every Password fit its 16 bytes, in one transaction.
    [[nodiscard]] ConvertRefusal ConvertToKeyText(const IItemList& rows);

    /// The export format the vault writes unless asked otherwise: its own.
    [[nodiscard]] ExportFormat DefaultExportFormat() const;
    /// The bytes of an export file of `rows` in `format`, keyed by the
    /// UnLock password, which never leaves the vault. Rows without Location
    /// or Password are left out. False while locked, or when the first
    /// format cannot hold the UnLock password or a Password (over 16 bytes).
    [[nodiscard]] bool BuildExport(const IItemList& rows, ExportFormat format, std::string& out) const;
    /// Appends to `rows` the Items of an export file's `bytes`, in either
    /// format, each judged by the Item rules and the vault's Password limit.
    [[nodiscard]] ExportReadResult ReadExport(std::string_view bytes, IItemList& rows) const;

    /// Erases every section the program writes, the set-aside Items
    /// included, and locks. False when the store refused.
    [[nodiscard]] bool EraseEverything();

private:
    void SetPassword(const std::string& password);
    /// Stores `rows` in the stored format inside the caller's transaction;
    /// a hardened vault also writes its verifier for the next generation.
    bool WriteRows(const IItemList& rows, const HardenedKey* newKey);
    /// After a commit of WriteRows: unread records are forgotten, the log
    /// is emptied and the hardened state moves to the stored generation.
    void RowsCommitted(const IItemList& rows);
    /// Loads the stored Items in the stored format.
    ItemLoadResult LoadStoredItems(IItemList& rows);
    /// Takes a new key's parameters, salt, key and generation.
    void AdoptKey(const HardenedKey& key);

    CRegistryStore& m_store;
    CPasswordSealer m_sealer;
    CItemStore m_itemStore;
    bool m_bUnlocked = false;
    bool m_bLoaded = true;  // false after a load that could not read the store
    unsigned m_lockCount = 0;
    bool m_bUnsaved = false;     // the last save of the list failed
    std::string m_sealedNotice;  // KeepNoticeForUnlock's text, sealed
    std::string m_unlockPassword;
    HardenedKey m_hardened;  // while a hardened vault is unlocked
};
