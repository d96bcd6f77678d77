#include "ui/files/FileReset.h"

#include "contract/KeynestEvents.h"
#include "platform/Prompter.h"
#include "settings/RegistryStore.h"
#include "vault/ItemList.h"
#include "vault/Vault.h"

void CFileReset::OnFileReset() {
    const int answer = m_context.services.prompter.Show(
        QStringLiteral("You are requesting that Keynest erase \neverything you have "
                       "entered.\n\nYou should only do this if you have\nforgotten your UnLock "
                       "password.\n\nThis action cannot be undone.\n\nAre you sure you want to do "
                       "this?"),
        PromptButtons::YesNo, PromptIcon::None);
    if (answer != kPromptYes) return;
    {
        std::lock_guard lock(m_context.listLock);
        Q_EMIT m_context.events.Locking();
        m_context.rows.RemoveAllRows();
    }
    m_bErased = true;
    if (!m_context.vault.EraseEverything()) {
        m_context.services.prompter.Show(
            QStringLiteral("Keynest could not erase everything it stored.\n\n%1")
                .arg(QString::fromStdString(m_context.store.LastError())),
            PromptButtons::Ok, PromptIcon::Warning);
    }
    Q_EMIT m_context.events.CloseRequested();
}
