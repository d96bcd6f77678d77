#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <variant>

#include "settings/WaitTime.h"

class CRegistryStore;

/// Ranges the Preferences dialog accepts for the password length and the
/// inactive duration in minutes.
inline constexpr unsigned kMinLength = 4;
inline constexpr unsigned kMaxLength = 16;
/// A hardened vault keeps longer generated passwords; the preference may
/// hold up to this, and a classic vault uses at most kMaxLength of it.
inline constexpr unsigned kMaxHardenedLength = 64;
/// Longest time a copied password may stay on the clipboard, in seconds.
inline constexpr unsigned kMaxClipSeconds = 3600;
inline constexpr unsigned kMinDogTime = 1;
inline constexpr unsigned kMaxDogTime = 1440;

/// The 94 printable characters from '!' to '~' in code order.
std::string FullCharSet();

/// The preferences held in memory while the program runs. Each is declared
/// once, with its stored name, default and range, in Preferences.cpp; a
/// default-made value holds every default.
struct Preferences {
    Preferences();

    int createOnAdd = 0;     ///< suggest a generated password on Add Item
    int emptyClipboard = 0;  ///< erase the clipboard at exit
    int makePwdRadio = 0;    ///< Make a Password: 0 dialog, 1 clipboard
    unsigned length = 0;     ///< length of generated passwords, 4 to 16 (64 in a hardened vault)
    int alphaNum = 0;        ///< generated passwords hold a letter and a digit
    int launch = 0;          ///< a click on the Location opens the URL
    std::string pwdChars;    ///< the preferred character set
    int saveCancel = 0;      ///< at auto-lock an Item dialog is 1 saved, 0 cancelled
    int dog = 0;             ///< lock automatically after inactivity
    int dogTimeMinutes = 0;  ///< inactive duration in minutes, 1 to 1440
    int clipSeconds = 0;     ///< a copied password is cleared after this many seconds, 0 never
    int lockOnDesktop = 0;   ///< lock when the screen locks or the computer sleeps
    int hidePwds = 0;        ///< the list shows dots instead of passwords

    /// The inactive duration in milliseconds, or kInfinite when auto-lock is off.
    std::uint32_t DogTimeMs() const;
};

/// One preference of the struct, whatever its type.
using PreferenceField =
    std::variant<int Preferences::*, unsigned Preferences::*, std::string Preferences::*>;

/// Reads the preferences with their defaults and applies the start-up
/// corrections, writing corrected values back where that is the rule.
Preferences LoadPreferences(CRegistryStore& store);

/// Stores every preference. Returns false when a write failed.
bool SavePreferences(CRegistryStore& store, const Preferences& prefs);
/// Stores the one preference `field` of `prefs`.
bool SavePreference(CRegistryStore& store, const Preferences& prefs, PreferenceField field);
/// The values a number preference may take, as declared.
struct PreferenceRange {
    unsigned low = 0;
    unsigned high = 0;
};
PreferenceRange RangeOf(PreferenceField field);
/// "Show me the Defaults": every preference the Preferences dialog shows
/// back at its default; the View menu's Hide Passwords keeps its choice.
void ResetDialogPreferences(Preferences& prefs);

/// Names of the seven New User Hint flags in section "Newbie".
namespace NewUserHints {
inline constexpr const char* kChangeEditPwd = "ChangeEditPwd";
inline constexpr const char* kNoDog = "NoDog";
inline constexpr const char* kSaveCancel = "SaveCancel";
inline constexpr const char* kChangePwd = "ChangePwd";
inline constexpr const char* kExport = "Export";
inline constexpr const char* kEdit = "Edit";
inline constexpr const char* kListCopy = "ListCopy";
}  // namespace NewUserHints
inline constexpr std::array<const char*, 7> kNewUserHintKeys = {
    NewUserHints::kChangeEditPwd, NewUserHints::kNoDog,  NewUserHints::kSaveCancel,
    NewUserHints::kChangePwd,     NewUserHints::kExport, NewUserHints::kEdit,
    NewUserHints::kListCopy};

/// True when the hint `key` is still to be shown.
bool IsNewUserHintDue(CRegistryStore& store, const char* key);
/// Records that the hint `key` has been shown.
void MarkNewUserHintShown(CRegistryStore& store, const char* key);
/// Makes every New User Hint show again. Returns false when a write failed.
bool RestoreNewUserHints(CRegistryStore& store);

/// The six list column widths: the stored ones when they fit the client
/// width, otherwise clientWidth * 9 / 60 each.
std::array<int, 6> LoadColumnWidths(CRegistryStore& store, int clientWidth);
/// Stores the six column widths.
void SaveColumnWidths(CRegistryStore& store, const std::array<int, 6>& widths);

struct WindowGeometry {
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
};

/// The main window's start geometry for a work area of width x height: the
/// stored rectangle when it fits, otherwise 95 % of the area centred, which
/// is then written back.
WindowGeometry LoadWindowGeometry(CRegistryStore& store, int workWidth, int workHeight);
/// Records a moved or resized main window (negative positions count as 0).
void SaveWindowGeometry(CRegistryStore& store, const WindowGeometry& geometry);
/// True when the main window was left maximised.
bool LoadWindowMaximized(CRegistryStore& store);
/// Records whether the main window is maximised; only a change is written.
void SaveWindowMaximized(CRegistryStore& store, bool maximized);
