#pragma once

#include <QObject>
#include <QString>
#include <string>

#include "contract/KeynestContext.h"

/// The lock state as the user meets it: the UnLock dialog, the first choice
/// and the change of the UnLock password, the lock step the inactivity lock
/// ends with, and the set-aside Items. The vault decides; this class asks
/// and tells.
class CLockFlow final {
public:
    explicit CLockFlow(KeynestContext& context);
    ~CLockFlow();
    CLockFlow(const CLockFlow&) = delete;
    CLockFlow& operator=(const CLockFlow&) = delete;

    /// First-use setup when no check value is stored, else the UnLock dialog.
    void StartLockFlow();
    /// File > UnLock.
    void OnFileUnlock() { StartLockFlow(); }
    /// The UnLock dialog and the check of the typed password.
    void PromptUnlock();
    /// Chooses a new UnLock password: first use (1) or a change (0).
    void ChoosePassword(int firstUse);
    /// Edit > Change Password.
    void OnChangePassword() { ChoosePassword(0); }
    /// Locks: empties the list, forgets the password, opens the UnLock dialog.
    void LockStep();
    /// File > Open Set-Aside Items: tries another password on them.
    void OnOpenSetAsideItems();


private:
    /// Marks the program unlocked, arms the inactivity wait and fills the list.
    void SetUnlocked(bool loadItems);
    /// Tries `password` on the set-aside Items; tells the user when some
    /// came back, or always when `alwaysTell`.
    /// `typed` null: the UnLock password, which stays inside the vault.
    void TrySetAsideItems(const std::string* typed, bool alwaysTell);
    void OfferHelpOnce();
    /// At lock, after a failed save: tries the save once more and, when it
    /// fails again, keeps what could not be stored for the next unlock to tell.
    void SaveOnceMoreOrKeepNotice();
    /// After an unlock: tells the user what the last lock could not store.
    void TellUnsavedChanges();

    KeynestContext& m_context;
    QMetaObject::Connection m_preferencesChanged;
    int m_bLaterShown = 0;
    int m_bFrustratedShown = 0;
    bool m_bShutdownRequested = false;
};
