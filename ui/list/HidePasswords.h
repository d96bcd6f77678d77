#pragma once

#include <QObject>

#include "contract/KeynestContext.h"

class CItemListModel;

/// View > Hide Passwords: dots instead of the passwords in the list, a
/// choice kept among the preferences; the list follows the preference
/// whenever the preferences change.
class CHidePasswords final {
public:
    CHidePasswords(KeynestContext& context, CItemListModel& model);
    ~CHidePasswords();
    CHidePasswords(const CHidePasswords&) = delete;
    CHidePasswords& operator=(const CHidePasswords&) = delete;

    /// The command's handler: switches and stores the choice.
    void OnHidePasswords();
    bool Hidden() const;
private:
    /// Shows the list as the preference in force says.
    void Apply();

    KeynestContext& m_context;
    CItemListModel& m_model;
    QMetaObject::Connection m_preferencesChanged;
};
