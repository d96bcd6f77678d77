#include "ui/health/HealthReportDlg.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "health/HealthReport.h"
#include "platform/HelpViewer.h"
#include "platform/StrengthLine.h"
#include "platform/TextBytes.h"

namespace {

enum HealthColumn { kLocation, kUserId, kFindings, kStrength, kHealthColumnCount };

// Where a line keeps the list row of its Item.
constexpr int kRowRole = Qt::UserRole;

QTableWidgetItem* Cell(const QString& text) {
    auto* cell = new QTableWidgetItem(text);
    cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return cell;
}

QString FindingsText(const HealthEntry& entry) {
    QStringList findings;
    for (const std::string& finding : entry.Findings())
        findings.append(QString::fromStdString(finding));
    return findings.join(QStringLiteral("; "));
}

}  // namespace

CHealthReportDlg::CHealthReportDlg(QWidget* parent)
    : QDialog(parent),
      m_summary(new QLabel(this)),
      m_table(new QTableWidget(0, kHealthColumnCount, this)) {
    setObjectName(QStringLiteral("healthReportDialog"));
    setWindowTitle(QStringLiteral("Keynest Password Health"));
    setProperty(kHelpContextProperty, kHelpPasswordHealth);

    m_summary->setObjectName(QStringLiteral("healthSummary"));
    m_summary->setWordWrap(true);
    m_table->setObjectName(QStringLiteral("healthTable"));
    m_table->setAccessibleName(QStringLiteral("Password health findings"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("Location"), QStringLiteral("User ID"),
                                        QStringLiteral("Findings"), QStringLiteral("Strength")});
    m_table->verticalHeader()->hide();
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setWordWrap(false);
    m_table->horizontalHeader()->setSectionResizeMode(kFindings, QHeaderView::Stretch);
    m_table->installEventFilter(this);
    connect(m_table, &QTableWidget::cellDoubleClicked, this,
            [this](int line, int) { RequestEditOfLine(line); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* close = buttons->button(QDialogButtonBox::Close);
    close->setObjectName(QStringLiteral("closeButton"));
    // Enter belongs to the table, where it edits the current Item.
    close->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_table, 1);
    layout->addWidget(buttons);
    resize(760, 420);
}

void CHealthReportDlg::Show(const std::vector<HealthEntry>& report) {
    const int current = std::max(m_table->currentRow(), 0);
    Clear();
    m_table->setRowCount(static_cast<int>(report.size()));
    for (int line = 0; line < static_cast<int>(report.size()); ++line) {
        const HealthEntry& entry = report[static_cast<std::size_t>(line)];
        QTableWidgetItem* location = Cell(FromBytes(entry.location));
        location->setData(kRowRole, entry.row);
        m_table->setItem(line, kLocation, location);
        m_table->setItem(line, kUserId, Cell(FromBytes(entry.userId)));
        m_table->setItem(line, kFindings, Cell(FindingsText(entry)));
        m_table->setItem(line, kStrength, Cell(StrengthSummary(entry.strength)));
    }
    m_table->setVisible(!report.empty());
    if (report.empty()) {
        m_summary->setText(QStringLiteral(
            "Nothing to report: no Password is weak, used by more than one Item, like the UnLock "
            "password or holding its Item's User ID or Location."));
        return;
    }
    const QString count = report.size() == 1 ? QStringLiteral("1 Item needs")
                                             : QStringLiteral("%1 Items need").arg(report.size());
    m_summary->setText(count + QStringLiteral(" a look, the worst first; the Items that share a "
                                              "Password are listed together. Double-click an Item "
                                              "or press Enter to edit it."));
    m_table->resizeColumnToContents(kLocation);
    m_table->resizeColumnToContents(kUserId);
    m_table->resizeColumnToContents(kStrength);
    m_table->setCurrentCell(std::min(current, m_table->rowCount() - 1), kLocation);
}

void CHealthReportDlg::Clear() {
    m_table->clearContents();
    m_table->setRowCount(0);
}

bool CHealthReportDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_table && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_table->currentRow() >= 0) {
            RequestEditOfLine(m_table->currentRow());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CHealthReportDlg::RequestEditOfLine(int line) {
    const QTableWidgetItem* location = m_table->item(line, kLocation);
    if (location != nullptr) Q_EMIT EditRequested(location->data(kRowRole).toInt());
}
