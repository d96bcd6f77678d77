#include "lock/LockFlow.h"

#include <QApplication>

#include "lock/ChoosePasswordDlg.h"
#include "lock/UnlockDlg.h"
#include "contract/Activity.h"
#include "platform/HelpViewer.h"
#include "contract/KeynestEvents.h"
#include "platform/NewUserHint.h"
#include "platform/Prompter.h"
#include "platform/TextBytes.h"
#include "platform/WaitCursor.h"
#include "settings/RegistryStore.h"
#include "settings/Preferences.h"
#include "vault/ItemList.h"
#include "vault/Vault.h"

CLockFlow::CLockFlow(KeynestContext& context) : m_context(context) {
    // A new inactive duration counts at once; while locked the wait is left
    // alone and the next unlock applies it.
    m_preferencesChanged = QObject::connect(
        &context.events, &CKeynestEvents::PreferencesChanged, &context.events, [this] {
            if (m_context.vault.IsUnlocked()) {
                m_context.activity.SetDogTimeout(m_context.prefs.DogTimeMs());
            }
        });
}

CLockFlow::~CLockFlow() { QObject::disconnect(m_preferencesChanged); }

void CLockFlow::StartLockFlow() {
    if (!m_context.vault.HasCheckValue()) {
        ChoosePassword(1);
    } else {
        PromptUnlock();
    }
}

void CLockFlow::PromptUnlock() {
    m_context.activity.SignalActivity();

    CUnlockDlg dialog(m_context.services.prompter, &m_context.dialogParent);
    dialog.SetPasswordLimit(m_context.vault.PasswordRule());
    QObject::connect(&dialog, &CUnlockDlg::shutdownRequested, &dialog, [this, &dialog] {
        m_bShutdownRequested = true;
        dialog.reject();
        Q_EMIT m_context.events.CloseRequested();
    });
    const int result = dialog.exec();
    if (m_bShutdownRequested) return;
    if (result != QDialog::Accepted) {
        if (m_bLaterShown == 0) {
            m_context.services.prompter.Show(
                QStringLiteral("You can unlock Keynest later. \n\nUse menu pick File > UnLock. "),
                PromptButtons::Ok, PromptIcon::Information);
            m_bLaterShown = 1;
        }
        return;
    }

    std::string typed = dialog.Password();
    const bool matches = m_context.vault.Unlock(typed);
    WipeString(typed);
    if (matches) {
        SetUnlocked(true);
        if (m_context.vault.IsUnlocked()) TellUnsavedChanges();
        TrySetAsideItems(nullptr, false);
        return;
    }
    m_context.services.prompter.Show(
        QStringLiteral("The Password you entered is not correct. \n\nUse menu pick File > UnLock "
                       "to try again. "),
        PromptButtons::Ok, PromptIcon::None);
}

void CLockFlow::SetUnlocked(bool loadItems) {
    ItemLoadResult loaded{true, 0};
    if (loadItems) {
        CWaitCursor wait;
        std::lock_guard lock(m_context.listLock);
        loaded = m_context.vault.LoadAllItems(m_context.rows);
    }
    if (!loaded.ok) {
        // Without the Items read, any save would overwrite them: stay locked.
        m_context.vault.Lock();
        m_context.services.prompter.Show(
            QStringLiteral("Keynest could not read your Items:\n%1\n\nNothing has been "
                           "changed. Keynest stays locked; please try again with File > UnLock.")
                .arg(QString::fromStdString(m_context.store.LastError())),
            PromptButtons::Ok, PromptIcon::Warning);
        return;
    }
    Q_EMIT m_context.events.LockStateChanged(true);
    // Setting the wait time also signals activity, so the wait starts afresh.
    m_context.activity.SetDogTimeout(m_context.prefs.DogTimeMs());
    if (loaded.unread > 0) {
        m_context.services.prompter.Show(
            QStringLiteral("%1 stored Items could not be read.\n\nThey are kept as they were "
                           "found: the next save sets them aside instead of overwriting them, "
                           "and File > Open Set-Aside Items can try a password on them.")
                .arg(loaded.unread),
            PromptButtons::Ok, PromptIcon::Warning);
    }
}

