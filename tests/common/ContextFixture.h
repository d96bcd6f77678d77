#pragma once

// A whole feature context over fakes: a vault in a private store, unlocked
// under "secret", rows in memory and a watchdog stand-in that records.

#include <QWidget>
#include <mutex>

#include "FakeServices.h"
#include "TestSupport.h"
#include "contract/Activity.h"
#include "contract/UrlLauncher.h"
#include "contract/KeynestContext.h"
#include "contract/KeynestEvents.h"
#include "settings/Preferences.h"
#include "vault/ItemList.h"
#include "vault/Vault.h"

namespace keynest_test {

/// Counts the activity signals and records the URLs handed over.
struct RecordingActivity final : IActivity, IUrlLauncher {
    void SignalActivity() override { ++signals; }
    void SetDogTimeout(std::uint32_t ms) override { timeouts.push_back(ms); }
    void RequestLaunch(const std::string& url) override { launches.push_back(url); }
    int signals = 0;
    std::vector<std::string> launches;
    std::vector<std::uint32_t> timeouts;
};

/// `Rows` holds the list: CMemoryItemList, or the model a list view shows.
template <class Rows = CMemoryItemList>
struct BasicContextFixture : TempStore {
    BasicContextFixture() { EXPECT_TRUE(m_vault.ChooseFirstPassword("secret")); }

    /// A row per Location, its Password "pw-" and the Location.
    void AddRows(const std::vector<std::string>& locations) {
        for (const std::string& location : locations) {
            m_rows.SetText(m_rows.AppendRow(location), kColPassword, "pw-" + location);
        }
    }

    FakeServices m_fakes;
    CVault m_vault{m_store};
    Rows m_rows;
    std::recursive_mutex m_listLock;
    Preferences m_prefs;
    RecordingActivity m_activity;
    CKeynestEvents m_events;
    QWidget m_parent;
    KeynestContext m_context{m_vault,    m_rows,   m_listLock,
                             m_prefs,    m_store,  m_fakes.AsServices(),
                             m_activity, m_activity, m_events, m_parent};
};

using ContextFixture = BasicContextFixture<>;

}  // namespace keynest_test
