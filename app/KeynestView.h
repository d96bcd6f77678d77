#pragma once

#include <QBasicTimer>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "CommandStates.h"
#include "ItemCommandHost.h"
#include "ItemListView.h"
#include "LockFlow.h"
#include "Preferences.h"

class CAutoLockStages;
class CItemCommands;
class CItemStore;
class CPasswordSealer;
class CWatchdog;

/// The program's working object: the list of Items in the main window. It
/// coordinates the pieces that do the work (the lock state, the Item store
/// and commands, the watchdog) and owns the preferences in memory.
class CKeynestView final : public CItemListView, public IItemCommandHost, public ILockFlowHost {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CKeynestView)

public:
    CKeynestView(Services services, CRegistryStore& store, QWidget* parent = nullptr);
    ~CKeynestView() override;

    /// First update: threads, columns, " LOCKED ", preferences, and the
    /// timer that starts the lock flow 100 ms later.
    void OnInitialUpdate();
    /// Runs command `id` of the menus, toolbar or accelerators.
    void OnCommand(int id);
    /// What the enabling of the commands depends on, now.
    CommandState CommandStateNow() const;
    /// The close sequence: column widths, clipboard, worker threads.
    void OnClose();
    /// File > Reset: erases everything after a question, then closes.
    void OnFileReset();

    /// Replaces the rows with the stored Items.
    void LoadAllItems() override;
    /// Rewrites the stored Items from the rows. Writes nothing while
    /// locked. False when the save failed.
    bool SaveAllItems() override;

    CLockFlow& Lock() { return *m_lock; }
    CItemCommands& Commands() { return *m_commands; }
    CWatchdog& Watchdog() { return *m_watchdog; }
    CPasswordSealer& Sealer() { return *m_sealer; }
    Preferences& Prefs() { return m_prefs; }
    /// The inactive duration in milliseconds (kInfinite: never).
    void SetDogTime(std::uint32_t ms) { m_dwDogTime = ms; }

    // Shared hooks of the list view, the Item commands and the lock flow.
    bool IsUnlocked() const override;
    void SignalActivity() override;
    int FirstSelectedRow() const override { return CItemListView::FirstSelectedRow(); }
    std::recursive_mutex& ListLock() override { return m_listLock; }
    QWidget* DialogParent() override { return window(); }
    void RemoveAllRows() override;

Q_SIGNALS:
    /// Something the command states depend on may have changed.
    void CommandStatesChanged();

protected:
    void timerEvent(QTimerEvent* event) override;

    // The list view's hooks.
    bool LaunchEnabled() const override { return m_prefs.launch != 0; }
    void RequestLaunch(const std::string& url) override;
    void EditSelectedItem() override;
    void RunContextCommand(int commandId) override { OnCommand(commandId); }

    // The Item commands' hooks.
    IItemList& Rows() override;
    void RemoveRow(int row) override;
    void ScrollToRow(int row) override;

    // The lock flow's hooks.
    void SetLockStatus(const QString& text) override;
    void SetDogTimeout(std::uint32_t ms) override;
    std::uint32_t DogTime() const override { return m_dwDogTime; }
    const std::string& CharSet() const override { return m_prefs.pwdChars; }
    void ForgetPlainItems() override;
    void RequestClose() override;

private:
    /// Id of the one-shot timer that starts the lock flow.
    static constexpr int kLockFlowTimerId = 101;

    std::recursive_mutex m_listLock;
    Preferences m_prefs;
    std::uint32_t m_dwDogTime = kInfinite;
    std::unique_ptr<CPasswordSealer> m_sealer;
    std::unique_ptr<CItemStore> m_itemStore;
    std::unique_ptr<CLockFlow> m_lock;
    std::unique_ptr<CItemCommands> m_commands;
    std::unique_ptr<CWatchdog> m_watchdog;
    CAutoLockStages* m_stages = nullptr;  // a Qt child of the view
    QBasicTimer m_lockFlowTimer;
    bool m_bStatesPending = false;  // a command-state update is queued
};
