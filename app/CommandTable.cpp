#include "CommandTable.h"

#include <array>

#include "CommandStates.h"

namespace {

constexpr std::array kMenu = {
    MenuEntry{MenuName::File, ID_FILE_UNLOCK, "&UnLock...\tF10"},
    MenuEntry{MenuName::File, ID_FILE_IMPORT, "&Import From File...\tCtrl-I"},
    MenuEntry{MenuName::File, ID_FILE_EXPORT, "&Export To File...\tCtrl-E"},
    MenuEntry{MenuName::File, 0, ""},
    MenuEntry{MenuName::File, ID_FILE_TEST_TWOFISH, "&Test TwoFish...\tF7"},
    MenuEntry{MenuName::File, 0, ""},
    MenuEntry{MenuName::File, ID_FILE_RESET, "Re&set"},
    MenuEntry{MenuName::File, 0, ""},
    MenuEntry{MenuName::File, ID_FILE_PRINT, "&Print...\tCtrl+P"},
    MenuEntry{MenuName::File, ID_FILE_PRINT_PREVIEW, "Print Pre&view"},
    MenuEntry{MenuName::File, ID_FILE_PRINT_SETUP, "P&rint Setup..."},
    MenuEntry{MenuName::File, 0, ""},
    MenuEntry{MenuName::File, ID_APP_EXIT, "E&xit"},
    MenuEntry{MenuName::Edit, ID_EDIT_ADD_ITEM, "&Add Item...\tCtrl-A"},
    MenuEntry{MenuName::Edit, ID_EDIT_DELETE_ITEM, "&Delete Item\tDel"},
    MenuEntry{MenuName::Edit, ID_EDIT_UNDO_DELETE, "&Undo Delete\tCtrl-Z"},
    MenuEntry{MenuName::Edit, ID_EDIT_DELETE_ALL, "De&lete All Items"},
    MenuEntry{MenuName::Edit, ID_EDIT_EDIT_ITEM, "&Edit Item...\tF2"},
    MenuEntry{MenuName::Edit, 0, ""},
    MenuEntry{MenuName::Edit, ID_EDIT_MAKE_PASSWORD, "&Make a Password\tF3"},
    MenuEntry{MenuName::Edit, ID_EDIT_CHANGE_PASSWORD, "C&hange Password...\tF4"},
    MenuEntry{MenuName::Edit, ID_EDIT_COPY_PASSWORD, "&Copy Password to Clipboard\tCtrl+C"},
    MenuEntry{MenuName::Edit, 0, ""},
    MenuEntry{MenuName::Edit, ID_EDIT_PREFERENCES, "&Preferences...\tF5"},
    MenuEntry{MenuName::View, ID_VIEW_TOOLBAR, "&Toolbar"},
    MenuEntry{MenuName::View, ID_VIEW_STATUS_BAR, "&Status Bar"},
    MenuEntry{MenuName::Help, ID_HELP_FINDER, "&Help Topics"},
    MenuEntry{MenuName::Help, 0, ""},
    MenuEntry{MenuName::Help, ID_APP_ABOUT, "&About Keynest..."},
};

// Print shows "Ctrl+P" in its label, but there is no accelerator for it.
const std::array kAccelerators = {
    Accelerator{Qt::CTRL | Qt::Key_A, ID_EDIT_ADD_ITEM},
    Accelerator{Qt::CTRL | Qt::Key_C, ID_EDIT_COPY_PASSWORD},
    Accelerator{Qt::CTRL | Qt::Key_E, ID_FILE_EXPORT},
    Accelerator{Qt::CTRL | Qt::Key_I, ID_FILE_IMPORT},
    Accelerator{Qt::CTRL | Qt::Key_Z, ID_EDIT_UNDO_DELETE},
    Accelerator{QKeyCombination(Qt::Key_Delete), ID_EDIT_DELETE_ITEM},
    Accelerator{QKeyCombination(Qt::Key_F2), ID_EDIT_EDIT_ITEM},
    Accelerator{QKeyCombination(Qt::Key_F3), ID_EDIT_MAKE_PASSWORD},
    Accelerator{QKeyCombination(Qt::Key_F4), ID_EDIT_CHANGE_PASSWORD},
    Accelerator{QKeyCombination(Qt::Key_F5), ID_EDIT_PREFERENCES},
    Accelerator{QKeyCombination(Qt::Key_F7), ID_FILE_TEST_TWOFISH},
    Accelerator{QKeyCombination(Qt::Key_F10), ID_FILE_UNLOCK},
};

constexpr std::array kToolbar = {
    ID_FILE_UNLOCK,        ID_FILE_IMPORT,      ID_FILE_EXPORT,        ID_FILE_PRINT, 0,
    ID_EDIT_ADD_ITEM,      ID_EDIT_DELETE_ITEM, ID_EDIT_EDIT_ITEM,     ID_EDIT_MAKE_PASSWORD,
    ID_EDIT_COPY_PASSWORD, ID_EDIT_PREFERENCES, 0,                     ID_APP_ABOUT,
};

}  // namespace

std::span<const MenuEntry> MenuEntries() { return kMenu; }
std::span<const Accelerator> Accelerators() { return kAccelerators; }
std::span<const int> ToolbarCommands() { return kToolbar; }

const char* MenuTitle(MenuName menu) {
    switch (menu) {
        case MenuName::File: return "&File";
        case MenuName::Edit: return "&Edit";
        case MenuName::View: return "&View";
        case MenuName::Help: return "&Help";
    }
    return "";
}

bool IsCommandBuilt(int id) {
    switch (id) {
        case ID_FILE_IMPORT:
        case ID_FILE_EXPORT:
        case ID_FILE_TEST_TWOFISH:
        case ID_FILE_PRINT:
        case ID_FILE_PRINT_PREVIEW:
        case ID_FILE_PRINT_SETUP:
        case ID_EDIT_MAKE_PASSWORD:
        case ID_EDIT_PREFERENCES:
        case ID_APP_ABOUT:
            return false;
        default:
            return true;
    }
}