void CLockFlow::ChoosePassword(int firstUse) {
    if (firstUse == 0) {
        m_context.activity.SignalActivity();
        m_context.services.prompter.Show(
            QStringLiteral("You are about to create a different password.\n\nYou MUST remember "
                           "this password to use the program again. \n\nYou will NOT lose any "
                           "existing Location/Password entries."),
            PromptButtons::Ok, PromptIcon::Information);
    } else {
        m_context.services.prompter.Show(
            QStringLiteral("     Welcome to Keynest!\n\nPlease create an 'UnLock' password to "
                           "begin using Keynest.\n(You can always change it later.)\n\nYou MUST "
                           "remember this password to use the program again. \n(Your password is "
                           "case sensitive and stored encypted.) \n\nWhen Keynest is inactive for "
                           "a while, it re-locks itself.\n(You can always change this behavior "
                           "later.)\n\nHit F1 at any time for Help."),
            PromptButtons::Ok, PromptIcon::Information);
    }

    if (m_context.vault.HasItemsWithoutCheckValue()) {
        m_context.services.prompter.Show(
            QStringLiteral("Your Registry has no UnLock password but \ndoes have Location/Password "
                           "entries.\n\nThis is very unusual and suggests tampering. \n\nYou will "
                           "NOT lose any existing Location/Password entries. \n\nHowever, the "
                           "decryption of the passwords will fail unless \nyou enter the UnLock "
                           "password that was in place when \nthey were created."),
            PromptButtons::Ok, PromptIcon::None);
    }

    if (firstUse == 0) {
        ShowNewUserHint(
            m_context.store, m_context.services.prompter, NewUserHints::kChangePwd,
            QStringLiteral("New User Hint...\n\nIf you like to keep an encrypted Export file, "
                           "you\nshould create a new one after you change your password. \n\nHit "
                           "F1 for Help at anytime."));
    }

    CChoosePasswordDlg dialog(m_context.services, m_context.prefs.pwdChars, &m_context.dialogParent);
    dialog.SetFirstUse(firstUse == 1);
    dialog.SetPasswordLimit(m_context.vault.PasswordRule());
    if (dialog.exec() != QDialog::Accepted) {
        OfferHelpOnce();
        return;
    }
    std::string chosen = dialog.FirstEntry();
    bool stored = false;
    if (firstUse == 1) {
        stored = m_context.vault.ChooseFirstPassword(chosen);
    } else {
        std::lock_guard lock(m_context.listLock);
        stored = m_context.vault.ChangePassword(chosen, m_context.rows);
    }
    if (stored) {
        SetUnlocked(false);
        TrySetAsideItems(nullptr, false);
    } else {
        m_context.services.prompter.Show(
            firstUse == 1
                ? QStringLiteral("Your chosen password could not be stored.\n\nKeynest stays "
                                 "locked; please try again with File > UnLock.")
                : QStringLiteral("Your new password could not be stored.\n\nThe old password "
                                 "and your Items are kept as they were."),
            PromptButtons::Ok, PromptIcon::Warning);
        OfferHelpOnce();
    }
    WipeString(chosen);
}

