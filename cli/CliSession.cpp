#include "cli/CliSession.h"

#include <sys/stat.h>

#include <filesystem>
#include <iostream>

#include "cli/Terminal.h"
#include "settings/RegistryStore.h"
#include "settings/SingleInstanceLock.h"
#include "settings/StoreNames.h"
#include "settings/UserPaths.h"
#include "vault/Vault.h"

namespace {

constexpr const char* kLockFileName = "keynest.lock";
constexpr int kDefaultClipSeconds = 20;

}  // namespace

CCliSession::CCliSession(const std::string& storePath, CTerminal& terminal)
    : m_terminal(terminal), m_storePath(storePath.empty() ? UserPaths::StoreFile() : storePath) {}

// The vault wipes its password and the rows their texts before the store closes.
CCliSession::~CCliSession() {
    m_rows.RemoveAllRows();
    m_vault.reset();
    m_store.reset();
}

bool CCliSession::StoreExists() const {
    struct stat info {};
    return ::stat(m_storePath.c_str(), &info) == 0;
}

std::string CCliSession::LockFilePath() const {
    std::error_code ignored;
    const std::filesystem::path store = std::filesystem::absolute(m_storePath, ignored);
    return (store.parent_path() / kLockFileName).string();
}

ExitStatus CCliSession::LockForChange() {
    m_lock = std::make_unique<CSingleInstanceLock>(LockFilePath());
    if (m_lock->IsHeldElsewhere()) {
        return Fail(ExitStatus::Locked,
                    "Keynest is running on " + m_storePath +
                        " (its lock file is held): close it before changing Items; reading "
                        "commands still work");
    }
    return ExitStatus::Ok;
}

ExitStatus CCliSession::Open(bool mayCreate) {
    if (!StoreExists()) {
        if (!mayCreate) {
            return Fail(ExitStatus::Failed, "there is no store at " + m_storePath +
                                                "; choose an UnLock password with "
                                                "'keynest-cli passwd' to start one");
        }
        if (m_storePath == UserPaths::StoreFile()) {
            UserPaths::MakePrivateDirectory(UserPaths::DataDirectory());
        }
    }
    m_store = std::make_unique<CRegistryStore>(m_storePath);
    if (!m_store->OpenProgramBranch(UserPaths::IniFile())) {
        return Fail(ExitStatus::Failed,
                    "cannot open the store " + m_storePath + ": " + m_store->LastError());
    }
    m_vault = std::make_unique<CVault>(*m_store);
    return ExitStatus::Ok;
}

ExitStatus CCliSession::OpenAndUnlock(bool forChange) {
    ExitStatus status = forChange ? LockForChange() : ExitStatus::Ok;
    if (status == ExitStatus::Ok) status = Open(false);
    if (status == ExitStatus::Ok) status = Unlock();
    return status;
}

ExitStatus CCliSession::Unlock() {
    if (!m_vault->HasCheckValue()) {
        return Fail(ExitStatus::Locked, "no UnLock password has been chosen for " + m_storePath +
                                            " yet; choose one with 'keynest-cli passwd'");
    }
    std::string password;
    const bool given = m_terminal.ReadLine("UnLock password: ", password, true);
    const bool unlocked = given && !password.empty() && m_vault->Unlock(password);
    WipeString(password);
    if (!unlocked) {
        return Fail(ExitStatus::Locked, given ? "The Password you entered is not correct."
                                              : "no UnLock password was given");
    }
    const ItemLoadResult loaded = m_vault->LoadAllItems(m_rows);
    if (!loaded.ok) {
        return Fail(ExitStatus::Failed,
                    "cannot read the Items (" + m_store->LastError() + "); nothing changed");
    }
    if (loaded.unread > 0) {
        std::cerr << "keynest-cli: " << loaded.unread
                  << " stored Items could not be read; they are kept as they were found\n";
    }
    return ExitStatus::Ok;
}

ExitStatus CCliSession::Save() {
    if (!m_vault->SaveAllItems(m_rows)) {
        return Fail(ExitStatus::Failed,
                    "the store refused the change (" + m_store->LastError() + "); nothing changed");
    }
    return ExitStatus::Ok;
}

void CCliSession::RememberFile(const std::string& path) {
    std::error_code ignored;
    const std::string fullPath = std::filesystem::absolute(path, ignored).string();
    if (!m_lock) m_lock = std::make_unique<CSingleInstanceLock>(LockFilePath());
    if (!m_lock->IsHeldElsewhere()) {
        m_store->SetString(StoreNames::kFileSel, StoreNames::kStarter, fullPath);
    }
}

const Preferences& CCliSession::Prefs() {
    if (!m_prefs) {
        m_prefs = std::make_unique<Preferences>();
        if (m_store) {
            *m_prefs = LoadPreferences(*m_store);
        } else {
            m_prefs->pwdChars = FullCharSet();
        }
    }
    return *m_prefs;
}

int CCliSession::ClipSeconds() {
    const int seconds =
        m_store ? m_store->GetInt(StoreNames::kPrefs, "ClipSeconds", kDefaultClipSeconds)
                : kDefaultClipSeconds;
    return seconds < 0 ? kDefaultClipSeconds : seconds;
}
