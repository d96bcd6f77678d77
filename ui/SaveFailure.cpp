#include "SaveFailure.h"

#include "Prompter.h"

void ReportSaveFailure(IPrompter& prompter) {
    prompter.Show(SaveFailureText(), PromptButtons::Ok, PromptIcon::Warning);
}
