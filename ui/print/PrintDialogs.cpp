#include "ui/print/PrintDialogs.h"

#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "platform/HelpViewer.h"

PrintDialogs QtPrintDialogs(QWidget& parent) {
    PrintDialogs dialogs;
    dialogs.choosePrinter = [&parent](QPrinter& printer) {
        QPrintDialog dialog(&printer, &parent);
        dialog.setProperty(kHelpContextProperty, kHelpPrinting);
        // The whole list is one job: there is no selection or page range to choose.
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
        dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
        return dialog.exec() == QDialog::Accepted;
    };
    dialogs.preview = [&parent](QPrinter& printer, const PrintDialogs::Render& render) {
        QPrintPreviewDialog dialog(&printer, &parent);
        dialog.setProperty(kHelpContextProperty, kHelpPrinting);
        QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                         [&render](QPrinter* target) { render(*target); });
        dialog.exec();
    };
    dialogs.setup = [&parent](QPrinter& printer) {
        QPageSetupDialog dialog(&printer, &parent);
        dialog.setProperty(kHelpContextProperty, kHelpPrinting);
        dialog.exec();
    };
    return dialogs;
}
