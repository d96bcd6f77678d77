#include "ui/HidePasswords.h"

#include "settings/Preferences.h"
#include "ui/ItemListModel.h"

CHidePasswords::CHidePasswords(KeynestContext& context, CItemListModel& model)
    : m_context(context), m_model(model) {}

void CHidePasswords::OnHidePasswords() {
    m_context.prefs.hidePwds = m_context.prefs.hidePwds != 0 ? 0 : 1;
    Apply();
    (void)SaveHidePasswords(m_context.store, m_context.prefs.hidePwds);
}

bool CHidePasswords::Hidden() const { return m_model.PasswordsHidden(); }

void CHidePasswords::Apply() { m_model.SetPasswordsHidden(m_context.prefs.hidePwds != 0); }
