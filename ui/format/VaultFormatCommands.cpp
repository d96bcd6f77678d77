#include "ui/format/VaultFormatCommands.h"

#include <mutex>

#include "contract/Activity.h"
#include "contract/KeynestEvents.h"
#include "platform/HelpContextScope.h"
#include "platform/Prompter.h"
#include "platform/TextBytes.h"
#include "platform/WaitCursor.h"
#include "ui/items/SaveFailure.h"
#include "vault/ItemList.h"
#include "vault/Vault.h"

namespace {

const QString kHardenQuestion = QStringLiteral(
    "Convert the vault to the hardened format?\n\n"
    "Your UnLock password stays the same. The key will come from it through Argon2id, so that "
    "every guess at a stolen store file costs about half a second, and every value will be "
    "sealed with Twofish-256 and checked for changes. The UnLock password and Item Passwords may "
    "then be up to 300 characters long, generated passwords up to 64, and export files are "
    "hardened too.\n\n"
    "The conversion is one transaction: it is done completely or not at all. File > Convert to "
    "Classic Vault goes back.\n\nPress F1 for more.");
const QString kHardened = QStringLiteral(
    "The vault is hardened: its key now comes from the UnLock password through Argon2id, and "
    "every value is sealed with Twofish-256 and checked for changes. UnLock passwords and "
    "Passwords may now be up to 300 characters long.");
const QString kUnhardenQuestion = QStringLiteral(
    "Convert the vault back to the classic format?\n\n"
    "Your UnLock password stays the same, but its own bytes become the key again: a stolen store "
    "file can be tried against about a million guesses a second, and a changed value is no "
    "longer noticed. The UnLock password and Item Passwords are again limited to 16 bytes, "
    "generated passwords to 16 characters, and export files are classic.\n\n"
    "The conversion is one transaction: it is done completely or not at all.\n\nPress F1 for "
    "more.");
const QString kUnhardened = QStringLiteral(
    "The vault is back in the classic format, with its 16-byte limits and without the hardened "
    "key; File > Harden Vault converts it again.");
const QString kLongUnlockPassword = QStringLiteral(
    "The classic format cannot keep your UnLock password: it is longer than 16 bytes.\n\n"
    "Choose a shorter one with Edit > Change Password first. Nothing was changed.");
const QString kLongItemPassword = QStringLiteral(
    "The classic format cannot keep the Password of the Item \"%1\": it is longer than 16 "
    "bytes.\n\nShorten it with Edit > Edit Item first. Nothing was changed.");
const QString kNotStored =
    QStringLiteral("The converted vault could not be stored.\n\nThe vault stays as it was.");

}  // namespace

bool CVaultFormatCommands::CanHarden() const {
    return m_context.vault.IsUnlocked() && m_context.vault.Format() == VaultFormat::kKeyText;
}

bool CVaultFormatCommands::CanUnharden() const {
    return m_context.vault.IsUnlocked() && m_context.vault.Format() == VaultFormat::kHardened;
}

bool CVaultFormatCommands::Confirm(const QString& question) {
    const int answer = [&] {
        CHelpContextScope help(*m_context.dialogParent.window(), kHelpVaultFormat);
        return m_context.services.prompter.Show(question, PromptButtons::YesNo,
                                                PromptIcon::Question);
    }();
    if (answer != kPromptYes) return false;
    if (m_context.vault.IsUnlocked()) return true;
    ReportSelfLocked(m_context.services.prompter);
    return false;
}

void CVaultFormatCommands::Tell(const QString& text, bool success) {
    Q_EMIT m_context.events.CommandStatesChanged();
    m_context.services.prompter.Show(text, PromptButtons::Ok,
                                     success ? PromptIcon::Information : PromptIcon::Warning);
}

void CVaultFormatCommands::OnHarden() {
    m_context.activity.SignalActivity();
    if (!CanHarden() || !Confirm(kHardenQuestion)) return;
    bool converted = false;
    {
        // The derivation takes about half a second.
        CWaitCursor wait;
        std::lock_guard guard(m_context.listLock);
        converted = m_context.vault.ConvertToHardened(m_context.rows, m_kdf);
    }
    Tell(converted ? kHardened : kNotStored, converted);
}

void CVaultFormatCommands::OnUnharden() {
    m_context.activity.SignalActivity();
    if (!CanUnharden()) return;
    // Refused before the question: no answer could make it fit.
    int longRow = -1;
    ConvertRefusal refusal = m_context.vault.KeyTextRefusal(m_context.rows, &longRow);
    if (refusal == ConvertRefusal::kNone) {
        if (!Confirm(kUnhardenQuestion)) return;
        CWaitCursor wait;
        std::lock_guard guard(m_context.listLock);
        refusal = m_context.vault.ConvertToKeyText(m_context.rows);
    }
    switch (refusal) {
        case ConvertRefusal::kNone:
            Tell(kUnhardened, true);
            return;
        case ConvertRefusal::kLongUnlockPassword:
            Tell(kLongUnlockPassword, false);
            return;
        case ConvertRefusal::kLongItemPassword:
            Tell(kLongItemPassword.arg(FromBytes(m_context.rows.GetText(longRow, kColLocation))), false);
            return;
        case ConvertRefusal::kNotUnlocked:
        case ConvertRefusal::kStoreFailed:
            break;
    }
    Tell(kNotStored, false);
}
