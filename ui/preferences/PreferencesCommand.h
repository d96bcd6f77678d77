#pragma once

#include <functional>

#include "contract/KeynestContext.h"

/// Edit > Preferences: the Preferences dialog over the preferences in
/// force; on OK they take effect at once and are stored.
class CPreferencesCommand final {
  public:
    /// `changePassword` is the UnLock password change the dialog's button runs.
    CPreferencesCommand(KeynestContext& context, std::function<void()> changePassword);
    CPreferencesCommand(const CPreferencesCommand&) = delete;
    CPreferencesCommand& operator=(const CPreferencesCommand&) = delete;

    /// The command's handler.
    void OnPreferences();

  private:
    KeynestContext& m_context;
    std::function<void()> m_changePassword;
};
