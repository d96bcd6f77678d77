#pragma once

#include <memory>

#include "contract/Services.h"

class CHelpWindow;
class CKeynestView;
class CMainFrame;
class CQtClipboard;
class CQtPrompter;
class CRegistryStore;
class CRunningInstance;
class CSingleInstanceLock;
class CXdgOpenShell;
class COsRandomSource;
class CWatchdog;

/// The application object: opens the settings store, builds the main window
/// with its view and owns the services the program reaches the desktop through.
class CKeynestApp final {
public:
    CKeynestApp();
    ~CKeynestApp();
    CKeynestApp(const CKeynestApp&) = delete;
    CKeynestApp& operator=(const CKeynestApp&) = delete;

    /// Start-up: returns false when the program must end at once.
    bool InitInstance();
    /// Shut-down: deletes the settings store.
    void ExitInstance();

    CRegistryStore* m_pStore = nullptr;

    CMainFrame* MainFrame() const { return m_frame.get(); }
    CKeynestView* View() const { return m_view; }

private:
    /// Opens the store; false (after telling the user) when it cannot be used.
    bool OpenSettingsStore();

    std::unique_ptr<CSingleInstanceLock> m_instanceLock;
    std::unique_ptr<CRunningInstance> m_running;
    std::unique_ptr<CRegistryStore> m_store;
    std::unique_ptr<CQtPrompter> m_prompter;
    std::unique_ptr<CQtClipboard> m_clipboard;
    std::unique_ptr<CXdgOpenShell> m_shell;
    std::unique_ptr<COsRandomSource> m_random;
    std::unique_ptr<CMainFrame> m_frame;
    CKeynestView* m_view = nullptr;  // owned by the frame
    CHelpWindow* m_help = nullptr;   // a window of the frame's, owned by it
};
