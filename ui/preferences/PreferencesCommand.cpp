#include "ui/preferences/PreferencesCommand.h"

#include <utility>

#include "contract/Activity.h"
#include "contract/KeynestEvents.h"
#include "platform/Prompter.h"
#include "settings/Preferences.h"
#include "ui/password/MakePassword.h"
#include "ui/preferences/PreferencesDlg.h"
#include "vault/Vault.h"

CPreferencesCommand::CPreferencesCommand(KeynestContext& context,
                                         std::function<void()> changePassword)
    : m_context(context), m_changePassword(std::move(changePassword)) {}

void CPreferencesCommand::OnPreferences() {
    m_context.activity.SignalActivity();

    Preferences shown = m_context.prefs;
    // With auto-lock off the dialog offers the usual time, not what was stored.
    if (shown.dog == 0) shown.dogTimeMinutes = Preferences{}.dogTimeMinutes;
    CPreferencesDlg dialog(m_context.services, m_context.store, m_context.vault.IsUnlocked(),
                           m_changePassword, &m_context.dialogParent);
    dialog.SetValues(shown);
    dialog.SetMaxLength(m_context.vault.MaxGeneratedLength());
    if (dialog.exec() != QDialog::Accepted) return;

    // In force at once: every reader takes its value from here at each use,
    // and what holds one of its own hears of the change.
    m_context.prefs = dialog.Values();
    Q_EMIT m_context.events.PreferencesChanged();
    bool stored = SavePreferences(m_context.store, m_context.prefs);
    if (dialog.RestoreHints()) stored = RestoreNewUserHints(m_context.store) && stored;
    if (!stored) {
        m_context.services.prompter.Show(
            QStringLiteral("The preferences could not be stored.\n\nThey are in force until "
                           "Keynest ends."),
            PromptButtons::Ok, PromptIcon::Warning);
    }
}
