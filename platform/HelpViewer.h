#pragma once

/// Help context numbers.
inline constexpr int kHelpContents = 0;
inline constexpr int kHelpChoosePassword = 0x20086;
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
