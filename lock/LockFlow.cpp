#include "LockFlow.h"

#include <QApplication>
#include <QMetaObject>

#include "ChoosePasswordDlg.h"
#include "HelpViewer.h"
#include "ItemList.h"
#include "ItemStore.h"
#include "PasswordSealer.h"
#include "Preferences.h"
#include "Prompter.h"
#include "RegistryStore.h"
#include "TextBytes.h"
#include "UnlockDlg.h"
#include "WaitCursor.h"

namespace {

constexpr const char* kKeynestSection = "Keynest";
constexpr const char* kPasswordValue = "Password";

const QString kLockedText = QStringLiteral(" LOCKED ");
const QString kUnlockedText = QStringLiteral(" UNLOCKED ");


}  // namespace

CLockFlow::CLockFlow(ILockFlowHost& host, Services services, CRegistryStore& store,
                     CPasswordSealer& sealer, CItemStore& itemStore)
    : m_host(host), m_services(services), m_store(store), m_sealer(sealer), m_itemStore(itemStore) {}

CLockFlow::~CLockFlow() { WipeString(m_unlockPassword); }

void CLockFlow::StartLockFlow() {
    if (m_store.GetString(kKeynestSection, kPasswordValue, "").empty()) {
        ChoosePassword(1);
    } else {
        PromptUnlock();
    }
}

void CLockFlow::PromptUnlock() {
    m_host.SignalActivity();
    const std::string stored = m_store.GetString(kKeynestSection, kPasswordValue, "");

    CUnlockDlg dialog(*m_services.prompter, m_host.DialogParent());
    QObject::connect(&dialog, &CUnlockDlg::shutdownRequested, &dialog, [this, &dialog] {
        m_bShutdownRequested = true;
        dialog.reject();
        m_host.RequestClose();
    });
    const int result = dialog.exec();
    if (m_bShutdownRequested) return;
    if (result != QDialog::Accepted) {
        if (m_bLaterShown == 0) {
            m_services.prompter->Show(
                QStringLiteral("You can unlock Keynest later. \n\nUse menu pick File > UnLock. "),
                PromptButtons::Ok, PromptIcon::Information);
            m_bLaterShown = 1;
        }
        return;
    }

    WipeString(m_unlockPassword);
    m_unlockPassword = dialog.Password();
    std::string check = m_sealer.SealText(m_unlockPassword, m_unlockPassword, 0);
    const bool matches = !check.empty() && check == stored;
    WipeString(check);
    if (matches) {
        SetUnlocked();
        m_host.LoadAllItems();
        return;
    }
    // Nothing reads the password while locked, so it is not kept.
    WipeString(m_unlockPassword);
    m_services.prompter->Show(
        QStringLiteral("The Password you entered is not correct. \n\nUse menu pick File > UnLock "
                       "to try again. "),
        PromptButtons::Ok, PromptIcon::None);
}

void CLockFlow::SetUnlocked() {
    m_bUnlocked = 1;
    m_host.SetLockStatus(kUnlockedText);
    // Setting the wait time also signals activity, so the wait starts afresh.
    m_host.SetDogTimeout(m_host.DogTime());
}

