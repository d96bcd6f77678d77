#include "ui/items/SaveFailure.h"

#include "contract/KeynestContext.h"
#include "platform/Prompter.h"
#include "platform/WaitCursor.h"
#include "vault/Vault.h"

void ReportSaveFailure(IPrompter& prompter) {
    prompter.Show(SaveFailureText(), PromptButtons::Ok, PromptIcon::Warning);
}

void ReportSelfLocked(IPrompter& prompter) {
    prompter.Show(QStringLiteral("Keynest has already self-locked\n due to inactivity.\n\nPlease "
                                 "unlock and try again."),
                  PromptButtons::Ok, PromptIcon::Warning);
}

bool SaveAllItems(KeynestContext& context) {
    CWaitCursor wait;
    std::lock_guard lock(context.listLock);
    return context.vault.SaveAllItems(context.rows);
}

void SaveOrReport(KeynestContext& context) {
    if (!SaveAllItems(context)) ReportSaveFailure(context.services.prompter);
}
