#include "ui/items/ItemCommands.h"

#include <algorithm>
#include <mutex>

#include "ui/items/ItemDlg.h"
#include "ui/password/MakePassword.h"
#include "ui/list/ItemListView.h"
#include "contract/Activity.h"
#include "contract/KeynestEvents.h"
#include "vault/Vault.h"
#include "generator/PasswordGenerator.h"
#include "settings/Preferences.h"
#include "platform/NewUserHint.h"
#include "platform/Prompter.h"
#include "ui/items/SaveFailure.h"

namespace {

using ListGuard = std::lock_guard<std::recursive_mutex>;

const QString kSelectItem = QStringLiteral("Please select an item. ");

}  // namespace

CItemCommands::CItemCommands(KeynestContext& context, CItemListView& view)
    : m_context(context), m_view(view) {}

CItemCommands::~CItemCommands() { WipeUndoSlot(); }

bool CItemCommands::IsUndoAvailable() const {
    return std::any_of(m_undoSlot.begin(), m_undoSlot.end(),
                       [](const std::string& text) { return !text.empty(); });
}

void CItemCommands::WipeUndoSlot() {
    for (std::string& text : m_undoSlot) WipeString(text);
}

bool CItemCommands::RunItemDialog(CItemDlg& dialog) {
    if (dialog.exec() != QDialog::Accepted) return false;
    if (!m_context.vault.IsUnlocked()) {
        ReportSelfLocked(m_context.services.prompter);
        return false;
    }
    return true;
}

void CItemCommands::OnAddItem() {
    m_context.activity.SignalActivity();

    CItemDlg dialog(m_context.services, m_context.store, m_context.prefs, &m_context.dialogParent);
    dialog.SetPasswordLimit(m_context.vault.PasswordRule());
    if (m_context.prefs.createOnAdd == 1) {
        std::string suggested =
            GeneratePassword(m_context.prefs.pwdChars, GeneratedLength(m_context),
                             m_context.prefs.alphaNum, m_context.services.random);
        dialog.SetText(kColPassword, suggested);
        WipeString(suggested);
    }

    if (m_context.rows.RowCount() >= 4) {
        ShowNewUserHint(
            m_context.store, m_context.services.prompter, NewUserHints::kExport,
            QStringLiteral("New User Hint...\n\nWith this many stored password you may want \nto "
                           "start making Export files now and then.\n\nHit F1 for Help at "
                           "anytime."));
    }

    if (!RunItemDialog(dialog)) return;

    {
        ListGuard guard(m_context.listLock);
        IItemList& rows = m_context.rows;
        const int row = rows.AppendRow(dialog.Text(kColLocation));
        for (int column = kColUrl; column < kItemColumnCount; ++column) {
            rows.SetText(row, column, dialog.Text(column));
        }
        m_view.ScrollToRow(row);
    }
    SaveOrReport(m_context);
}

void CItemCommands::OnEditItem() {
    ShowNewUserHint(
        m_context.store, m_context.services.prompter, NewUserHints::kEdit,
        QStringLiteral("New User Hint...\n\nDouble clicking an Item's Password \nfield will "
                       "launch the Edit dialog box.\n\nSingle clicking an Item's Location "
                       "Field \nwill have your browser take you there\nif you have chosen "
                       "that Preference.\n\nHit F1 for Help at anytime."));
    EditSelectedItem();
}

void CItemCommands::EditSelectedItem() {
    m_context.activity.SignalActivity();

    const int row = m_view.FirstSelectedRow();
    if (row < 0) {
        m_context.services.prompter.Show(kSelectItem, PromptButtons::Ok, PromptIcon::Warning);
        return;
    }
    EditRow(row);
}

void CItemCommands::EditRow(int row) {
    if (row < 0 || row >= m_context.rows.RowCount()) return;
    m_context.activity.SignalActivity();

    CItemDlg dialog(m_context.services, m_context.store, m_context.prefs, &m_context.dialogParent);
    dialog.SetPasswordLimit(m_context.vault.PasswordRule());
    dialog.SetEditMode(true);
    {
        IItemList& rows = m_context.rows;
        for (int column = 0; column < kItemColumnCount; ++column) {
            std::string text = rows.GetText(row, column);
            dialog.SetText(column, text);
            WipeString(text);
        }
    }

    if (!RunItemDialog(dialog)) return;

    {
        ListGuard guard(m_context.listLock);
        IItemList& rows = m_context.rows;
        for (int column = 0; column < kItemColumnCount; ++column) {
            rows.SetText(row, column, dialog.Text(column));
        }
    }
    SaveOrReport(m_context);
}

void CItemCommands::OnDeleteItem() {
    m_context.activity.SignalActivity();

    const int row = m_view.FirstSelectedRow();
    if (row < 0) {
        m_context.services.prompter.Show(kSelectItem, PromptButtons::Ok, PromptIcon::Warning);
        return;
    }

    {
        ListGuard guard(m_context.listLock);
        WipeUndoSlot();
        for (int column = 0; column < kItemColumnCount; ++column) {
            m_undoSlot[static_cast<size_t>(column)] = m_context.rows.GetText(row, column);
        }
        m_context.rows.RemoveRow(row);
    }
    SaveOrReport(m_context);
}

void CItemCommands::OnUndoDelete() {
    // While locked the list must stay empty: a restored row would show a
    // plain Item that nothing could store.
    if (!m_context.vault.IsUnlocked() || !IsUndoAvailable()) return;

    {
        ListGuard guard(m_context.listLock);
        IItemList& rows = m_context.rows;
        const int row = rows.AppendRow(m_undoSlot[kColLocation]);
        for (int column = kColUrl; column < kItemColumnCount; ++column) {
            rows.SetText(row, column, m_undoSlot[static_cast<size_t>(column)]);
        }
        m_view.ScrollToRow(row);
    }
    SaveOrReport(m_context);
    WipeUndoSlot();
}

void CItemCommands::OnDeleteAllItems() {
    m_context.activity.SignalActivity();
    Q_EMIT m_context.events.ShowEveryItem();

    if (m_context.services.prompter.Show(QStringLiteral("Are you sure you want to delete all items?"),
                                  PromptButtons::YesNo, PromptIcon::Question) != kPromptYes) {
        return;
    }
    {
        ListGuard guard(m_context.listLock);
        m_context.rows.RemoveAllRows();
    }
    SaveOrReport(m_context);
    WipeUndoSlot();
}
