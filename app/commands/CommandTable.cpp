#include "app/commands/CommandTable.h"

#include "extras/ExtraCommands.h"
#include "lock/AutoLockStages.h"
#include "lock/LockFlow.h"
#include "platform/HelpViewer.h"
#include "ui/files/ExportImport.h"
#include "ui/files/FileReset.h"
#include "ui/files/ForeignFiles.h"
#include "ui/health/HealthCommand.h"
#include "ui/format/VaultFormatCommands.h"
#include "ui/list/FindBox.h"
#include "ui/list/HidePasswords.h"
#include "ui/items/ItemCommands.h"
#include "ui/list/ItemListModel.h"
#include "ui/list/ItemListView.h"
#include "ui/password/MakePassword.h"
#include "ui/preferences/PreferencesCommand.h"
#include "ui/print/PrintCommands.h"
#include "vault/Vault.h"

namespace {

using F = CommandFeatures;
bool WhenUnlocked(const F& f) { return f.vault.IsUnlocked(); }
bool WhenLocked(const F& f) { return !f.vault.IsUnlocked(); }
bool WhenRows(const F& f) { return f.list.Model().RowCount() != 0; }
bool WhenSelected(const F& f) { return f.list.FirstSelectedRow() >= 0; }
// While locked the list must stay empty: a deleted Item held for undo may
// only come back into an unlocked list.
bool WhenUndoable(const F& f) { return f.vault.IsUnlocked() && f.items.IsUndoAvailable(); }
// Read from the store: Items are set aside by a first choice of the
// password or by a save, and come back by a password that opens them.
bool WhenSetAside(const F& f) { return f.vault.IsUnlocked() && f.vault.HasSetAsideItems(); }
bool WhenPasswordsHidden(const F& f) { return f.hidePasswords.Hidden(); }
bool WhenHardenable(const F& f) { return f.vaultFormat.CanHarden(); }
bool WhenUnhardenable(const F& f) { return f.vaultFormat.CanUnharden(); }

// `row`, also offered in the list's context menu at `place` as `text`.
CommandRow InListMenu(int place, const char* text, CommandRow row) {
    row.listMenuPlace = place;
    row.listMenuText = text;
    return row;
}

}  // namespace

