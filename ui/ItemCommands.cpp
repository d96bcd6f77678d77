#include "ItemCommands.h"

#include <algorithm>
#include <mutex>

#include "ItemCommandHost.h"
#include "ItemDlg.h"
#include "PasswordGenerator.h"
#include "Preferences.h"
#include "Prompter.h"
#include "SaveFailure.h"

namespace {

using ListGuard = std::lock_guard<std::recursive_mutex>;

const QString kSelectItem = QStringLiteral("Please select an item. ");

}  // namespace

CItemCommands::CItemCommands(IItemCommandHost& host, Services services, CRegistryStore& store,
                             const Preferences& prefs)
    : m_host(host), m_services(services), m_store(store), m_prefs(prefs) {}

CItemCommands::~CItemCommands() { WipeUndoSlot(); }

bool CItemCommands::IsUndoAvailable() const {
    return std::any_of(m_undoSlot.begin(), m_undoSlot.end(),
                       [](const std::string& text) { return !text.empty(); });
}

void CItemCommands::WipeUndoSlot() {
    for (std::string& text : m_undoSlot) WipeString(text);
}

void CItemCommands::Save() {
    if (!m_host.SaveAllItems()) ReportSaveFailure(*m_services.prompter);
}

bool CItemCommands::RunItemDialog(CItemDlg& dialog) {
    if (dialog.exec() != QDialog::Accepted) return false;
    if (!m_host.IsUnlocked()) {
        m_services.prompter->Show(QStringLiteral("Keynest has already self-locked\n due to "
                                                 "inactivity.\n\nPlease unlock and try again."),
                                  PromptButtons::Ok, PromptIcon::Warning);
        return false;
    }
    return true;
}

void CItemCommands::OnAddItem() {
    m_host.SignalActivity();

    CItemDlg dialog(m_services, m_store, m_prefs, m_host.DialogParent());
    if (m_prefs.createOnAdd == 1) {
        std::string suggested = GeneratePassword(m_prefs.pwdChars, m_prefs.length,
                                                 m_prefs.alphaNum, *m_services.random);
        dialog.SetText(kColPassword, suggested);
        WipeString(suggested);
    }

    if (IsNewUserHintDue(m_store, "Export") && m_host.Rows().RowCount() >= 4) {
        m_services.prompter->Show(
            QStringLiteral("New User Hint...\n\nWith this many stored password you may want \nto "
                           "start making Export files now and then.\n\nHit F1 for Help at "
                           "anytime."),
            PromptButtons::Ok, PromptIcon::Information);
        MarkNewUserHintShown(m_store, "Export");
    }

    if (!RunItemDialog(dialog)) return;

    {
        ListGuard guard(m_host.ListLock());
        IItemList& rows = m_host.Rows();
        const int row = rows.AppendRow(dialog.Text(kColLocation));
        for (int column = kColUrl; column < kItemColumnCount; ++column) {
            rows.SetText(row, column, dialog.Text(column));
        }
        m_host.ScrollToRow(row);
    }
    Save();
}

void CItemCommands::OnEditItem() {
    if (IsNewUserHintDue(m_store, "Edit")) {
        m_services.prompter->Show(
            QStringLiteral("New User Hint...\n\nDouble clicking an Item's Password \nfield will "
                           "launch the Edit dialog box.\n\nSingle clicking an Item's Location "
                           "Field \nwill have your browser take you there\nif you have chosen "
                           "that Preference.\n\nHit F1 for Help at anytime."),
            PromptButtons::Ok, PromptIcon::Information);
        MarkNewUserHintShown(m_store, "Edit");
    }
    EditSelectedItem();
}

void CItemCommands::EditSelectedItem() {
    m_host.SignalActivity();

    const int row = m_host.FirstSelectedRow();
    if (row < 0) {
        m_services.prompter->Show(kSelectItem, PromptButtons::Ok, PromptIcon::Warning);
        return;
    }

    CItemDlg dialog(m_services, m_store, m_prefs, m_host.DialogParent());
    dialog.SetEditMode(true);
    {
        IItemList& rows = m_host.Rows();
        for (int column = 0; column < kItemColumnCount; ++column) {
            std::string text = rows.GetText(row, column);
            dialog.SetText(column, text);
            WipeString(text);
        }
    }

    if (!RunItemDialog(dialog)) return;

    {
        ListGuard guard(m_host.ListLock());
        IItemList& rows = m_host.Rows();
        for (int column = 0; column < kItemColumnCount; ++column) {
            rows.SetText(row, column, dialog.Text(column));
        }
    }
    Save();
}

void CItemCommands::OnDeleteItem() {
    m_host.SignalActivity();

    const int row = m_host.FirstSelectedRow();
    if (row < 0) {
        m_services.prompter->Show(kSelectItem, PromptButtons::Ok, PromptIcon::Warning);
        return;
    }

    {
        ListGuard guard(m_host.ListLock());
        WipeUndoSlot();
        for (int column = 0; column < kItemColumnCount; ++column) {
            m_undoSlot[static_cast<size_t>(column)] = m_host.Rows().GetText(row, column);
        }
        m_host.RemoveRow(row);
    }
    Save();
}

void CItemCommands::OnUndoDelete() {
    // While locked the list must stay empty: a restored row would show a
    // plain Item that nothing could store.
    if (!m_host.IsUnlocked() || !IsUndoAvailable()) return;

    {
        ListGuard guard(m_host.ListLock());
        IItemList& rows = m_host.Rows();
        const int row = rows.AppendRow(m_undoSlot[kColLocation]);
        for (int column = kColUrl; column < kItemColumnCount; ++column) {
            rows.SetText(row, column, m_undoSlot[static_cast<size_t>(column)]);
        }
        m_host.ScrollToRow(row);
    }
    Save();
    WipeUndoSlot();
}

void CItemCommands::OnDeleteAllItems() {
    m_host.SignalActivity();

    if (m_services.prompter->Show(QStringLiteral("Are you sure you want to delete all items?"),
                                  PromptButtons::YesNo, PromptIcon::Question) != kPromptYes) {
        return;
    }
    {
        ListGuard guard(m_host.ListLock());
        m_host.Rows().RemoveAllRows();
    }
    Save();
    WipeUndoSlot();
}