void CLockFlow::TrySetAsideItems(const std::string* typed, bool alwaysTell) {
    if (!m_context.vault.IsUnlocked() || !m_context.vault.HasSetAsideItems()) return;
    SetAsideResult result;
    {
        CWaitCursor wait;
        std::lock_guard lock(m_context.listLock);
        result = typed ? m_context.vault.RestoreSetAsideItems(*typed, m_context.rows)
                       : m_context.vault.RestoreSetAsideItems(m_context.rows);
    }
    Q_EMIT m_context.events.CommandStatesChanged();
    if (!result.stored) {
        m_context.services.prompter.Show(
            QStringLiteral("The set-aside Items that open with this password could not be "
                           "stored.\n\nThey stay set aside, as they were."),
            PromptButtons::Ok, PromptIcon::Warning);
        return;
    }
    if (result.restored == 0 && !alwaysTell) return;
    m_context.services.prompter.Show(
        QStringLiteral("Set-aside Items opened with this password: %1.\nSet-aside Items that "
                       "stay set aside: %2.\n\nItems that stay set aside are kept as they "
                       "were; File > Open Set-Aside Items tries another password on them.")
            .arg(result.restored)
            .arg(result.remaining),
        PromptButtons::Ok, PromptIcon::Information);
}

void CLockFlow::OnOpenSetAsideItems() {
    m_context.activity.SignalActivity();
    if (!m_context.vault.IsUnlocked() || !m_context.vault.HasSetAsideItems()) return;
    CUnlockDlg dialog(m_context.services.prompter, &m_context.dialogParent);
    dialog.AskForSetAsideItems();
    if (dialog.exec() != QDialog::Accepted) return;
    std::string typed = dialog.Password();
    TrySetAsideItems(&typed, true);
    WipeString(typed);
}

void CLockFlow::OfferHelpOnce() {
    if (m_bFrustratedShown != 0) return;
    m_bFrustratedShown = 1;
    if (m_context.services.prompter.Show(
            QStringLiteral("You seem frustrated.\n\nWould you like to read the Help File?"),
            PromptButtons::YesNo, PromptIcon::Question) == kPromptYes) {
        m_context.services.help.ShowHelp(kHelpChoosePassword);
    }
}

void CLockFlow::LockStep() {
    {
        CWaitCursor wait;
        std::lock_guard lock(m_context.listLock);
        m_context.activity.SetDogTimeout(kInfinite);
        SaveOnceMoreOrKeepNotice();
        Q_EMIT m_context.events.Locking();
        m_context.rows.RemoveAllRows();
        m_context.vault.Lock();
        Q_EMIT m_context.events.LockStateChanged(false);
    }
    PromptUnlock();
}

namespace {

/// "Added: A, B" for at most kShown Locations, then how many more.
void AppendNames(std::string& text, const char* label, const std::vector<std::string>& names) {
    constexpr std::size_t kShown = 10;
    if (names.empty()) return;
    text += label;
    for (std::size_t i = 0; i < names.size() && i < kShown; ++i) {
        text += (i == 0 ? " " : ", ") + names[i];
    }
    if (names.size() > kShown) text += " and " + std::to_string(names.size() - kShown) + " more";
    text += '\n';
}

}  // namespace

void CLockFlow::SaveOnceMoreOrKeepNotice() {
    CVault& vault = m_context.vault;
    // The list is about to go: a save that failed before gets one more try.
    if (!vault.HasUnsavedChanges() || vault.SaveAllItems(m_context.rows)) return;
    ItemChanges changes;
    std::string notice;
    if (vault.ChangesAgainstStore(m_context.rows, changes)) {
        if (changes.Empty()) return;
        notice = "Keynest could not store these changes before it locked, so they are lost:\n\n";
        AppendNames(notice, "Added:", changes.added);
        AppendNames(notice, "Changed:", changes.changed);
        AppendNames(notice, "Deleted:", changes.deleted);
        notice += "\nPlease make them again.";
    } else {
        notice =
            "Keynest could not store your latest changes before it locked, so they are lost."
            "\n\nPlease check them and make them again.";
    }
    // Sealed under the UnLock password: nothing plain of it outlives the lock.
    vault.KeepNoticeForUnlock(notice);
    WipeString(notice);
    WipeChanges(changes);
}

void CLockFlow::TellUnsavedChanges() {
    std::string notice = m_context.vault.TakeUnlockNotice();
    if (notice.empty()) return;
    m_context.services.prompter.Show(FromBytes(notice), PromptButtons::Ok, PromptIcon::Warning);
    WipeString(notice);
}
