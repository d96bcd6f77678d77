#include "CommandStates.h"

bool IsCommandEnabled(int id, const CommandState& state) {
    const bool hasRows = state.rowCount != 0;
    switch (id) {
        case ID_FILE_UNLOCK:
            return !state.unlocked;
        case ID_FILE_IMPORT:
        case ID_EDIT_ADD_ITEM:
        case ID_EDIT_CHANGE_PASSWORD:
            return state.unlocked;
        case ID_FILE_EXPORT:
        case ID_FILE_PRINT:
        case ID_FILE_PRINT_PREVIEW:
        case ID_FILE_PRINT_SETUP:
        case ID_EDIT_DELETE_ALL:
            return hasRows;
        case ID_EDIT_DELETE_ITEM:
        case ID_EDIT_EDIT_ITEM:
        case ID_EDIT_COPY_PASSWORD:
            return state.hasSelection;
        case ID_EDIT_UNDO_DELETE:
            // While locked the list must stay empty: a deleted Item held for
            // undo may only come back into an unlocked list.
            return state.unlocked && state.undoAvailable;
        default:
            return true;
    }
}

QString CommandPrompt(int id) {
    switch (id) {
        case ID_EDIT_PREFERENCES:
            return QStringLiteral("Preferences\nPreferences");
        case ID_FILE_UNLOCK:
            return QStringLiteral("UnLock Keynest\nUnLock");
        case ID_EDIT_ADD_ITEM:
            return QStringLiteral("Add Item\nAdd Item");
        case ID_EDIT_DELETE_ITEM:
            return QStringLiteral("Delete Item\nDelete Item");
        case ID_EDIT_MAKE_PASSWORD:
            return QStringLiteral("Make a Password\nMake Password");
        case ID_EDIT_EDIT_ITEM:
            return QStringLiteral("Edit Item\nEdit Item");
        case ID_EDIT_DELETE_ALL:
            return QStringLiteral("Delete All Items\nDelete All");
        case ID_FILE_EXPORT:
            return QStringLiteral("Export to File\nExport");
        case ID_FILE_IMPORT:
            return QStringLiteral("Import From File\nImport");
        case ID_EDIT_CHANGE_PASSWORD:
            return QStringLiteral("Change Password\nChange Password");
        case ID_FILE_TEST_TWOFISH:
            return QStringLiteral("Test TwoFish\nTest");
        case ID_FILE_RESET:
            return QStringLiteral("Reset\nReset");
        case ID_EDIT_UNDO_DELETE:
            return QStringLiteral("Undo Delete\nUndo Delete");
        case ID_EDIT_COPY_PASSWORD:
            return QStringLiteral("Copy the password to the Clipboard\nCopy");
        default:
            return {};
    }
}

QString CommandStatusTip(int id) { return CommandPrompt(id).section(QLatin1Char('\n'), 0, 0); }

QString CommandToolTip(int id) { return CommandPrompt(id).section(QLatin1Char('\n'), 1, 1); }
