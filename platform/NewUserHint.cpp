#include "platform/NewUserHint.h"

#include "settings/Preferences.h"

std::optional<int> ShowNewUserHint(CRegistryStore& store, IPrompter& prompter, const char* key,
                                   const QString& text, PromptButtons buttons) {
    if (!IsNewUserHintDue(store, key)) return std::nullopt;
    const int answer = prompter.Show(
        text, buttons, buttons == PromptButtons::Ok ? PromptIcon::Information : PromptIcon::Question);
    MarkNewUserHintShown(store, key);
    return answer;
}
