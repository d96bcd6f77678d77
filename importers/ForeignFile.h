#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "vault/ItemList.h"

/// The export files of other password programs that Keynest reads.
enum class ForeignFormat {
    kAuto,           ///< recognised from the CSV header or the JSON structure
    kKeePassXcCsv,   ///< KeePassXC: "Group","Title","Username","Password","URL","Notes",...
    kBitwardenCsv,   ///< Bitwarden: folder,favorite,type,name,notes,fields,reprompt,login_uri,...
    kBitwardenJson,  ///< Bitwarden's unencrypted JSON export
    kFirefoxCsv,     ///< Firefox: "url","username","password","httpRealm","formActionOrigin",...
    kChromeCsv,      ///< Chrome and Chromium: name,url,username,password[,note]
    kGenericCsv,     ///< any CSV whose header names the columns (see README)
};

/// The name the command line uses: "auto", "keepassxc-csv", "bitwarden-csv",
/// "bitwarden-json", "firefox-csv", "chrome-csv" or "csv".
const char* ForeignFormatName(ForeignFormat format);
/// The format of a command-line name; false for an unknown name.
bool ForeignFormatFromName(std::string_view name, ForeignFormat& format);

/// One record of another program's file, as an Item's six fields.
struct ForeignRecord {
    CMemoryItemList::Row fields;
    std::string skipReason;  ///< set when the file itself rules it out ("not a login")
};

/// The records of a file read whole. Plain texts are wiped when it goes.
struct ForeignFile {
    ForeignFormat format = ForeignFormat::kAuto;  ///< as recognised
    std::vector<ForeignRecord> records;

    ForeignFile() = default;
    ~ForeignFile();
    ForeignFile(const ForeignFile&) = delete;
    ForeignFile& operator=(const ForeignFile&) = delete;
};

/// Reads `bytes` as `format`, mapping each record to an Item: Location from
/// the title or name (from the URL's host when there is none), URL, User ID,
/// Password and Note; the group or folder to the Hint. All or nothing:
/// false, with `out` empty and `error` saying why, when the file does not
/// read to its end or is not of the format.
[[nodiscard]] bool ReadForeignFile(std::string_view bytes, ForeignFormat format, ForeignFile& out, std::string& error);

/// The host of `url` ("https://bob@www.example.org:8443/x" gives
/// "www.example.org"), or the empty text.
std::string HostOfUrl(std::string_view url);