void CLockFlow::ChoosePassword(int firstUse) {
    if (firstUse == 0) {
        m_host.SignalActivity();
        m_services.prompter->Show(
            QStringLiteral("You are about to create a different password.\n\nYou MUST remember "
                           "this password to use the program again. \n\nYou will NOT lose any "
                           "existing Location/Password entries."),
            PromptButtons::Ok, PromptIcon::Information);
    } else {
        m_services.prompter->Show(
            QStringLiteral("     Welcome to Keynest!\n\nPlease create an 'UnLock' password to "
                           "begin using Keynest.\n(You can always change it later.)\n\nYou MUST "
                           "remember this password to use the program again. \n(Your password is "
                           "case sensitive and stored encypted.) \n\nWhen Keynest is inactive for "
                           "a while, it re-locks itself.\n(You can always change this behavior "
                           "later.)\n\nHit F1 at any time for Help."),
            PromptButtons::Ok, PromptIcon::Information);
    }

    const bool itemsWithoutPassword =
        m_itemStore.HasStoredItems() && m_store.GetString(kKeynestSection, kPasswordValue, "").empty();
    if (itemsWithoutPassword) {
        m_services.prompter->Show(
            QStringLiteral("Your Registry has no UnLock password but \ndoes have Location/Password "
                           "entries.\n\nThis is very unusual and suggests tampering. \n\nYou will "
                           "NOT lose any existing Location/Password entries. \n\nHowever, the "
                           "decryption of the passwords will fail unless \nyou enter the UnLock "
                           "password that was in place when \nthey were created."),
            PromptButtons::Ok, PromptIcon::None);
    }

    if (firstUse == 0 && IsNewUserHintDue(m_store, "ChangePwd")) {
        m_services.prompter->Show(
            QStringLiteral("New User Hint...\n\nIf you like to keep an encrypted Export file, "
                           "you\nshould create a new one after you change your password. \n\nHit "
                           "F1 for Help at anytime."),
            PromptButtons::Ok, PromptIcon::Information);
        MarkNewUserHintShown(m_store, "ChangePwd");
    }

    CChoosePasswordDlg dialog(m_services, m_host.CharSet(), m_host.DialogParent());
    dialog.SetFirstUse(firstUse == 1);
    bool failed = dialog.exec() != QDialog::Accepted;
    if (!failed) {
        std::string chosen = dialog.FirstEntry();
        std::string checkValue = m_sealer.SealText(chosen, chosen, 0);
        if (checkValue.empty()) {
            m_services.prompter->Show(QStringLiteral("Your chosen password could not be encrypted. "),
                                      PromptButtons::Ok, PromptIcon::None);
            failed = true;
        } else {
            // The old password stays in force until the new one is stored.
            std::string previous = m_unlockPassword;
            m_unlockPassword = chosen;
            if (StoreNewPassword(checkValue, firstUse == 1, itemsWithoutPassword)) {
                SetUnlocked();
            } else {
                WipeString(m_unlockPassword);
                m_unlockPassword = previous;
                failed = true;
            }
            WipeString(previous);
        }
        WipeString(chosen);
        WipeString(checkValue);
    }
    if (failed) OfferHelpOnce();
}

// Stores the check value and the Items re-sealed under the new password in
// one transaction, so that they always belong to the same password.
bool CLockFlow::StoreNewPassword(const std::string& checkValue, bool firstUse, bool keepFoundItems) {
    CStoreTransaction transaction(m_store);
    bool ok = transaction.IsActive();
    // Items found without a check value are sealed under a password nobody
    // can tell; they are kept aside, sealed as they are, never overwritten.
    if (ok && keepFoundItems) ok = m_itemStore.SetAsideStoredItems(kKeptItemsSection);
    ok = ok && m_store.SetString(kKeynestSection, kPasswordValue, checkValue);
    // The rows re-sealed under the new password; at first use the list is
    // empty and only the end marker is written.
    if (ok) {
        std::lock_guard lock(m_host.ListLock());
        ok = m_itemStore.SaveAllItems(m_host.Rows(), m_unlockPassword);
    }
    ok = ok && transaction.Commit();
    if (!ok) {
        m_services.prompter->Show(
            firstUse ? QStringLiteral("Your chosen password could not be stored.\n\nKeynest stays "
                                      "locked; please try again with File > UnLock.")
                     : QStringLiteral("Your new password could not be stored.\n\nThe old password "
                                      "and your Items are kept as they were."),
            PromptButtons::Ok, PromptIcon::Warning);
    }
    return ok;
}

void CLockFlow::OfferHelpOnce() {
    if (m_bFrustratedShown != 0) return;
    m_bFrustratedShown = 1;
    if (m_services.prompter->Show(
            QStringLiteral("You seem frustrated.\n\nWould you like to read the Help File?"),
            PromptButtons::YesNo, PromptIcon::Question) == kPromptYes) {
        m_services.help->ShowHelp(kHelpChoosePassword);
    }
}

void CLockFlow::LockStep() {
    {
        CWaitCursor wait;
        std::lock_guard lock(m_host.ListLock());
        m_host.SetDogTimeout(kInfinite);
        m_host.RemoveAllRows();
        m_host.ForgetPlainItems();
        m_bUnlocked = 0;
        // Nothing reads the password while locked: do not keep it.
        WipeString(m_unlockPassword);
        m_host.SetLockStatus(kLockedText);
    }
    PromptUnlock();
}
