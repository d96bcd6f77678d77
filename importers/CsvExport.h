#pragma once

#include <string>

class IItemList;

/// The columns of Keynest's CSV export: Bitwarden's CSV import columns,
/// which KeePassXC's CSV import can also be pointed at. Hint goes to
/// "folder", Location to "name", URL to "login_uri", User ID to
/// "login_username", Password to "login_password", Note to "notes".
inline constexpr const char* kCsvExportHeader =
    "folder,favorite,type,name,notes,fields,reprompt,login_uri,login_username,login_password,login_totp";

/// Every row of `list` as a CSV file (UTF-8, CRLF rows, every field
/// quoted). The result holds every password in plain text.
std::string BuildCsvExport(const IItemList& list);
