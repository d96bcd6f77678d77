#include "ui/password/MakePassword.h"

#include "generator/PasswordGenerator.h"
#include "contract/Activity.h"
#include "platform/Clipboard.h"
#include "platform/Prompter.h"
#include "settings/Preferences.h"
#include "ui/list/CopyNotice.h"
#include "ui/password/RandomPasswordDlg.h"
#include "vault/ItemList.h"
#include "vault/Vault.h"

#include <algorithm>

unsigned GeneratedLength(const KeynestContext& context) {
    return std::min(context.prefs.length, context.vault.MaxGeneratedLength());
}

CMakePassword::CMakePassword(KeynestContext& context) : m_context(context) {}

std::string CMakePassword::NewPassword() {
    const Preferences& prefs = m_context.prefs;
    std::string password =
        GeneratePassword(prefs.pwdChars, GeneratedLength(m_context), prefs.alphaNum,
                         m_context.services.random);
    if (password.empty()) {
        m_context.services.prompter.Show(QString::fromUtf8(kEmptyCharSetMessage), PromptButtons::Ok,
                                         PromptIcon::Warning);
    }
    return password;
}

void CMakePassword::OnMakePassword() {
    m_context.activity.SignalActivity();
    std::string password = NewPassword();
    if (password.empty()) return;

    if (m_context.prefs.makePwdRadio == 1) {
        m_context.services.clipboard.SetText(password);
        ReportCopied(m_context, QStringLiteral("A new password"));
    } else if (m_context.prefs.makePwdRadio == 0) {
        CRandomPasswordDlg dialog([this] { return NewPassword(); }, m_context.services.clipboard,
                                  &m_context.dialogParent);
        dialog.SetPassword(password);
        dialog.exec();
    }
    WipeString(password);
}
