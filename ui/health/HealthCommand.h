#pragma once

#include <QPointer>

#include "contract/KeynestContext.h"
#include "contract/LockWipe.h"

class CHealthReportDlg;
class CItemCommands;
class CItemListModel;

/// Edit > Password Health: the Items whose Password is weak, shared,
/// like the UnLock password or holding its own User ID or Location, in a
/// window from which each opens in the Edit dialog.
class CHealthCommand final : public ILockWipe {
  public:
    CHealthCommand(KeynestContext& context, CItemListModel& model, CItemCommands& items);
    CHealthCommand(const CHealthCommand&) = delete;
    CHealthCommand& operator=(const CHealthCommand&) = delete;

    /// The command's handler: the report window, until the user closes it or the program locks.
    void OnPasswordHealth();
    /// Closes the report window, emptied first.
    void WipeAtLock() override;

  private:
    /// The report over the list as it is now; its texts are handed to the
    /// window and then wiped.
    void ShowReport(CHealthReportDlg& dialog);

    KeynestContext& m_context;
    CItemListModel& m_model;
    CItemCommands& m_items;
    QPointer<CHealthReportDlg> m_dialog;
};
