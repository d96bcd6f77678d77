#include "importers/ForeignFile.h"

#include <algorithm>
#include <array>
#include <exception>
#include <initializer_list>

#include <nlohmann/json.hpp>

#include "importers/CsvTable.h"

namespace {

struct NamedFormat {
    ForeignFormat format;
    const char* name;
};

constexpr NamedFormat kNames[] = {
    {ForeignFormat::kAuto, "auto"},
    {ForeignFormat::kKeePassXcCsv, "keepassxc-csv"},
    {ForeignFormat::kBitwardenCsv, "bitwarden-csv"},
    {ForeignFormat::kBitwardenJson, "bitwarden-json"},
    {ForeignFormat::kFirefoxCsv, "firefox-csv"},
    {ForeignFormat::kChromeCsv, "chrome-csv"},
    {ForeignFormat::kGenericCsv, "csv"},
};

using Names = std::initializer_list<std::string_view>;

// The header names (lower case) that feed each field of an Item, per
// format; the first name the header holds is used. `kind` names a column
// whose value must be "login" when the header has it.
struct ColumnMap {
    ForeignFormat format;
    std::array<Names, kItemColumnCount> fields;
    std::string_view kind;
};

const ColumnMap kColumnMaps[] = {
    {ForeignFormat::kKeePassXcCsv, {{{"title"}, {"url"}, {"username"}, {"group"}, {"notes"}, {"password"}}}, {}},
    {ForeignFormat::kBitwardenCsv,
     {{{"name"}, {"login_uri"}, {"login_username"}, {"folder"}, {"notes"}, {"login_password"}}},
     "type"},
    {ForeignFormat::kFirefoxCsv, {{{}, {"url"}, {"username"}, {}, {}, {"password"}}}, {}},
    {ForeignFormat::kChromeCsv, {{{"name"}, {"url"}, {"username"}, {}, {"note"}, {"password"}}}, {}},
    {ForeignFormat::kGenericCsv,
     {{{"location", "title", "name", "site", "account", "service"},
       {"url", "uri", "login_uri", "website", "web site", "address"},
       {"user id", "userid", "username", "user name", "login", "login_username", "user", "email", "e-mail"},
       {"hint", "group", "folder", "category"},
       {"note", "notes", "comment", "comments"},
       {"password", "login_password", "pass", "pwd"}}},
     {}},
};

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    // Blanks around a header name are no part of it.
    const std::size_t first = lower.find_first_not_of(' ');
    const std::size_t last = lower.find_last_not_of(' ');
    return first == std::string::npos ? std::string() : lower.substr(first, last - first + 1);
}

bool HasAll(const std::vector<std::string>& header, Names names) {
    return std::all_of(names.begin(), names.end(), [&](std::string_view name) {
        return std::find(header.begin(), header.end(), name) != header.end();
    });
}

// The format a CSV header belongs to: the programs' own headers first.
ForeignFormat RecogniseCsv(const std::vector<std::string>& header) {
    if (HasAll(header, {"name", "login_uri", "login_username", "login_password"})) return ForeignFormat::kBitwardenCsv;
    if (HasAll(header, {"url", "username", "password", "httprealm", "formactionorigin"})) return ForeignFormat::kFirefoxCsv;
    if (HasAll(header, {"group", "title", "username", "password", "url", "notes"})) return ForeignFormat::kKeePassXcCsv;
    if (HasAll(header, {"name", "url", "username", "password"}) && header.size() <= 5) return ForeignFormat::kChromeCsv;
    return ForeignFormat::kGenericCsv;
}

const ColumnMap& MapOf(ForeignFormat format) {
    for (const ColumnMap& map : kColumnMaps) {
        if (map.format == format) return map;
    }
    return kColumnMaps[std::size(kColumnMaps) - 1];
}

// Where each field's column is in the header, or -1.
std::array<int, kItemColumnCount + 1> ColumnsOf(const ColumnMap& map, const std::vector<std::string>& header) {
    std::array<int, kItemColumnCount + 1> at{};
    const auto find = [&](Names names) {
        for (std::string_view name : names) {
            const auto found = std::find(header.begin(), header.end(), name);
            if (found != header.end()) return static_cast<int>(found - header.begin());
        }
        return -1;
    };
    for (int column = 0; column < kItemColumnCount; ++column) at[static_cast<std::size_t>(column)] = find(map.fields[static_cast<std::size_t>(column)]);
    at[kItemColumnCount] = map.kind.empty() ? -1 : find({map.kind});
    return at;
}

bool ReadCsvFile(std::string_view bytes, ForeignFormat format, ForeignFile& out, std::string& error) {
    std::vector<CsvRow> rows;
    if (!ReadCsv(bytes, rows, error)) {
        error = "the file does not read as CSV to its end (" + error + ")";
        return false;
    }
    if (rows.empty()) {
        error = "the file is empty";
        return false;
    }
    std::vector<std::string> header;
    for (const std::string& name : rows.front()) header.push_back(Lower(name));
    if (format == ForeignFormat::kAuto) format = RecogniseCsv(header);
    const ColumnMap& map = MapOf(format);
    const auto at = ColumnsOf(map, header);
    if (at[kColPassword] < 0 || (at[kColLocation] < 0 && at[kColUrl] < 0)) {
        WipeCsv(rows);
        error = std::string("the header names no Password column, or neither a Location nor a URL column, of a ") +
                ForeignFormatName(format) + " file";
        return false;
    }
    out.format = format;
    for (std::size_t line = 1; line < rows.size(); ++line) {
        const CsvRow& row = rows[line];
        // A blank line is no record.
        if (row.size() <= 1 && (row.empty() || row[0].empty())) continue;
        ForeignRecord& record = out.records.emplace_back();
        for (int column = 0; column < kItemColumnCount; ++column) {
            const int source = at[static_cast<std::size_t>(column)];
            if (source >= 0 && static_cast<std::size_t>(source) < row.size()) {
                record.fields[static_cast<std::size_t>(column)] = row[static_cast<std::size_t>(source)];
            }
        }
        const int kind = at[kItemColumnCount];
        if (kind >= 0 && static_cast<std::size_t>(kind) < row.size() && Lower(row[static_cast<std::size_t>(kind)]) != "login") {
            record.skipReason = "not a login (a note, card or identity)";
        }
    }
    WipeCsv(rows);
    return true;
}

