#include "importers/CsvTable.h"

#include <csv.h>

#include "vault/ItemList.h"

namespace {

struct Reading {
    std::vector<CsvRow>* rows;
    CsvRow row;
};

void OnField(void* data, std::size_t length, void* context) {
    auto* reading = static_cast<Reading*>(context);
    reading->row.emplace_back(static_cast<const char*>(data), length);
}

void OnRowEnd(int /*terminator*/, void* context) {
    auto* reading = static_cast<Reading*>(context);
    reading->rows->push_back(std::move(reading->row));
    reading->row = CsvRow();
}

// No byte counts as a blank: libcsv would drop blanks around a field.
int NoBlanks(unsigned char) { return 0; }

}  // namespace

bool ReadCsv(std::string_view bytes, std::vector<CsvRow>& rows, std::string& error) {
    rows.clear();
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark) bytes.remove_prefix(kByteOrderMark.size());
    csv_parser parser{};
    if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI) != 0) {
        error = "out of memory";
        return false;
    }
    csv_set_space_func(&parser, NoBlanks);
    Reading reading{&rows, {}};
    const bool parsed = csv_parse(&parser, bytes.data(), bytes.size(), OnField, OnRowEnd, &reading) == bytes.size() &&
                        csv_fini(&parser, OnField, OnRowEnd, &reading) == 0;
    if (!parsed) error = csv_strerror(csv_error(&parser));
    csv_free(&parser);
    for (std::string& field : reading.row) WipeString(field);
    if (!parsed) WipeCsv(rows);
    return parsed;
}

std::string CsvQuoted(std::string_view field) {
    // libcsv writes the field in quotes with every quote doubled; the first
    // call tells the size.
    std::string quoted(csv_write(nullptr, 0, field.data(), field.size()), '\0');
    csv_write(quoted.data(), quoted.size(), field.data(), field.size());
    return quoted;
}

void WipeCsv(std::vector<CsvRow>& rows) {
    for (CsvRow& row : rows) {
        for (std::string& field : row) WipeString(field);
    }
    rows.clear();
}
