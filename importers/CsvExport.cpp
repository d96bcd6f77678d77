#include "importers/CsvExport.h"

#include "importers/CsvTable.h"
#include "vault/ItemList.h"

std::string BuildCsvExport(const IItemList& list) {
    std::string out = std::string(kCsvExportHeader) + "\r\n";
    const auto add = [&out](std::string text, bool last) {
        std::string quoted = CsvQuoted(text);
        out += quoted;
        out += last ? "\r\n" : ",";
        WipeString(quoted);
        WipeString(text);
    };
    for (int row = 0; row < list.RowCount(); ++row) {
        add(list.GetText(row, kColHint), false);
        add("", false);
        add("login", false);
        add(list.GetText(row, kColLocation), false);
        add(list.GetText(row, kColNote), false);
        add("", false);
        add("0", false);
        add(list.GetText(row, kColUrl), false);
        add(list.GetText(row, kColUserId), false);
        add(list.GetText(row, kColPassword), false);
        add("", true);
    }
    return out;
}
