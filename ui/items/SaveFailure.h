#pragma once

#include <QString>

class IPrompter;
struct KeynestContext;

/// What the user is told when the Items could not be written: the list in
/// memory stays as it is, so nothing the user sees is lost yet.
inline QString SaveFailureText() {
    return QStringLiteral(
        "The Items could not be saved.\n\nYour changes are still shown in the list, but they "
        "are not stored.");
}

/// Shows SaveFailureText() as a warning.
void ReportSaveFailure(IPrompter& prompter);

/// Tells the user that a command confirmed after the inactivity lock did
/// nothing: the lock came first.
void ReportSelfLocked(IPrompter& prompter);

/// Stores the list under the list lock; false when the save failed.
[[nodiscard]] bool SaveAllItems(KeynestContext& context);
/// Stores the list and tells the user when that failed.
void SaveOrReport(KeynestContext& context);
