#pragma once

#include <QKeyCombination>
#include <functional>
#include <vector>

#include "ui/CommandStates.h"

class CKeynestView;
class CMainFrame;

/// The menus of the main window.
enum class MenuName { File, Edit, View, Help };

/// Whether a command is enabled in a given state.
using EnableRule = bool (*)(const CommandState&);

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
};

/// Every command of the program, with its handler bound to `view` and `frame`.
std::vector<CommandRow> BuildCommandRows(CKeynestView& view, CMainFrame& frame);

/// Menu title of `menu`, with its mnemonic.
const char* MenuTitle(MenuName menu);

/// The status-bar part and the tool-tip part of a row's prompt.
QString StatusTipOf(const CommandRow& row);
QString ToolTipOf(const CommandRow& row);
