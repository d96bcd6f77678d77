#pragma once

// The program's own addresses, shown in the About box.

namespace AboutTexts {

inline constexpr const char* kSupportMail = "support@keynest.example.org";
/// What marks a link's text as a mail address: the support address's
/// local part and the "@".
inline constexpr const char* kMailMarker = "support@";
inline constexpr const char* kHomePage = "https://keynest.example.org";

}  // namespace AboutTexts
