#pragma once

#include <memory>
#include <string>

#include "cli/ExitStatus.h"
#include "settings/Preferences.h"
#include "vault/ItemList.h"

class CRegistryStore;
class CSingleInstanceLock;
class CTerminal;
class CVault;

/// One run of keynest-cli against one store: finds and opens it as the
/// desktop program does, keeps the desktop program's single-instance lock
/// while Items change (reading commands open the store read-only and take
/// no lock), unlocks the vault and holds the plain Items.
class CCliSession final {
  public:
    /// `storePath` empty: the desktop program's store.
    CCliSession(const std::string& storePath, CTerminal& terminal);
    ~CCliSession();
    CCliSession(const CCliSession&) = delete;
    CCliSession& operator=(const CCliSession&) = delete;

    const std::string& StorePath() const { return m_storePath; }
    bool StoreExists() const;

    /// Takes the lock file beside the store's real location for a command
    /// that changes it. Refuses while another Keynest program holds it, or
    /// when the store cannot be written. `mayCreate`: a missing store's
    /// folder is made first.
    ExitStatus LockForChange(bool mayCreate = false);
    /// Opens the store: read-write after LockForChange(), read-only
    /// otherwise. A missing store is created only when `mayCreate`.
    ExitStatus Open(bool mayCreate);
    /// Reads the UnLock password, unlocks and loads the Items.
    ExitStatus Unlock();
    /// Opens the existing store and unlocks it; first takes it for a change
    /// when `forChange`.
    ExitStatus OpenAndUnlock(bool forChange);
    /// Stores the Items in one transaction.
    ExitStatus Save();
    /// Records `path` as the last export or import file, as the desktop's
    /// file choosers do; skipped while the desktop program runs.
    void RememberFile(const std::string& path);

    CRegistryStore& Store() { return *m_store; }
    CVault& Vault() { return *m_vault; }
    CMemoryItemList& Rows() { return m_rows; }
    /// The stored preferences, read once.
    const Preferences& Prefs();
    /// Seconds after which a copied password leaves the clipboard; 0 never.
    int ClipSeconds();

  private:
    std::string LockFilePath() const;
    bool HoldsLock() const;
    ExitStatus NoStore() const;

    CTerminal& m_terminal;
    std::string m_storePath;
    std::unique_ptr<CSingleInstanceLock> m_lock;
    std::unique_ptr<CRegistryStore> m_store;
    std::unique_ptr<CVault> m_vault;
    std::unique_ptr<Preferences> m_prefs;
    CMemoryItemList m_rows;
};
