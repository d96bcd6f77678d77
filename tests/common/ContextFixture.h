#pragma once

// A whole feature context over fakes: a vault in a private store, unlocked
// under "secret", rows in memory and a watchdog stand-in.

#include <QWidget>
#include <mutex>

#include "FakeServices.h"
#include "TestSupport.h"
#include "platform/Activity.h"
#include "platform/KeynestContext.h"
#include "platform/KeynestEvents.h"
#include "settings/Preferences.h"
#include "vault/ItemList.h"
#include "vault/Vault.h"

namespace keynest_test {

struct NoActivity final : IActivity {
    void SignalActivity() override {}
    void SetDogTimeout(std::uint32_t) override {}
    void RequestLaunch(const std::string&) override {}
};

struct ContextFixture : TempStore {
    ContextFixture() { EXPECT_TRUE(m_vault.ChooseFirstPassword("secret")); }

    /// A row per Location, its Password "pw-" and the Location.
    void AddRows(const std::vector<std::string>& locations) {
        for (const std::string& location : locations) {
            m_rows.SetText(m_rows.AppendRow(location), kColPassword, "pw-" + location);
        }
    }

    FakeServices m_fakes;
    CVault m_vault{m_store};
    CMemoryItemList m_rows;
    std::recursive_mutex m_listLock;
    Preferences m_prefs;
    NoActivity m_activity;
    CKeynestEvents m_events;
    QWidget m_parent;
    KeynestContext m_context{m_vault,    m_rows,   m_listLock,
                             m_prefs,    m_store,  m_fakes.AsServices(),
                             m_activity, m_events, m_parent};
};

}  // namespace keynest_test
