#pragma once

#include <QMainWindow>
#include <map>
#include <optional>
#include <vector>

#include "app/commands/CommandTable.h"

class CKeynestView;
class CRegistryStore;
class IHelpViewer;
class QAction;
class QLabel;
class QToolBar;

/// The main window: menu, toolbar and a two-pane status bar around the
/// list view. It keeps its own position and size in section "Screen".
class CMainFrame final : public QMainWindow, public IWindowCommands {
    Q_OBJECT

public:
    /// The lock-state pane of the status bar.
    static constexpr int kLockPane = 1;

    CMainFrame(CRegistryStore& store, IHelpViewer& help, QWidget* parent = nullptr);
    ~CMainFrame() override;

    /// Puts the view in the frame and builds the menus, toolbar and
    /// shortcuts from the command rows.
    void SetView(CKeynestView* view);
    CKeynestView* View() const { return m_view; }

    /// Sets the text of status pane `pane` and fits the pane to it.
    void SetStatusText(int pane, const QString& text);

    /// The action of command `id`, or nullptr.
    QAction* Action(int id) const;
    /// Enables every command by its rule for the features' present state.
    void UpdateCommandStates();
    /// Runs command `id` when it is enabled now.
    void OnCommand(int id);

    void OnExit() override { close(); }
    void ToggleToolbar() override;
    void ToggleStatusBar() override;

    /// Shows the window maximised when it was left so, else at its stored
    /// place, moved and shrunk as far as needed to lie in the work area
    /// with its borders.
    void ShowAsStored();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ApplyStoredGeometry();
    void TrackGeometry();
    void FitIntoWorkArea();
    void BuildActions();
    void BuildMenus();
    void BuildToolbar();
    void BuildStatusBar();
    /// The list's context menu at `globalPos`: the rows that have a place there.
    void ShowListMenu(const QPoint& globalPos);
    const CommandRow* Row(int id) const;

    CRegistryStore& m_store;
    IHelpViewer& m_help;
    CKeynestView* m_view = nullptr;
    QToolBar* m_toolbar = nullptr;
    QLabel* m_lockPane = nullptr;
    QLabel* m_findPane = nullptr;
    std::optional<CommandFeatures> m_features;
    std::vector<CommandRow> m_rows;
    std::map<int, QAction*> m_actions;
};
