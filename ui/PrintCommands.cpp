#include "ui/PrintCommands.h"

#include <QPrinter>

#include "platform/Activity.h"
#include "platform/KeynestEvents.h"
#include "platform/Prompter.h"
#include "ui/ItemPrinter.h"
#include "vault/ItemList.h"
#include "vault/Vault.h"

CPrintCommands::CPrintCommands(KeynestContext& context)
    : CPrintCommands(context, QtPrintDialogs(context.dialogParent)) {}

CPrintCommands::CPrintCommands(KeynestContext& context, PrintDialogs dialogs)
    : m_context(context), m_dialogs(std::move(dialogs)) {}

CPrintCommands::~CPrintCommands() = default;

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

void CPrintCommands::PrintList(QPrinter& printer) {
    // A lock while a printer dialog was open has emptied the list: there is
    // nothing of the user's left to print.
    if (!m_context.vault.IsUnlocked()) return;
    CItemPrinter(m_context.rows, m_context.listLock, m_context.activity).Print(printer);
}

void CPrintCommands::OnFilePrint() {
    if (!PreparePrinting()) return;
    QPrinter& printer = Printer();
    if (!m_dialogs.choosePrinter(printer)) return;
    PrintList(printer);
}

void CPrintCommands::OnFilePrintPreview() {
    if (!PreparePrinting()) return;
    m_dialogs.preview(Printer(), [this](QPrinter& target) { PrintList(target); });
}

void CPrintCommands::OnFilePrintSetup() { m_dialogs.setup(Printer()); }
