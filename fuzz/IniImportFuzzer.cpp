// Feeds arbitrary files to the settings store's INI migration: any file
// must import without a crash, a sanitizer report or a store error.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "settings/RegistryStore.h"

namespace {

// A fresh store after this many imports keeps the database small.
constexpr int kImportsPerStore = 500;

// A private directory with the INI file and the store; removed at exit.
class Workspace final {
  public:
    Workspace() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "keynest-fuzz-XXXXXX").string();
        Require(::mkdtemp(pattern.data()) != nullptr, "a temporary directory can be made");
        m_dir = pattern;
    }
    ~Workspace() {
        m_store.reset();
        std::error_code ignored;
        std::filesystem::remove_all(m_dir, ignored);
    }
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    std::string IniPath() const { return m_dir + "/Keynest.INI"; }

    CRegistryStore& Store() {
        if (!m_store || ++m_imports > kImportsPerStore) Renew();
        return *m_store;
    }

  private:
    void Renew() {
        m_store.reset();
        const std::string database = m_dir + "/keynest.sqlite";
        for (const char* suffix : {"", "-wal", "-shm"}) std::remove((database + suffix).c_str());
        m_store = std::make_unique<CRegistryStore>(database);
        Require(m_store->OpenBranch(CRegistryStore::kBranchPath, CRegistryStore::kRootKey, nullptr),
                "a new store opens");
        m_imports = 1;
    }

    std::string m_dir;
    std::unique_ptr<CRegistryStore> m_store;
    int m_imports = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Workspace workspace;
    const std::string iniPath = workspace.IniPath();
    std::FILE* file = std::fopen(iniPath.c_str(), "wb");
    Require(file != nullptr, "the INI file can be written");
    Require(size == 0 || std::fwrite(data, 1, size, file) == size, "the INI file is written whole");
    std::fclose(file);

    CRegistryStore& store = workspace.Store();
    store.ImportIniFile(iniPath);
    Require(store.LastError().empty(), "every value of any INI file is stored");
    return 0;
}
