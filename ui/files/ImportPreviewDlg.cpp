#include "ui/files/ImportPreviewDlg.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "importers/ImportPlan.h"
#include "platform/HelpViewer.h"
#include "platform/TextBytes.h"

namespace {

QString Records(int count) {
    return QStringLiteral("%1 %2").arg(count).arg(count == 1 ? QStringLiteral("record")
                                                             : QStringLiteral("records"));
}

// "path, read as KeePassXC CSV: 12 records found, 9 to add, 3 left out."
// and a line per reason.
QString SummaryText(const QString& fileName, ForeignFormat format, const ImportPlan& plan) {
    QString text = QStringLiteral("%1\nread as %2.\n\n%3 found: %4 to add, %5 left out.")
                       .arg(fileName, ForeignFormatTitle(format), Records(plan.found))
                       .arg(plan.toAdd.RowCount())
                       .arg(plan.skipped.size());
    for (const auto& [reason, count] : plan.ReasonCounts()) {
        text += QStringLiteral("\n    %1: %2").arg(Records(count), FromBytes(reason));
    }
    return text;
}

QTreeWidget* SkippedList(const ImportPlan& plan, QWidget* parent) {
    auto* list = new QTreeWidget(parent);
    list->setObjectName(QStringLiteral("skippedList"));
    list->setAccessibleName(QStringLiteral("Records left out"));
    list->setRootIsDecorated(false);
    list->setHeaderLabels({QStringLiteral("Location"), QStringLiteral("Why it is left out")});
    list->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(plan.skipped.size()));
    for (const ImportPlan::Skipped& skipped : plan.skipped) {
        const QString location = skipped.location.empty() ? QStringLiteral("(no Location)")
                                                           : FromBytes(skipped.location);
        items.append(new QTreeWidgetItem({location, FromBytes(skipped.reason)}));
    }
    list->addTopLevelItems(items);
    return list;
}

}  // namespace

QString ForeignFormatTitle(ForeignFormat format) {
    switch (format) {
        case ForeignFormat::kKeePassXcCsv: return QStringLiteral("KeePassXC CSV");
        case ForeignFormat::kBitwardenCsv: return QStringLiteral("Bitwarden CSV");
        case ForeignFormat::kBitwardenJson: return QStringLiteral("Bitwarden JSON");
        case ForeignFormat::kFirefoxCsv: return QStringLiteral("Firefox CSV");
        case ForeignFormat::kChromeCsv: return QStringLiteral("Chrome CSV");
        case ForeignFormat::kGenericCsv: return QStringLiteral("CSV with named columns");
        case ForeignFormat::kAuto: break;
    }
    return QString::fromLatin1(ForeignFormatName(format));
}

CImportPreviewDlg::CImportPreviewDlg(const QString& fileName, ForeignFormat format,
                                     const ImportPlan& plan, bool hardenHint, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("importPreviewDialog"));
    setWindowTitle(QStringLiteral("Import From Another Program"));
    setProperty(kHelpContextProperty, kHelpExportImport);

    auto* layout = new QVBoxLayout(this);
    auto* summary = new QLabel(SummaryText(fileName, format, plan), this);
    summary->setObjectName(QStringLiteral("summaryLabel"));
    summary->setTextFormat(Qt::PlainText);
    summary->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    layout->addWidget(summary);
    if (!plan.skipped.empty()) layout->addWidget(SkippedList(plan, this), 1);
    if (hardenHint) {
        auto* hint = new QLabel(
            QStringLiteral("This vault keeps Passwords of at most 16 bytes. Convert it to the "
                           "hardened format (File > Harden Vault), which keeps Passwords of up to "
                           "300 characters, then import the file again to add the longer ones."),
            this);
        hint->setObjectName(QStringLiteral("hardenHint"));
        hint->setWordWrap(true);
        layout->addWidget(hint);
    }

    auto* buttons = new QDialogButtonBox(this);
    if (plan.toAdd.RowCount() > 0) {
        QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
        ok->setObjectName(QStringLiteral("okButton"));
        ok->setDefault(true);
        buttons->addButton(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));
    } else {
        buttons->addButton(QDialogButtonBox::Close)->setObjectName(QStringLiteral("cancelButton"));
    }
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(560, plan.skipped.empty() ? 0 : 360);
}

CImportPreviewDlg::~CImportPreviewDlg() = default;
