#pragma once

#include <QString>
#include <optional>

#include "platform/Prompter.h"

class CRegistryStore;

/// Shows the New User Hint `key` once: when it is still due, shows `text`
/// (with OK, or Yes and No) and marks the hint shown. Returns the answer,
/// or nothing when the hint was not due.
std::optional<int> ShowNewUserHint(CRegistryStore& store, IPrompter& prompter, const char* key,
                                   const QString& text, PromptButtons buttons = PromptButtons::Ok);