std::vector<CommandRow> BuildCommandRows(const CommandFeatures& f, IWindowCommands& window) {
    CLockFlow& lock = f.lock;
    CItemCommands& items = f.items;
    CExportImport& files = f.files;
    IHelpViewer& help = f.help;
    CPrintCommands& print = f.print;
    CExtraCommands& extras = f.extras;
    using M = MenuName;
    return {
        // File
        InListMenu(1, "&Unlock...",
                   {ID_FILE_UNLOCK, M::File, 10, "&UnLock...\tF10", "UnLock Keynest\nUnLock",
                    Qt::Key_F10, 10, "dialog-password", WhenLocked, [&lock] { lock.OnFileUnlock(); }}),
        {ID_FILE_IMPORT, M::File, 11, "&Import From File...\tCtrl-I", "Import From File\nImport",
         Qt::CTRL | Qt::Key_I, 11, "document-open", WhenUnlocked,
         [&files] { files.OnImportFromFile(); }},
        {ID_FILE_EXPORT, M::File, 12, "&Export To File...\tCtrl-E", "Export to File\nExport",
         Qt::CTRL | Qt::Key_E, 12, "document-save-as", WhenRows,
         [&files] { files.OnExportToFile(); }},
        {ID_FILE_IMPORT_PROGRAM, M::File, 15, "Import From &Another Program...",
         "Add the Items of a CSV or JSON file another password program exported\nImport From Another Program",
         {}, 0, "document-open", WhenUnlocked, [&f] { f.foreignFiles.OnImportFromProgram(); }},
        {ID_FILE_EXPORT_CSV, M::File, 16, "Export To &CSV...",
         "Write every Item, passwords in plain text, to a CSV file other programs import\nExport To CSV",
         {}, 0, "document-save-as", WhenRows, [&f] { f.foreignFiles.OnExportToCsv(); }},
        {ID_FILE_LOCK, M::File, 14, "&Lock\tCtrl+L", "Lock Keynest now\nLock",
         Qt::CTRL | Qt::Key_L, 14, "system-lock-screen", WhenUnlocked,
         [&f] { f.lockStages.LockNow(); }},
        {ID_FILE_OPEN_SET_ASIDE, M::File, 13, "Open Set-&Aside Items...",
         "Try a password on the Items that were set aside\nOpen Set-Aside Items", {}, 0,
         "document-open", WhenSetAside, [&lock] { lock.OnOpenSetAsideItems(); }},
        {ID_FILE_TEST_TWOFISH, M::File, 20, "&Test TwoFish...\tF7", "Test TwoFish\nTest",
         Qt::Key_F7, 0, nullptr, nullptr, [&extras] { extras.OnTestTwofish(); }},
        // Where a user meets the hardened format: the status tip says what it gives.
        {ID_FILE_HARDEN, M::File, 25, "&Harden Vault...",
         "Convert the vault to the hardened format: a key slow to guess, values checked for "
         "changes, passwords longer than 16 bytes\nHarden Vault", {}, 0, nullptr, WhenHardenable,
         [&f] { f.vaultFormat.OnHarden(); }},
        {ID_FILE_UNHARDEN, M::File, 26, "Convert to &Classic Vault...",
         "Convert the hardened vault back to the classic format, with its 16-byte limits\n"
         "Classic Vault", {}, 0, nullptr, WhenUnhardenable, [&f] { f.vaultFormat.OnUnharden(); }},
        {ID_FILE_RESET, M::File, 30, "Re&set", "Reset\nReset", {}, 0, nullptr, nullptr,
         [&f] { f.reset.OnFileReset(); }},
        // The menu names Ctrl+P, but Print has no shortcut of its own.
        {ID_FILE_PRINT, M::File, 40, "&Print...\tCtrl+P",
         "Print the list of Locations and Passwords\nPrint", {}, 13, "document-print", WhenRows,
         [&print] { print.OnFilePrint(); }},
        {ID_FILE_PRINT_PREVIEW, M::File, 41, "Print Pre&view",
         "Show the pages as they will print\nPrint Preview", {}, 0, "document-print-preview",
         WhenRows, [&print] { print.OnFilePrintPreview(); }},
        {ID_FILE_PRINT_SETUP, M::File, 42, "P&rint Setup...",
         "Change the paper and its orientation\nPrint Setup", {}, 0, nullptr, WhenRows,
         [&print] { print.OnFilePrintSetup(); }},
        {ID_APP_EXIT, M::File, 50, "E&xit", "Quit Keynest\nExit", {}, 0, "application-exit",
         nullptr, [&window] { window.OnExit(); }},
        // Edit
        InListMenu(2, "&Add Item...",
                   {ID_EDIT_ADD_ITEM, M::Edit, 10, "&Add Item...\tCtrl-A", "Add Item\nAdd Item",
                    Qt::CTRL | Qt::Key_A, 20, "list-add", WhenUnlocked,
                    [&items] { items.OnAddItem(); }}),
        InListMenu(3, "&Delete Item",
                   {ID_EDIT_DELETE_ITEM, M::Edit, 11, "&Delete Item\tDel", "Delete Item\nDelete Item",
                    Qt::Key_Delete, 21, "edit-delete", WhenSelected,
                    [&items] { items.OnDeleteItem(); }}),
        {ID_EDIT_UNDO_DELETE, M::Edit, 12, "&Undo Delete\tCtrl-Z", "Undo Delete\nUndo Delete",
         Qt::CTRL | Qt::Key_Z, 0, "edit-undo", WhenUndoable, [&items] { items.OnUndoDelete(); }},
        {ID_EDIT_DELETE_ALL, M::Edit, 13, "De&lete All Items", "Delete All Items\nDelete All", {},
         0, nullptr, WhenRows, [&items] { items.OnDeleteAllItems(); }},
        InListMenu(4, "&Edit Item...",
                   {ID_EDIT_EDIT_ITEM, M::Edit, 14, "&Edit Item...\tF2", "Edit Item\nEdit Item",
                    Qt::Key_F2, 22, "document-edit", WhenSelected, [&items] { items.OnEditItem(); }}),
        {ID_EDIT_MAKE_PASSWORD, M::Edit, 20, "&Make a Password\tF3",
         "Make a Password\nMake Password", Qt::Key_F3, 23, "view-refresh", nullptr,
         [&f] { f.makePassword.OnMakePassword(); }},
        {ID_EDIT_FIND, M::Edit, 15, "&Find\tCtrl+F",
         "Show only the Items whose Location, URL, User ID or Hint holds a text\nFind",
         Qt::CTRL | Qt::Key_F, 0, "edit-find", WhenUnlocked, [&f] { f.findBox.OnFind(); }},
        {ID_EDIT_CHANGE_PASSWORD, M::Edit, 21, "C&hange Password...\tF4",
         "Change Password\nChange Password", Qt::Key_F4, 0, nullptr, WhenUnlocked,
         [&lock] { lock.OnChangePassword(); }},
        {ID_EDIT_COPY_PASSWORD, M::Edit, 22, "&Copy Password to Clipboard\tCtrl+C",
         "Copy the password to the Clipboard\nCopy", Qt::CTRL | Qt::Key_C, 24, "edit-copy",
         WhenSelected, [&f] { f.list.OnCopyPassword(); }},
        {ID_EDIT_PASSWORD_HEALTH, M::Edit, 23, "Pa&ssword Health...",
         "List the Items whose Password is weak, shared or like the UnLock password\nPassword Health",
         {}, 0, nullptr, WhenUnlocked, [&f] { f.health.OnPasswordHealth(); }},
        InListMenu(5, "&Preferences...",
                   {ID_EDIT_PREFERENCES, M::Edit, 30, "&Preferences...\tF5",
                    "Preferences\nPreferences", Qt::Key_F5, 25, "preferences-system", nullptr,
                    [&f] { f.preferences.OnPreferences(); }}),
        // View
        {ID_VIEW_TOOLBAR, M::View, 10, "&Toolbar", "Show or hide the toolbar\nToggle Toolbar", {},
         0, nullptr, nullptr, [&window] { window.ToggleToolbar(); }, true},
        {ID_VIEW_STATUS_BAR, M::View, 11, "&Status Bar",
         "Show or hide the status bar\nToggle Status Bar", {}, 0, nullptr, nullptr,
         [&window] { window.ToggleStatusBar(); }, true},
        {ID_VIEW_HIDE_PASSWORDS, M::View, 20, "&Hide Passwords",
         "Show dots instead of the passwords in the list\nHide Passwords", {}, 0, nullptr,
         nullptr, [&f] { f.hidePasswords.OnHidePasswords(); }, true, WhenPasswordsHidden},
        // Help
        {ID_HELP_FINDER, M::Help, 10, "&Help Topics", "List Help topics\nHelp Topics", {}, 0,
         "help-contents", nullptr, [&help] { help.ShowHelp(kHelpContents); }},
        {ID_APP_ABOUT, M::Help, 20, "&About Keynest...",
         "Program information, with links to mail and web\nAbout", {}, 30, "help-about", nullptr,
         [&extras] { extras.OnAppAbout(); }},
    };
}

const char* MenuTitle(MenuName menu) {
    switch (menu) {
        case MenuName::File: return "&File";
        case MenuName::Edit: return "&Edit";
        case MenuName::View: return "&View";
        case MenuName::Help: return "&Help";
    }
    return "";
}

QString StatusTipOf(const CommandRow& row) {
    return QString::fromUtf8(row.prompt).section(QLatin1Char('\n'), 0, 0);
}

QString ToolTipOf(const CommandRow& row) {
    return QString::fromUtf8(row.prompt).section(QLatin1Char('\n'), 1, 1);
}
