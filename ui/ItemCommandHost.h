#pragma once

#include <mutex>

class IItemList;
class QWidget;

/// What the Item commands need from the main view: its rows, its selection,
/// the lock state, the watchdog's activity signal and the store.
class IItemCommandHost {
public:
    virtual ~IItemCommandHost() = default;
    /// The list's rows, the working copy of the Items while unlocked.
    virtual IItemList& Rows() = 0;
    /// Removes one row, wiping its texts.
    virtual void RemoveRow(int row) = 0;
    /// The lowest selected row, or -1 when none is selected.
    virtual int FirstSelectedRow() const = 0;
    /// Scrolls the list so that `row` is wholly visible.
    virtual void ScrollToRow(int row) = 0;
    virtual bool IsUnlocked() const = 0;
    /// Restarts the inactivity time.
    virtual void SignalActivity() = 0;
    /// Rewrites the stored Items from the rows; false when the save failed.
    virtual bool SaveAllItems() = 0;
    /// Held around every change of the rows; SaveAllItems takes it itself.
    virtual std::recursive_mutex& ListLock() = 0;
    /// The parent of the Item dialog.
    virtual QWidget* DialogParent() = 0;
};
