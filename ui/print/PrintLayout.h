#pragma once

#include <algorithm>

// Page geometry of the printed Item list, free of any printer: all lengths
// are hundredths of an inch, y grows down the page from the top of the
// printable area.

/// Lines start this far right of the printable area's left edge.
inline constexpr int kPrintLeftIndent = 75;
/// The Password column is measured from this x.
inline constexpr int kPrintTabOrigin = 100;
/// Added to the text height to make one line.
inline constexpr int kPrintLineGap = 5;

/// How a list of rows falls onto pages.
struct PrintLayout {
    int lineHeight = 1;   ///< text height plus kPrintLineGap
    int topOffset = 2;    ///< blank space above the first line: two lines if they fit
    int rowsPerPage = 1;  ///< never below 1, however short the page
    int pageCount = 0;    ///< 0 for an empty list
};

/// The rows page `page` holds: `count` rows from `first`.
struct PageRows {
    int first = 0;
    int count = 0;
};

/// Lays `rowCount` rows out on pages `printableHeight` high, the text
/// `textHeight` high.
PrintLayout ComputePrintLayout(int rowCount, int printableHeight, int textHeight);

/// The rows of page `page` (counted from 1); count 0 past the last row.
PageRows RowsOnPage(const PrintLayout& layout, int rowCount, int page);

/// The top of line `line` (counted from 0) of any page.
inline int LineTop(const PrintLayout& layout, int line) {
    return line * layout.lineHeight + layout.topOffset;
}

/// The tab stop for a widest Location `widestLocation` and the width of
/// "Fg" `fgWidth`: the widest Location plus half of "Fg" as the gap.
inline int FirstTabStop(int widestLocation, int fgWidth) { return widestLocation + fgWidth / 2; }

/// The tab stop of a job whose printable area is `printableWidth` wide and
/// whose Password column needs `passwordRoom`: FirstTabStop while the
/// passwords still fit beside the widest Location, else moved left just as
/// far as they need (never left of the gap), the Locations then cut to fit.
inline int FittedTabStop(int widestLocation, int fgWidth, int printableWidth, int passwordRoom) {
    const int fitting = printableWidth - kPrintTabOrigin - passwordRoom;
    return std::max(fgWidth / 2, std::min(FirstTabStop(widestLocation, fgWidth), fitting));
}

/// The widest a Location may be drawn so that it ends a gap before the tab stop.
inline int LocationRoom(int tabStop, int fgWidth) { return tabStop - fgWidth / 2; }

/// Where the Password column starts: the same x on every line and page.
inline int PasswordColumnX(int tabStop) { return kPrintTabOrigin + tabStop; }
