#pragma once

#include <QWidget>
#include <memory>
#include <mutex>

#include "app/commands/CommandTable.h"
#include "contract/KeynestContext.h"
#include "settings/Preferences.h"
#include "vault/Vault.h"

class CAutoLockStages;
class CExportImport;
class CForeignFiles;
class CVaultFormatCommands;
class CExtraCommands;
class CDesktopLockWatcher;
class CFileReset;
class CFindBox;
class CHealthCommand;
class CHidePasswords;
class CItemCommands;
class CItemListModel;
class CItemListView;
class CKeynestEvents;
class CLockFlow;
class CLockWipes;
class CMakePassword;
class CPreferencesCommand;
class CQtFileChooser;
class CPrintCommands;
class CWatchdog;
class QLineEdit;

/// The program's working object: the list of Items in the main window. It
/// owns the parts every feature works with (the vault, the list, the list
/// lock, the preferences, the watchdog) and the features, makes them in
/// order and connects them; the features do the work.
class CKeynestView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CKeynestView)

public:
    CKeynestView(Services services, CRegistryStore& store, QWidget* parent = nullptr);
    ~CKeynestView() override;

    /// First update: threads, columns, preferences, and the lock flow
    /// 100 ms later.
    void OnInitialUpdate();
    /// The close sequence: column widths, clipboard, worker threads.
    void OnClose();
    /// The features the command rows run.
    CommandFeatures Features();

    CKeynestEvents& Events() { return *m_events; }
    CItemListView& List() { return *m_list; }
    QLineEdit& FindBox();
    CItemListModel& Model() { return *m_model; }
    CWatchdog& Watchdog() { return *m_watchdog; }
    CVault& Vault() { return m_vault; }
    Preferences& Prefs() { return m_prefs; }

Q_SIGNALS:
    /// What the status bar says about the find text (see CFindBox).
    void FindStatusChanged(const QString& text);

private:
    void ConnectFeatures();

    std::recursive_mutex m_listLock;
    Preferences m_prefs;
    CVault m_vault;
    CKeynestEvents* m_events;  // Qt children of the view
    CItemListModel* m_model;
    std::unique_ptr<CWatchdog> m_watchdog;
    KeynestContext m_context;
    CItemListView* m_list;
    CFindBox* m_findBox;
    std::unique_ptr<CLockFlow> m_lock;
    std::unique_ptr<CItemCommands> m_commands;
    std::unique_ptr<CMakePassword> m_makePassword;
    std::unique_ptr<CPreferencesCommand> m_preferences;
    std::unique_ptr<CQtFileChooser> m_fileChooser;
    std::unique_ptr<CExportImport> m_exportImport;
    std::unique_ptr<CForeignFiles> m_foreignFiles;
    std::unique_ptr<CPrintCommands> m_print;
    std::unique_ptr<CExtraCommands> m_extras;
    std::unique_ptr<CHidePasswords> m_hidePasswords;
    std::unique_ptr<CFileReset> m_reset;
    std::unique_ptr<CHealthCommand> m_health;
    std::unique_ptr<CVaultFormatCommands> m_vaultFormat;
    CAutoLockStages* m_stages = nullptr;
    CLockWipes* m_lockWipes = nullptr;
    CDesktopLockWatcher* m_desktopLock = nullptr;
    bool m_bStatesPending = false;  // a command-state update is queued
};
