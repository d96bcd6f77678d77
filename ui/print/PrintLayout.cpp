#include "ui/print/PrintLayout.h"

#include <algorithm>

PrintLayout ComputePrintLayout(int rowCount, int printableHeight, int textHeight) {
    PrintLayout layout;
    layout.lineHeight = std::max(1, textHeight + kPrintLineGap);
    // Two blank lines on top, less on a page too short for them and a row;
    // a page too short even for one line still takes one, so that every
    // row is printed and the page count stays finite.
    layout.topOffset = std::clamp(printableHeight - layout.lineHeight, 0, 2 * layout.lineHeight);
    layout.rowsPerPage = std::max(1, (printableHeight - layout.topOffset) / layout.lineHeight);
    const int rows = std::max(0, rowCount);
    layout.pageCount = rows / layout.rowsPerPage + (rows % layout.rowsPerPage != 0 ? 1 : 0);
    return layout;
}

PageRows RowsOnPage(const PrintLayout& layout, int rowCount, int page) {
    PageRows rows;
    if (page < 1) return rows;
    rows.first = (page - 1) * layout.rowsPerPage;
    rows.count = std::clamp(rowCount - rows.first, 0, layout.rowsPerPage);
    return rows;
}
