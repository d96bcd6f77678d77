#pragma once

/// Help context numbers: 0x20000 and the number of the window they belong to.
inline constexpr int kHelpContents = 0;
inline constexpr int kHelpAbout = 0x20064;
inline constexpr int kHelpMainWindow = 0x20080;
inline constexpr int kHelpUnlock = 0x20081;
inline constexpr int kHelpSetAside = 0x20082;
inline constexpr int kHelpItem = 0x20083;
inline constexpr int kHelpMakePassword = 0x20084;
inline constexpr int kHelpPreferences = 0x20085;
inline constexpr int kHelpChoosePassword = 0x20086;
inline constexpr int kHelpExportImport = 0x20087;
inline constexpr int kHelpPrinting = 0x20088;
inline constexpr int kHelpTwofishTest = 0x20089;
inline constexpr int kHelpPasswordHealth = 0x2008A;
inline constexpr int kHelpVaultFormat = 0x2008B;
/// The property by which a window names its help context (an int); F1
/// opens that page, or the contents for windows without one.
inline constexpr const char* kHelpContextProperty = "keynestHelpContext";

/// Shows the help pages.
class IHelpViewer {
public:
    virtual ~IHelpViewer() = default;
    /// Opens the page for `context` (kHelpContents for the first page).
    virtual void ShowHelp(int context) = 0;
};
