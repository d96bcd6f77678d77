#pragma once

#include <QDialog>
#include <vector>

struct HealthEntry;
class QLabel;
class QTableWidget;

/// The Password Health window: one line per Item the health report lists,
/// with its Location, User ID, findings and strength, in the report's
/// order. It never holds a Password. A double click or Enter on a line asks
/// to edit that Item.
class CHealthReportDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CHealthReportDlg)

  public:
    explicit CHealthReportDlg(QWidget* parent = nullptr);

    /// Shows `report`, keeping the current line where it was when there is one.
    void Show(const std::vector<HealthEntry>& report);
    /// Empties the window: its texts go with the lines.
    void Clear();

  Q_SIGNALS:
    /// The user asked to edit the Item in `row` of the list.
    void EditRequested(int row);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void RequestEditOfLine(int line);

    QLabel* m_summary;
    QTableWidget* m_table;
};
