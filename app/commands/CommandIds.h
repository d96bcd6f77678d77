#pragma once

// Command ids of the menus, toolbar, accelerators and the list's context menu.
inline constexpr int ID_FILE_UNLOCK = 32773;
inline constexpr int ID_FILE_IMPORT = 32784;
inline constexpr int ID_FILE_EXPORT = 32783;
inline constexpr int ID_FILE_TEST_TWOFISH = 32786;
inline constexpr int ID_FILE_RESET = 32787;
inline constexpr int ID_FILE_PRINT = 57607;
inline constexpr int ID_FILE_PRINT_PREVIEW = 57609;
inline constexpr int ID_FILE_PRINT_SETUP = 57606;
inline constexpr int ID_APP_EXIT = 57665;
inline constexpr int ID_EDIT_ADD_ITEM = 32774;
inline constexpr int ID_EDIT_DELETE_ITEM = 32775;
inline constexpr int ID_EDIT_UNDO_DELETE = 32788;
inline constexpr int ID_EDIT_DELETE_ALL = 32779;
inline constexpr int ID_EDIT_EDIT_ITEM = 32778;
inline constexpr int ID_EDIT_MAKE_PASSWORD = 32776;
inline constexpr int ID_EDIT_CHANGE_PASSWORD = 32785;
inline constexpr int ID_EDIT_COPY_PASSWORD = 2771;
inline constexpr int ID_EDIT_PREFERENCES = 32771;
inline constexpr int ID_VIEW_TOOLBAR = 59392;
inline constexpr int ID_VIEW_STATUS_BAR = 59393;
inline constexpr int ID_HELP_FINDER = 57667;
inline constexpr int ID_APP_ABOUT = 57664;

inline constexpr int ID_FILE_OPEN_SET_ASIDE = 32790;
inline constexpr int ID_FILE_LOCK = 32791;
inline constexpr int ID_EDIT_FIND = 32792;
inline constexpr int ID_VIEW_HIDE_PASSWORDS = 32793;
inline constexpr int ID_FILE_IMPORT_PROGRAM = 32794;
inline constexpr int ID_FILE_EXPORT_CSV = 32795;
inline constexpr int ID_EDIT_PASSWORD_HEALTH = 32796;
inline constexpr int ID_FILE_HARDEN = 32797;
inline constexpr int ID_FILE_UNHARDEN = 32798;
