#pragma once

#include <QKeyCombination>
#include <functional>
#include <vector>

#include "app/commands/CommandIds.h"

class CAutoLockStages;
class CExportImport;
class CExtraCommands;
class CFileReset;
class CFindBox;
class CForeignFiles;
class CHealthCommand;
class CHidePasswords;
class CItemCommands;
class CItemListView;
class CLockFlow;
class CMakePassword;
class CPreferencesCommand;
class CPrintCommands;
class CVault;
class CVaultFormatCommands;
class IHelpViewer;

/// The features the commands run and whose state enables them.
struct CommandFeatures {
    CVault& vault;
    CItemListView& list;
    CFindBox& findBox;
    CItemCommands& items;
    CLockFlow& lock;
    CAutoLockStages& lockStages;
    CExportImport& files;
    CForeignFiles& foreignFiles;
    CPrintCommands& print;
    CExtraCommands& extras;
    CMakePassword& makePassword;
    CPreferencesCommand& preferences;
    CHidePasswords& hidePasswords;
    CFileReset& reset;
    CHealthCommand& health;
    CVaultFormatCommands& vaultFormat;
    IHelpViewer& help;
};

/// The commands of the main window itself.
class IWindowCommands {
public:
    virtual ~IWindowCommands() = default;
    virtual void OnExit() = 0;
    virtual void ToggleToolbar() = 0;
    virtual void ToggleStatusBar() = 0;
};

/// The menus of the main window.
enum class MenuName { File, Edit, View, Help };

/// Whether a command is enabled, read from the features as they are now.
using EnableRule = bool (*)(const CommandFeatures&);

/// One command of the program: everything the menu, toolbar, shortcuts,
/// status bar and enabling need, and what it does.
struct CommandRow {
    int id = 0;
    MenuName menu = MenuName::File;
    /// Order within the menu. Rows whose places differ in the tens are
    /// separated by a line.
    int menuPlace = 0;
    /// Menu text; after a tab, the shortcut as the menu shows it.
    const char* text = "";
    /// Status-bar prompt and tool tip, joined by a line break.
    const char* prompt = "";
    /// The accelerator, if any.
    QKeyCombination key = {};
    /// Place on the toolbar (0: not there); tens are separated as in menus.
    int toolbarPlace = 0;
    /// The freedesktop icon name.
    const char* icon = nullptr;
    /// Null: always enabled.
    EnableRule enabled = nullptr;
    std::function<void()> run;
    bool checkable = false;
    /// Whether a checkable command shows its check; null: the command
    /// keeps the check itself.
    EnableRule checked = nullptr;
    /// Place in the list's context menu (0: not there), and its text there.
    int listMenuPlace = 0;
    const char* listMenuText = nullptr;
};

/// Every command of the program, with its handler bound to `features` and `window`.
std::vector<CommandRow> BuildCommandRows(const CommandFeatures& features, IWindowCommands& window);

/// Menu title of `menu`, with its mnemonic.
const char* MenuTitle(MenuName menu);

/// The status-bar part and the tool-tip part of a row's prompt.
QString StatusTipOf(const CommandRow& row);
QString ToolTipOf(const CommandRow& row);
