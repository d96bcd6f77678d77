#pragma once

#include <QString>

/// A command's name as a screen reader says it: its menu text before the
/// tab that names the key, without the mnemonic marks ("Add Item...").
QString CommandName(const QString& menuText);

/// Makes screen readers name a menu item whose text names its key after a
/// tab by the text alone; Qt would read the tab and the key as part of the
/// name. The key stays reachable as the item's shortcut. Installing twice
/// does no harm.
void InstallMenuItemNames();
