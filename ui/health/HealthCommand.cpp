#include "ui/health/HealthCommand.h"

#include <mutex>

#include "contract/Activity.h"
#include "health/HealthReport.h"
#include "ui/health/HealthReportDlg.h"
#include "ui/items/ItemCommands.h"
#include "ui/list/ItemListModel.h"
#include "vault/Vault.h"

CHealthCommand::CHealthCommand(KeynestContext& context, CItemListModel& model, CItemCommands& items)
    : m_context(context), m_model(model), m_items(items) {}

void CHealthCommand::ShowReport(CHealthReportDlg& dialog) {
    std::vector<HealthEntry> report;
    {
        std::lock_guard<std::recursive_mutex> guard(m_context.listLock);
        report = BuildHealthReport(m_model.Items(), m_context.vault);
    }
    dialog.Show(report);
    for (HealthEntry& entry : report) {
        WipeString(entry.location);
        WipeString(entry.userId);
    }
}

void CHealthCommand::OnPasswordHealth() {
    m_context.activity.SignalActivity();
    if (!m_context.vault.IsUnlocked()) return;

    CHealthReportDlg dialog(&m_context.dialogParent);
    m_dialog = &dialog;
    // The dialog is modal, so the list changes only through the Edit
    // dialog it opens; the report is made again after each edit.
    QObject::connect(&dialog, &CHealthReportDlg::EditRequested, &dialog, [this, &dialog](int row) {
        m_items.EditRow(row);
        // A lock while the Edit dialog was open has closed the report too.
        if (dialog.isVisible() && m_context.vault.IsUnlocked()) ShowReport(dialog);
    });
    ShowReport(dialog);
    dialog.exec();
    dialog.Clear();
}

void CHealthCommand::WipeAtLock() {
    if (m_dialog.isNull()) return;
    m_dialog->Clear();
    m_dialog->done(QDialog::Rejected);
}