const std::string& StringAt(const nlohmann::json& object, const char* key) {
    static const std::string kNone;
    const auto found = object.find(key);
    return found != object.end() && found->is_string() ? found->get_ref<const std::string&>() : kNone;
}

bool ReadBitwardenJson(std::string_view bytes, ForeignFile& out, std::string& error) {
    nlohmann::json root = nlohmann::json::parse(bytes.begin(), bytes.end(), nullptr, false);
    if (root.is_discarded()) {
        error = "the file does not read as JSON to its end";
        return false;
    }
    if (!root.is_object() || !root.contains("items") || !root["items"].is_array()) {
        error = "the file is JSON but not a Bitwarden export: it has no list of items";
        return false;
    }
    if (root.contains("encrypted") && root["encrypted"] == true) {
        error = "the Bitwarden export is encrypted: export the vault again as unencrypted JSON";
        return false;
    }
    std::vector<std::pair<std::string, std::string>> folders;
    if (root.contains("folders") && root["folders"].is_array()) {
        for (const nlohmann::json& folder : root["folders"]) {
            if (folder.is_object()) folders.emplace_back(StringAt(folder, "id"), StringAt(folder, "name"));
        }
    }
    out.format = ForeignFormat::kBitwardenJson;
    for (const nlohmann::json& item : root["items"]) {
        ForeignRecord& record = out.records.emplace_back();
        if (!item.is_object()) {
            record.skipReason = "not an item";
            continue;
        }
        record.fields[kColLocation] = StringAt(item, "name");
        record.fields[kColNote] = StringAt(item, "notes");
        const std::string& folderId = StringAt(item, "folderId");
        for (const auto& [id, name] : folders) {
            if (!folderId.empty() && id == folderId) record.fields[kColHint] = name;
        }
        const auto type = item.find("type");
        const auto login = item.find("login");
        if (type == item.end() || *type != 1 || login == item.end() || !login->is_object()) {
            record.skipReason = "not a login (a note, card or identity)";
            continue;
        }
        record.fields[kColUserId] = StringAt(*login, "username");
        record.fields[kColPassword] = StringAt(*login, "password");
        const auto uris = login->find("uris");
        if (uris != login->end() && uris->is_array() && !uris->empty() && uris->front().is_object()) {
            record.fields[kColUrl] = StringAt(uris->front(), "uri");
        }
    }
    // The parsed document holds every password: wiped before it goes,
    // without recursion, however deep a hostile file nests.
    std::vector<nlohmann::json*> pending{&root};
    while (!pending.empty()) {
        nlohmann::json* value = pending.back();
        pending.pop_back();
        if (value->is_string()) {
            WipeString(value->get_ref<std::string&>());
        } else if (value->is_structured()) {
            for (nlohmann::json& child : *value) pending.push_back(&child);
        }
    }
    return true;
}

}  // namespace

const char* ForeignFormatName(ForeignFormat format) {
    for (const NamedFormat& named : kNames) {
        if (named.format == format) return named.name;
    }
    return "";
}

bool ForeignFormatFromName(std::string_view name, ForeignFormat& format) {
    for (const NamedFormat& named : kNames) {
        if (name == named.name) {
            format = named.format;
            return true;
        }
    }
    return false;
}

ForeignFile::~ForeignFile() {
    for (ForeignRecord& record : records) {
        for (std::string& text : record.fields) WipeString(text);
    }
}

bool ReadForeignFile(std::string_view bytes, ForeignFormat format, ForeignFile& out, std::string& error) {
    out.records.clear();
    bool read = false;
    try {
        std::string_view start = bytes.substr(0, 64);
        start.remove_prefix(std::min(start.size(), start.find_first_not_of(" \t\r\n\xEF\xBB\xBF")));
        const bool json = format == ForeignFormat::kBitwardenJson ||
                          (format == ForeignFormat::kAuto && !start.empty() && start.front() == '{');
        read = json ? ReadBitwardenJson(bytes, out, error) : ReadCsvFile(bytes, format, out, error);
    } catch (const std::exception&) {
        error = "the file could not be read (out of memory)";
        read = false;
    }
    if (!read) {
        ForeignFile discard;
        discard.records.swap(out.records);
    }
    return read;
}

std::string HostOfUrl(std::string_view url) {
    const std::size_t scheme = url.find("://");
    if (scheme != std::string_view::npos) url.remove_prefix(scheme + 3);
    url = url.substr(0, url.find_first_of("/?#"));
    const std::size_t at = url.rfind('@');
    if (at != std::string_view::npos) url.remove_prefix(at + 1);
    // A port ends the host; an IPv6 address keeps its brackets and colons.
    const std::size_t colon = url.rfind(':');
    if (colon != std::string_view::npos && url.find(']') == std::string_view::npos) url = url.substr(0, colon);
    return std::string(url);
}
