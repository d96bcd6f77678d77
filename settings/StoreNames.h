#pragma once

// The names of the settings store's sections and of the values the program
// keeps in them. Every section name the program writes is spelled here once.

namespace StoreNames {

inline constexpr const char* kKeynest = "Keynest";      ///< the check value
inline constexpr const char* kList = "List";            ///< the sealed Items
inline constexpr const char* kKeptItems = "KeptItems";  ///< Items set aside, sealed as found
inline constexpr const char* kPrefs = "Prefs";
inline constexpr const char* kScreen = "Screen";
inline constexpr const char* kNewbie = "Newbie";        ///< New User Hint flags
inline constexpr const char* kFileSel = "FileSel";      ///< the last export/import place
inline constexpr const char* kTest = "Test";            ///< erased by Reset; nothing else uses it
inline constexpr const char* kText = "Text";            ///< the Twofish tester's data form ("Hex")

/// Every section the program writes, in the order File > Reset erases them.
inline constexpr const char* kAllSections[] = {kFileSel, kList,  kNewbie, kKeynest, kPrefs,
                                               kScreen,  kTest,  kText,   kKeptItems};

// Values.
inline constexpr const char* kPassword = "Password";  ///< "Keynest": the check value
inline constexpr const char* kStarter = "Starter";    ///< "FileSel": last file name
inline constexpr const char* kMaximized = "Maximized";  ///< "Screen": 1 when left maximised
inline constexpr const char* kHex = "Hex";            ///< "Text": 1 hex digits, 0 text

// "Keynest" of a hardened vault, in place of the check value.
inline constexpr const char* kFormat = "Format";                ///< kHardenedFormat
inline constexpr const char* kHardenedFormat = "Argon2id Twofish-EAX 1";
inline constexpr const char* kSalt = "Salt";                    ///< 32 hex digits
inline constexpr const char* kKdfMemoryKiB = "KdfMemoryKiB";
inline constexpr const char* kKdfIterations = "KdfIterations";
inline constexpr const char* kKdfLanes = "KdfLanes";
inline constexpr const char* kVerifier = "Verifier";            ///< the sealed save generation and count

}  // namespace StoreNames
