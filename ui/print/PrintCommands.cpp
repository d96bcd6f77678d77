#include "ui/print/PrintCommands.h"

#include <QPrinter>

#include "contract/Activity.h"
#include "contract/KeynestEvents.h"
#include "platform/Prompter.h"
#include "ui/print/ItemPrinter.h"
#include "vault/ItemList.h"
#include "vault/Vault.h"

CPrintCommands::CPrintCommands(KeynestContext& context)
    : CPrintCommands(context, QtPrintDialogs(context.dialogParent)) {}

CPrintCommands::CPrintCommands(KeynestContext& context, PrintDialogs dialogs)
    : m_context(context), m_dialogs(std::move(dialogs)) {}

CPrintCommands::~CPrintCommands() = default;

namespace {

std::unique_ptr<QPrinter> CopyOfPrinter(const QPrinter& from) {
    auto copy = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (from.outputFormat() == QPrinter::NativeFormat) {
        copy->setPrinterName(from.printerName());
    } else {
        copy->setOutputFormat(from.outputFormat());
    }
    // An empty file name would switch the copy to the native printer.
    if (!from.outputFileName().isEmpty()) copy->setOutputFileName(from.outputFileName());
    copy->setPageLayout(from.pageLayout());
    copy->setFullPage(from.fullPage());
    copy->setCopyCount(from.copyCount());
    copy->setCollateCopies(from.collateCopies());
    copy->setPageOrder(from.pageOrder());
    copy->setColorMode(from.colorMode());
    copy->setDuplex(from.duplex());
    return copy;
}

}  // namespace

QPrinter& CPrintCommands::Printer() {
    if (!m_printer) m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

bool CPrintCommands::PreparePrinting() {
    m_context.activity.SignalActivity();
    Q_EMIT m_context.events.ShowEveryItem();
    IPrompter& prompter = m_context.services.prompter;
    if (prompter.Show(QStringLiteral("You are about to print your passwords in plain text. "
                                     "\n\nAre your sure you want to do this?"),
                      PromptButtons::YesNo, PromptIcon::None) != kPromptYes) {
        return false;
    }
    if (m_context.rows.RowCount() == 0 &&
        prompter.Show(QStringLiteral("List is empty. \n\nPrint anyway? "), PromptButtons::YesNo,
                      PromptIcon::Question) != kPromptYes) {
        return false;
    }
    return true;
}

void CPrintCommands::PrintList(QPrinter& printer, unsigned locksBefore) {
    // A lock while a printer dialog was open ends the job, also when the
    // user has unlocked since: nothing prints unless asked for again.
    if (!m_context.vault.IsUnlocked() || m_context.vault.LockCount() != locksBefore) return;
    CItemPrinter(m_context.rows, m_context.listLock, m_context.activity).Print(printer);
}

void CPrintCommands::OnFilePrint() {
    const unsigned locks = m_context.vault.LockCount();
    if (!PreparePrinting()) return;
    QPrinter& printer = Printer();
    if (!m_dialogs.choosePrinter(printer)) return;
    PrintList(printer, locks);
}

void CPrintCommands::OnFilePrintPreview() {
    const unsigned locks = m_context.vault.LockCount();
    if (!PreparePrinting()) return;
    m_dialogs.preview(Printer(), [this, locks](QPrinter& target) { PrintList(target, locks); });
    // Qt's preview records its pages, every Location and password drawn on
    // them, inside the printer and keeps them until the printer goes. A new
    // printer with the user's choices takes its place, and the old one frees
    // the pages.
    m_printer = CopyOfPrinter(*m_printer);
}

void CPrintCommands::OnFilePrintSetup() { m_dialogs.setup(Printer()); }
