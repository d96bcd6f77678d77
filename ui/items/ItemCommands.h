#pragma once

#include <array>
#include <string>

#include "contract/LockWipe.h"
#include "contract/KeynestContext.h"
#include "vault/ItemList.h"

class CItemDlg;
class CItemListView;

/// The commands that change the set of Items: Add, Edit, Delete, Undo
/// Delete and Delete All, with the one-deep undo slot. Rows change under
/// the list lock; the Items are saved after it is released.
class CItemCommands final : public ILockWipe {
public:
    CItemCommands(KeynestContext& context, CItemListView& view);
    ~CItemCommands() override;
    CItemCommands(const CItemCommands&) = delete;
    CItemCommands& operator=(const CItemCommands&) = delete;

    /// Add Item: the Item dialog, empty or with a suggested password.
    void OnAddItem();
    /// Edit Item from a menu, the toolbar or F2: the Edit hint, then EditSelectedItem.
    void OnEditItem();
    /// Edits the lowest selected row; a double click calls it directly.
    void EditSelectedItem();
    /// The Edit dialog for `row`, stored after OK; out-of-range rows are ignored.
    void EditRow(int row);
    /// Delete Item: removes the lowest selected row into the undo slot.
    void OnDeleteItem();
    /// Undo Delete: puts the undo slot's Item back; does nothing while locked.
    void OnUndoDelete();
    /// Delete All Items, after a question; nothing can be undone afterwards.
    void OnDeleteAllItems();

    /// True when the undo slot holds an Item.
    bool IsUndoAvailable() const;
    /// Empties the undo slot, wiping its texts.
    void WipeUndoSlot();
    void WipeAtLock() override { WipeUndoSlot(); }

private:
    /// Runs the dialog; true when it ended with OK while still unlocked.
    bool RunItemDialog(CItemDlg& dialog);

    KeynestContext& m_context;
    CItemListView& m_view;
    std::array<std::string, kItemColumnCount> m_undoSlot;
};
