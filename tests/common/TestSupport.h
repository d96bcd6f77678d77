#pragma once

// Small helpers every test may use: a private temporary directory, a
// settings store inside one, and environment variables set for one test only.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "settings/RegistryStore.h"
#include "vault/ItemList.h"

namespace keynest_test {

/// A fresh directory below the system's temporary directory, removed with
/// everything in it when the object goes.
class TempDir {
  public:
    TempDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "keynest-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) m_path = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }

  private:
    std::string m_path;
};

/// A settings store in a private temporary directory, its branch open.
/// Fixtures inherit it to get `m_dir` and `m_store`.
struct TempStore {
    TempStore() {
        EXPECT_TRUE(
            m_store.OpenBranch(CRegistryStore::kBranchPath, CRegistryStore::kRootKey, nullptr));
    }
    TempDir m_dir;
    CRegistryStore m_store{m_dir.File("keynest.sqlite")};
};

/// The Locations of `rows`, in order.
inline std::vector<std::string> Locations(const IItemList& rows) {
    std::vector<std::string> locations;
    for (int row = 0; row < rows.RowCount(); ++row) {
        locations.push_back(rows.GetText(row, kColLocation));
    }
    return locations;
}

/// Sets an environment variable and restores the old value at the end.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::string& value) : m_name(name) {
        if (const char* old = std::getenv(name)) m_old = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (m_old) {
            ::setenv(m_name.c_str(), m_old->c_str(), 1);
        } else {
            ::unsetenv(m_name.c_str());
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    std::string m_name;
    std::optional<std::string> m_old;
};

}  // namespace keynest_test
