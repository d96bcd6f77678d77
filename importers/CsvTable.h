#pragma once

#include <string>
#include <string_view>
#include <vector>

/// A CSV file read whole (RFC 4180: quoted fields with commas, quotes and
/// line breaks, CRLF or LF rows, a UTF-8 byte-order mark), by libcsv.
/// Blanks around a field are kept: they may be part of a password.
using CsvRow = std::vector<std::string>;

/// Reads every row of `bytes` into `rows`. False, with `rows` empty and
/// `error` saying why, when the file does not read to its end (a quoted
/// field left open, a stray quote).
[[nodiscard]] bool ReadCsv(std::string_view bytes, std::vector<CsvRow>& rows, std::string& error);

/// `field` quoted for a CSV file: always in double quotes, quotes doubled.
std::string CsvQuoted(std::string_view field);

/// Wipes every field of `rows`, then empties it.
void WipeCsv(std::vector<CsvRow>& rows);
