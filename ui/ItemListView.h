#pragma once

#include <QTreeView>
#include <array>
#include <string>

#include "Services.h"

class CItemListModel;
class CRegistryStore;

/// The list of Items: six columns in report style, rows sorted by
/// Location, several rows selectable. A click copies the first selected
/// row's password; a click on the Location may also open its URL; a
/// double-click edits; a right click opens the small context menu.
/// The program's state reaches it through the virtual hooks below, which
/// the main view overrides and tests fake.
class CItemListView : public QTreeView {
    Q_OBJECT

public:
    CItemListView(Services services, CRegistryStore& store, QWidget* parent = nullptr);
    ~CItemListView() override;

    CItemListModel& Model() { return *m_model; }
    const CItemListModel& Model() const { return *m_model; }

    /// Sets the six column widths.
    void SetColumnWidths(const std::array<int, 6>& widths);
    /// The six column widths as the header shows them now.
    std::array<int, 6> ColumnWidths() const;

    /// The first selected row in list order, or -1.
    int FirstSelectedRow() const;
    /// Copies the Password of the first selected row to the clipboard.
    void CopySelectedPassword();
    /// Puts `text` on the clipboard as plain text.
    void CopyToClipboard(const std::string& text);
    /// The Copy Password command.
    void OnCopyPassword();

protected:
    // Hooks to the rest of the program.
    virtual bool IsUnlocked() const = 0;
    virtual bool LaunchEnabled() const = 0;
    virtual void SignalActivity() = 0;
    virtual void RequestLaunch(const std::string& url) = 0;
    virtual void EditSelectedItem() = 0;
    /// Runs a command chosen in the context menu.
    virtual void RunContextCommand(int commandId) = 0;

    Services m_services;
    CRegistryStore& m_store;

private:
    CItemListModel* m_model;
};
