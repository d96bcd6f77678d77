#pragma once

#include <QPoint>
#include <QTreeView>
#include <array>
#include <memory>
#include <string>

#include "contract/LockWipe.h"
#include "contract/KeynestContext.h"

class CItemFilterModel;
class CItemListModel;

/// The list of Items: six columns in report style, rows sorted by
/// Location, several rows selectable. A click copies the first selected
/// row's password; a click on the Location may also open its URL; a
/// double-click edits; a right click opens the small context menu.
/// A find text may hide rows; every row number this class takes or hands
/// out is still the model's own.
class CItemListView final : public QTreeView, public ILockWipe {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CItemListView)

  public:
    /// Shows `model`, which must outlive the view.
    CItemListView(KeynestContext& context, CItemListModel& model, QWidget* parent = nullptr);
    ~CItemListView() override;

    CItemListModel& Model() { return *m_model; }
    const CItemListModel& Model() const { return *m_model; }

    /// Sets the six column widths.
    void SetColumnWidths(const std::array<int, 6>& widths);
    /// The six column widths as the header shows them now.
    std::array<int, 6> ColumnWidths() const;

    /// The selected row nearest the top, or -1 when none is selected.
    int FirstSelectedRow() const;
    /// Scrolls the list so that `row` is wholly visible, when it is shown.
    void ScrollToRow(int row);
    /// Selects `row` alone and makes it the current row, when it is shown.
    void SelectRow(int row);

    /// With nothing selected, selects the current row, or the first one
    /// shown, so that the keyboard commands act on a row at once.
    void SelectCurrentRow();

    /// Shows only the rows that hold `text` (see CItemFilterModel).
    void SetFindText(const QString& text);
    bool IsFiltering() const;
    /// How many rows are shown now.
    int ShownRowCount() const;
    /// Copies the Password of the first selected row to the clipboard; with
    /// no selection asks the user, once per run, to select an Item.
    void CopySelectedPassword();
    /// Puts exactly `text` on the clipboard as plain text.
    void CopyToClipboard(const std::string& text);
    /// The Copy Password command.
    void OnCopyPassword();

    /// Where the context menu opens for a right click at `clickPos`
    /// (viewport coordinates; the result is in the same coordinates).
    QPoint ContextMenuPoint(const QPoint& clickPos) const;
    /// The right click at `clickPos` (viewport coordinates): signals
    /// activity and asks for the context menu, unless it is not due
    /// (unlocked without a selected row).
    void ShowContextMenu(const QPoint& clickPos);

    /// Forgets the texts of the cells drawn last: the item delegate and the
    /// style keep them between paints.
    void WipeAtLock() override;

  Q_SIGNALS:
    /// A double click asks to edit the first selected row.
    void EditRequested();
    /// The context menu is due at `globalPos`.
    void ContextMenuRequested(const QPoint& globalPos);
    /// Rows were shown or hidden, by the find text or by a change of the list.
    void ShownRowsChanged();

  protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void SignalActivity();
    /// Routes a completed left click by the column it hit.
    void OnClicked(const QModelIndex& index);
    /// The deferred click on the Location column.
    void OnDeferredClick();
    /// True when the selected row `row` exists in the list.
    bool IsValidRow(int row) const;
    /// The shown index of the model's `row`; invalid when it is hidden.
    QModelIndex ShownIndex(int row) const;

    KeynestContext& m_context;
    CItemListModel* m_model;
    CItemFilterModel* m_filter;  // between the model and the view
    bool m_bDoubleClick = false;
    // The release that ends a double-click is not a click of its own.
    bool m_bClickAfterDoubleClick = false;
    bool m_bSelectHintShown = false;
};
