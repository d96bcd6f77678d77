#include "extras/ExtraCommands.h"

#include "extras/AboutDlg.h"
#include "extras/TwofishTestDlg.h"
#include "platform/Prompter.h"
#include "settings/RegistryStore.h"
#include "settings/StoreNames.h"
#include "vault/Twofish.h"
#include "vault/Vault.h"

CExtraCommands::CExtraCommands(KeynestContext& context)
    : m_context(context) {}

CExtraCommands::~CExtraCommands() = default;

void CExtraCommands::OnTestTwofish() {
    CTwofishTestDlg dialog(m_context.vault.Sealer(), m_context.services.prompter,
                           &m_context.dialogParent);
    const int stored = m_context.store.GetInt(StoreNames::kText, StoreNames::kHex, 1);
    dialog.m_nDataForm = stored == 0 ? CTwofishTestDlg::kAsciiText : CTwofishTestDlg::kHexNibbles;
    dialog.exec();
    if (dialog.m_nDataForm != CTwofishTestDlg::kNoForm && dialog.m_nDataForm != stored) {
        (void)m_context.store.SetInt(StoreNames::kText, StoreNames::kHex, dialog.m_nDataForm);
    }
}

void CExtraCommands::OnAppAbout() {
    {
        CAboutDlg box(m_visited[0], m_visited[1], m_context.services.shell, &m_context.dialogParent);
        box.exec();
    }
    CPasswordSealer& sealer = m_context.vault.Sealer();
    if (CipherSelfTest(sealer.PlainBlock(), sealer.CipherBlock(), sealer.CheckBlock()) != 0) {
        m_context.services.prompter.Show(
            QStringLiteral("The cipher self-test failed.\n\nThis copy of Keynest does not "
                           "encrypt correctly. Do not trust your stored data to it."),
            PromptButtons::Ok, PromptIcon::Warning);
    }
}
