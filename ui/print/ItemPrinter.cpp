#include "ui/print/ItemPrinter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <cmath>
#include <string>

#include "contract/Activity.h"
#include "platform/TextBytes.h"
#include "vault/ItemList.h"
#include "vault/ItemRules.h"

namespace {

/// Hundredths of an inch per inch.
constexpr int kUnitsPerInch = 100;

/// The bold sans-serif font of the printout, `height` units from the top
/// of its tallest letter to the bottom of its deepest.
QFont MakePrintFont(int height) {
    QFont font;
    font.setFamilies({QStringLiteral("sans-serif")});
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    font.setPixelSize(height);
    // Measured as the page draws it: a PDF or printer places the letters
    // unhinted, so hinted widths would put the Password column off.
    font.setHintingPreference(QFont::PreferNoHinting);
    // A pixel size sets the em; the line the font needs is taller. Shrink
    // the em so that the whole line is `height`.
    const int cell = QFontMetrics(font).height();
    if (cell > height) font.setPixelSize(std::max(1, height * height / cell));
    return font;
}

}  // namespace

CItemPrinter::CItemPrinter(const IItemList& rows, std::recursive_mutex& listLock,
                           IActivity& activity)
    : m_rows(rows), m_listLock(listLock, std::defer_lock), m_activity(activity) {}

CItemPrinter::~CItemPrinter() {
    if (m_listLock.owns_lock()) EndPrinting();
}

bool CItemPrinter::Print(QPrinter& printer) {
    BeginPrinting();
    QPainter painter;
    const bool started = painter.begin(&printer);
    for (int page = 1; started && m_bMoreToPrint; ++page) {
        if (page > 1 && !printer.newPage()) break;
        PrepareDC(painter, printer);
        PrintPage(painter, page);
    }
    if (started) painter.end();
    EndPrinting();
    return started;
}

void CItemPrinter::BeginPrinting() {
    m_activity.SignalActivity();
    m_listLock.lock();
    m_font = MakePrintFont(kFontHeight);
    m_tabStop = -1;
    m_bMoreToPrint = true;
}

void CItemPrinter::PrepareDC(QPainter& painter, const QPrinter& printer) {
    // One logical unit is a hundredth of an inch, whatever the printer's
    // resolution; the origin is the top left of the printable area.
    const int width = printer.width() * kUnitsPerInch / std::max(1, printer.logicalDpiX());
    m_printableHeight = printer.height() * kUnitsPerInch / std::max(1, printer.logicalDpiY());
    painter.setViewport(0, 0, width * printer.logicalDpiX() / kUnitsPerInch,
                        m_printableHeight * printer.logicalDpiY() / kUnitsPerInch);
    painter.setWindow(0, 0, width, m_printableHeight);
    painter.setFont(*m_font);

    // The tab stop comes from every row, not just this page's, so the
    // Password column lines up across the whole job. The rows cannot change
    // during the job, so it is measured once.
    if (m_tabStop >= 0) return;
    const QFontMetrics metrics = painter.fontMetrics();
    int widest = 0;
    for (int row = 0; row < m_rows.RowCount(); ++row) {
        widest = std::max(widest,
                          metrics.horizontalAdvance(FromBytes(m_rows.GetText(row, kColLocation))));
    }
    const int fgWidth = metrics.horizontalAdvance(QStringLiteral("Fg"));
    m_tabStop = FittedTabStop(widest, fgWidth, width, PasswordRoom(painter));
    m_locationRoom = LocationRoom(m_tabStop, fgWidth);
}

int CItemPrinter::PasswordRoom(const QPainter& painter) const {
    // Room for kMaxPasswordBytes of the widest printable ASCII letter, the
    // most a classic vault's Password holds, or for the longest Password
    // present (a hardened vault's may be longer).
    std::size_t longest = kMaxPasswordBytes;
    for (int row = 0; row < m_rows.RowCount(); ++row) {
        std::string password = m_rows.GetText(row, kColPassword);
        longest = std::max(longest, FormLength(password));
        WipeString(password);
    }
    const QFontMetricsF exact(painter.font(), painter.device());
    qreal widestLetter = 0;
    for (char letter = ' '; letter <= '~'; ++letter) {
        widestLetter = std::max(widestLetter, exact.horizontalAdvance(QLatin1Char(letter)));
    }
    return static_cast<int>(std::ceil(widestLetter * static_cast<qreal>(longest)));
}

void CItemPrinter::PrintPage(QPainter& painter, int page) {
    m_activity.SignalActivity();
    const int rowCount = m_rows.RowCount();
    const QFontMetrics metrics = painter.fontMetrics();
    m_layout = ComputePrintLayout(rowCount, m_printableHeight, metrics.height());
    const PageRows rows = RowsOnPage(m_layout, rowCount, page);
    for (int line = 0; line < rows.count; ++line) {
        const int row = rows.first + line;
        const int baseline = LineTop(m_layout, line) + metrics.ascent();
        // A Location too long to leave the password room on the page is cut.
        QString location = FromBytes(m_rows.GetText(row, kColLocation));
        if (metrics.horizontalAdvance(location) > m_locationRoom) {
            location = metrics.elidedText(location, Qt::ElideRight, m_locationRoom);
        }
        painter.drawText(kPrintLeftIndent, baseline, location);
        std::string password = m_rows.GetText(row, kColPassword);
        QString shown = FromBytes(password);
        painter.drawText(PasswordX(), baseline, shown);
        WipeQString(shown);
        WipeString(password);
    }
    // No page follows the one holding the last row.
    if (rows.first + rows.count >= rowCount) m_bMoreToPrint = false;
}

void CItemPrinter::EndPrinting() {
    m_activity.SignalActivity();
    m_font.reset();
    m_listLock.unlock();
}
