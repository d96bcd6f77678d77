#pragma once

#include <QKeySequence>
#include <span>

/// The menus of the main window.
enum class MenuName { File, Edit, View, Help };

/// One entry of a menu; id 0 is a separator. The text after a tab is the
/// shortcut label shown in the menu.
struct MenuEntry {
    MenuName menu;
    int id;
    const char* text;
};

/// One accelerator of the main window.
struct Accelerator {
    QKeyCombination keys;
    int id;
};

/// The menu bar, top to bottom within each menu.
std::span<const MenuEntry> MenuEntries();
/// Every accelerator of the main window; no other key is bound.
std::span<const Accelerator> Accelerators();
/// The toolbar buttons from left to right; 0 is a separator.
std::span<const int> ToolbarCommands();
/// Menu title of `menu`, with its mnemonic.
const char* MenuTitle(MenuName menu);

/// False for commands whose feature this build does not have yet: they are
/// shown in the menus, disabled.
bool IsCommandBuilt(int id);
