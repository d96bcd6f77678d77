#pragma once

#include <QFont>
#include <mutex>
#include <optional>

#include "ui/print/PrintLayout.h"

class IActivity;
class IItemList;
class QPainter;
class QPrinter;

/// Prints the Item list as two columns, Location and Password, one row per
/// line in list order, page after page. The list lock is held for the whole
/// job, so the rows cannot change between pages.
class CItemPrinter final {
  public:
    /// Text height of the print font, in hundredths of an inch.
    static constexpr int kFontHeight = 16;

    CItemPrinter(const IItemList& rows, std::recursive_mutex& listLock, IActivity& activity);
    ~CItemPrinter();
    CItemPrinter(const CItemPrinter&) = delete;
    CItemPrinter& operator=(const CItemPrinter&) = delete;

    /// Prints every row on `printer` as one job. False when the printer
    /// could not be started.
    bool Print(QPrinter& printer);

    /// The layout of the last job.
    const PrintLayout& Layout() const { return m_layout; }
    /// The x of the Password column in the last job.
    int PasswordX() const { return PasswordColumnX(m_tabStop); }

  private:
    void BeginPrinting();
    /// Before each page: units, font, gap and tab stop.
    void PrepareDC(QPainter& painter, const QPrinter& printer);
    void PrintPage(QPainter& painter, int page);
    /// The width the Password column keeps for the longest password.
    int PasswordRoom(const QPainter& painter) const;
    void EndPrinting();

    const IItemList& m_rows;
    std::unique_lock<std::recursive_mutex> m_listLock;
    IActivity& m_activity;
    std::optional<QFont> m_font;
    bool m_bMoreToPrint = false;
    int m_tabStop = 0;
    int m_locationRoom = 0;  // Locations wider than this are cut
    int m_printableHeight = 0;
    PrintLayout m_layout;
};
