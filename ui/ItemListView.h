#pragma once

#include <QPoint>
#include <QTreeView>
#include <array>
#include <memory>
#include <string>

#include "Services.h"

class CItemListModel;
class CRegistryStore;
class QMenu;

/// The list of Items: six columns in report style, rows sorted by
/// Location, several rows selectable. A click copies the first selected
/// row's password; a click on the Location may also open its URL; a
/// double-click edits; a right click opens the small context menu.
/// The program's state reaches it through the virtual hooks below, which
/// the main view overrides and tests fake.
class CItemListView : public QTreeView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CItemListView)

  public:
    CItemListView(Services services, CRegistryStore& store, QWidget* parent = nullptr);
    ~CItemListView() override;

    CItemListModel& Model() { return *m_model; }
    const CItemListModel& Model() const { return *m_model; }

    /// Sets the six column widths.
    void SetColumnWidths(const std::array<int, 6>& widths);
    /// The six column widths as the header shows them now.
    std::array<int, 6> ColumnWidths() const;

    /// The selected row nearest the top, or -1 when none is selected.
    int FirstSelectedRow() const;
    /// Copies the Password of the first selected row to the clipboard; with
    /// no selection asks the user, once per run, to select an Item.
    void CopySelectedPassword();
    /// Puts exactly `text` on the clipboard as plain text.
    void CopyToClipboard(const std::string& text);
    /// The Copy Password command.
    void OnCopyPassword();

    /// The context menu for the present state, not shown yet; null when no
    /// menu is due (unlocked without a selected row). Each action's data is
    /// its command id.
    std::unique_ptr<QMenu> BuildContextMenu();
    /// Where the context menu opens for a right click at `clickPos`
    /// (viewport coordinates; the result is in the same coordinates).
    QPoint ContextMenuPoint(const QPoint& clickPos) const;
    /// The right click at `clickPos` (viewport coordinates): signals
    /// activity, shows the context menu and runs the chosen command.
    void ShowContextMenu(const QPoint& clickPos);

    /// True while a double-click is being handled.
    bool InDoubleClick() const { return m_bDoubleClick; }

  protected:
    // Hooks to the rest of the program.
    virtual bool IsUnlocked() const = 0;
    /// The "Launch" preference: a click on the Location opens the URL.
    virtual bool LaunchEnabled() const = 0;
    /// Restarts the inactivity wait.
    virtual void SignalActivity() = 0;
    /// Hands `url` to the launcher, which opens it in the browser.
    virtual void RequestLaunch(const std::string& url) = 0;
    /// Edits the first selected row (the double-click action).
    virtual void EditSelectedItem() = 0;
    /// Runs a command chosen in the context menu.
    virtual void RunContextCommand(int commandId) = 0;

    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

    Services m_services;
    CRegistryStore& m_store;

  private:
    /// Routes a completed left click by the column it hit.
    void OnClicked(const QModelIndex& index);
    /// The deferred click on the Location column.
    void OnDeferredClick();
    /// True when the selected row `row` exists in the list.
    bool IsValidRow(int row) const;

    CItemListModel* m_model;
    bool m_bDoubleClick = false;
    // The release that ends a double-click is not a click of its own.
    bool m_bClickAfterDoubleClick = false;
    bool m_bSelectHintShown = false;
};
