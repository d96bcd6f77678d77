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
/// while Items change, unlocks the vault and holds the plain Items.
class CCliSession final {
  public:
    /// `storePath` empty: the desktop program's store.
    CCliSession(const std::string& storePath, CTerminal& terminal);
    ~CCliSession();
    CCliSession(const CCliSession&) = delete;
    CCliSession& operator=(const CCliSession&) = delete;

    const std::string& StorePath() const { return m_storePath; }
    bool StoreExists() const;

    /// Takes the lock file beside the store for a command that changes it.
    /// Refuses while the desktop program (or another change) holds it.
    ExitStatus LockForChange();
    /// Opens the store. A missing store is created only when `mayCreate`.
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

    CTerminal& m_terminal;
    std::string m_storePath;
    std::unique_ptr<CSingleInstanceLock> m_lock;
    std::unique_ptr<CRegistryStore> m_store;
    std::unique_ptr<CVault> m_vault;
    std::unique_ptr<Preferences> m_prefs;
    CMemoryItemList m_rows;
};
