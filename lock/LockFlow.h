#pragma once

#include <QString>
#include <cstdint>
#include <mutex>
#include <string>

#include "Services.h"

class CItemStore;
class CPasswordSealer;
class IItemList;
class CRegistryStore;
class QWidget;

/// What the lock flow needs from the main view.
class ILockFlowHost {
public:
    virtual ~ILockFlowHost() = default;
    /// Shows " LOCKED " or " UNLOCKED " in the status bar.
    virtual void SetLockStatus(const QString& text) = 0;
    /// Restarts the inactivity wait.
    virtual void SignalActivity() = 0;
    /// Sets the inactivity wait time (kInfinite: never) and restarts it.
    virtual void SetDogTimeout(std::uint32_t ms) = 0;
    /// The configured inactivity time, kInfinite when auto-lock is off.
    virtual std::uint32_t DogTime() const = 0;
    /// The preferred character set.
    virtual const std::string& CharSet() const = 0;
    /// Replaces the rows with the stored Items.
    virtual void LoadAllItems() = 0;
    /// The rows: the plain Items while unlocked.
    virtual IItemList& Rows() = 0;
    /// Removes every row, wiping the plain texts.
    virtual void RemoveAllRows() = 0;
    /// Wipes whatever else holds plain Items (the undo slot).
    virtual void ForgetPlainItems() = 0;
    virtual std::recursive_mutex& ListLock() = 0;
    /// Parent of the dialogs.
    virtual QWidget* DialogParent() = 0;
    /// Ends the program through the main window's ordinary close path.
    virtual void RequestClose() = 0;
};

/// The lock state: locked or unlocked, the UnLock password while unlocked,
/// the UnLock dialog, the first choice and the change of the password, and
/// the lock step the inactivity lock ends with.
class CLockFlow final {
public:
    /// Section where Items found without any UnLock password are kept.
    static constexpr const char* kKeptItemsSection = "KeptItems";

    CLockFlow(ILockFlowHost& host, Services services, CRegistryStore& store,
              CPasswordSealer& sealer, CItemStore& itemStore);
    ~CLockFlow();
    CLockFlow(const CLockFlow&) = delete;
    CLockFlow& operator=(const CLockFlow&) = delete;

    /// First-use setup when no check value is stored, else the UnLock dialog.
    void StartLockFlow();
    /// File > UnLock.
    void OnFileUnlock() { StartLockFlow(); }
    /// The UnLock dialog and the check of the typed password.
    void PromptUnlock();
    /// Marks the program unlocked and arms the inactivity wait.
    void SetUnlocked();
    /// Chooses a new UnLock password: first use (1) or a change (0).
    void ChoosePassword(int firstUse);
    /// Edit > Change Password.
    void OnChangePassword() { ChoosePassword(0); }
    /// Locks: empties the list, forgets the password, opens the UnLock dialog.
    void LockStep();

    bool IsUnlocked() const { return m_bUnlocked != 0; }
    /// The UnLock password; empty while locked.
    const std::string& UnlockPassword() const { return m_unlockPassword; }

private:
    bool StoreNewPassword(const std::string& checkValue, bool firstUse, bool keepFoundItems);
    void OfferHelpOnce();

    ILockFlowHost& m_host;
    Services m_services;
    CRegistryStore& m_store;
    CPasswordSealer& m_sealer;
    CItemStore& m_itemStore;

    int m_bUnlocked = 0;
    std::string m_unlockPassword;
    int m_bLaterShown = 0;
    int m_bFrustratedShown = 0;
    bool m_bShutdownRequested = false;
};
