#pragma once

#include <QIcon>

/// The icon named `freedesktopName` in the desktop's icon theme (a name from
/// the freedesktop.org icon naming list, such as "document-open"), so that
/// menus and the toolbar match the user's other programs. Where the theme has
/// no such icon, the picture of that name built into the program; a null icon
/// when the program has none either.
QIcon ThemeIcon(const char* freedesktopName);

/// The program's own icon, for its windows.
QIcon AppIcon();
