#include "ui/list/HidePasswords.h"

#include "contract/KeynestEvents.h"
#include "settings/Preferences.h"
#include "ui/list/ItemListModel.h"

CHidePasswords::CHidePasswords(KeynestContext& context, CItemListModel& model)
    : m_context(context), m_model(model) {
    m_preferencesChanged = QObject::connect(&context.events, &CKeynestEvents::PreferencesChanged,
                                            &model, [this] { Apply(); });
}

CHidePasswords::~CHidePasswords() { QObject::disconnect(m_preferencesChanged); }

void CHidePasswords::OnHidePasswords() {
    m_context.prefs.hidePwds = m_context.prefs.hidePwds != 0 ? 0 : 1;
    (void)SavePreference(m_context.store, m_context.prefs, &Preferences::hidePwds);
    Q_EMIT m_context.events.PreferencesChanged();
}

bool CHidePasswords::Hidden() const { return m_model.PasswordsHidden(); }

void CHidePasswords::Apply() {
    if (Hidden() != (m_context.prefs.hidePwds != 0)) {
        m_model.SetPasswordsHidden(m_context.prefs.hidePwds != 0);
    }
}
