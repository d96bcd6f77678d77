#pragma once

#include <memory>

#include "contract/KeynestContext.h"
#include "ui/print/PrintDialogs.h"

class QPrinter;

/// Print, Print Preview and Print Setup of the Item list. Printing and its
/// preview start with the plain-text warning (and, for an empty list, a
/// question) before any printer dialog opens.
class CPrintCommands final {
  public:
    /// Uses Qt's printer dialogs, parented to the context's dialog parent.
    explicit CPrintCommands(KeynestContext& context);
    CPrintCommands(KeynestContext& context, PrintDialogs dialogs);
    ~CPrintCommands();
    CPrintCommands(const CPrintCommands&) = delete;
    CPrintCommands& operator=(const CPrintCommands&) = delete;

    void OnFilePrint();
    void OnFilePrintPreview();
    void OnFilePrintSetup();

    /// The printer every job uses; it keeps the user's choices for the run.
    QPrinter& Printer();

  private:
    /// The warning and the empty-list question; true when both allow printing.
    bool PreparePrinting();
    /// One job on `printer`, unless the program has locked since the
    /// vault's lock count was `locksBefore`.
    void PrintList(QPrinter& printer, unsigned locksBefore);

    KeynestContext& m_context;
    PrintDialogs m_dialogs;
    std::unique_ptr<QPrinter> m_printer;  // made at first use: it may ask the print system
};
