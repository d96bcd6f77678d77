#pragma once

#include <QBasicTimer>
#include <QWidget>
#include <array>
#include <memory>
#include <mutex>

#include "platform/KeynestContext.h"
#include "settings/Preferences.h"
#include "ui/CommandStates.h"
#include "vault/Vault.h"

class CAutoLockStages;
class CExportImport;
class CExtraCommands;
class CDesktopLockWatcher;
class CItemCommands;
class CItemListModel;
class CItemListView;
class CKeynestEvents;
class CLockFlow;
class CMakePassword;
class CPreferencesCommand;
class CQtFileChooser;
class CPrintCommands;
class CWatchdog;
class QLineEdit;

/// The program's working object: the list of Items in the main window. It
/// owns the parts every feature works with (the vault, the list, the list
/// lock, the preferences, the watchdog) and hands them to the features as
/// one context; the features do the work.
class CKeynestView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CKeynestView)

public:
    CKeynestView(Services services, CRegistryStore& store, QWidget* parent = nullptr);
    ~CKeynestView() override;

    /// First update: threads, columns, preferences, and the timer that
    /// starts the lock flow 100 ms later.
    void OnInitialUpdate();
    /// What the enabling of the commands depends on, now.
    CommandState CommandStateNow();
    /// The close sequence: column widths, clipboard, worker threads.
    void OnClose();
    /// File > Reset: erases everything after a question, then closes.
    void OnFileReset();
    /// File > Lock: the inactivity lock's stages, at once; nothing while locked.
    void LockNow();
    /// Edit > Find: puts the focus in the find box.
    void FocusFindBox();
    /// View > Hide Passwords: switches between dots and passwords and stores the choice.
    void TogglePasswordsHidden();

    KeynestContext& Context() { return m_context; }
    CKeynestEvents& Events() { return *m_events; }
    CItemListView& List() { return *m_list; }
    QLineEdit& FindBox() { return *m_findBox; }
    CItemListModel& Model() { return *m_model; }
    CLockFlow& Lock() { return *m_lock; }
    CItemCommands& Commands() { return *m_commands; }
    CMakePassword& MakePassword() { return *m_makePassword; }
    CPreferencesCommand& PreferencesCommand() { return *m_preferences; }
    CExportImport& ExportImport() { return *m_exportImport; }
    CPrintCommands& Print() { return *m_print; }
    CExtraCommands& Extras() { return *m_extras; }
    CWatchdog& Watchdog() { return *m_watchdog; }
    CVault& Vault() { return m_vault; }
    Preferences& Prefs() { return m_prefs; }

Q_SIGNALS:
    /// A command was chosen in the list's context menu.
    void ContextCommand(int id);
    /// What the status bar says about the find text: "N of M Items shown",
    /// or empty while every Item is shown.
    void FindStatusChanged(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    /// Id of the one-shot timer that starts the lock flow.
    static constexpr int kLockFlowTimerId = 101;

    std::recursive_mutex m_listLock;
    Preferences m_prefs;
    CVault m_vault;
    CKeynestEvents* m_events;  // Qt children of the view
    CItemListModel* m_model;
    std::unique_ptr<CWatchdog> m_watchdog;
    KeynestContext m_context;
    CItemListView* m_list;
    std::unique_ptr<CLockFlow> m_lock;
    std::unique_ptr<CItemCommands> m_commands;
    std::unique_ptr<CMakePassword> m_makePassword;
    std::unique_ptr<CPreferencesCommand> m_preferences;
    std::unique_ptr<CQtFileChooser> m_fileChooser;
    std::unique_ptr<CExportImport> m_exportImport;
    std::unique_ptr<CPrintCommands> m_print;
    std::unique_ptr<CExtraCommands> m_extras;
    CAutoLockStages* m_stages = nullptr;
    QLineEdit* m_findBox = nullptr;
    CDesktopLockWatcher* m_desktopLock = nullptr;
    QBasicTimer m_lockFlowTimer;
    bool m_bStatesPending = false;  // a command-state update is queued
    bool m_bErased = false;         // File > Reset has erased the store
};
