#pragma once

#include <mutex>

#include "contract/Services.h"

class CKeynestEvents;
class CRegistryStore;
class CVault;
class IActivity;
class IUrlLauncher;
class IItemList;
class QWidget;
struct Preferences;

/// What every feature of the program works with, handed to each feature
/// class when it is made. The main view owns the parts; they live as long
/// as the view.
struct KeynestContext {
    CVault& vault;                    ///< lock state, password, stored Items
    IItemList& rows;                  ///< the list: the plain Items while unlocked
    std::recursive_mutex& listLock;   ///< held around every change of the rows
    Preferences& prefs;               ///< the preferences in force
    CRegistryStore& store;            ///< the settings store
    Services services;                ///< prompts, clipboard, shell, help, random
    IActivity& activity;              ///< the inactivity watchdog
    IUrlLauncher& launcher;           ///< opens web addresses without waiting
    CKeynestEvents& events;           ///< program-wide notices
    QWidget& dialogParent;            ///< parent of the program's dialogs
};
