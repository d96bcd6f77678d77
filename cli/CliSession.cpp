#include "cli/CliSession.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include <filesystem>
#include <iostream>

#include "cli/Terminal.h"
#include "settings/RegistryStore.h"
#include "settings/SingleInstanceLock.h"
#include "settings/StoreNames.h"
#include "settings/UserPaths.h"
#include "vault/Vault.h"

namespace {

constexpr const char* kReadingStillWorks =
    "reading commands (list, show, export, clip) still work";

// A bare file name means the current folder; every message names the full path.
std::string FullPath(const std::string& path) {
    std::error_code ignored;
    const std::filesystem::path full = std::filesystem::absolute(path, ignored);
    return full.empty() ? path : full.string();
}

// The refusal while another program holds the store's lock, naming the
// kind of program when it said which it is.
std::string HeldMessage(const std::string& holder, const std::string& storePath) {
    const std::string held = " (its lock file is held): ";
    if (holder == CSingleInstanceLock::kDesktopHolder) {
        return "Keynest is running on " + storePath + held +
               "close it before changing Items; " + kReadingStillWorks;
    }
    if (holder == CSingleInstanceLock::kCliHolder) {
        return "another keynest-cli is changing " + storePath + held +
               "try again when it has finished; " + kReadingStillWorks;
    }
    return "another Keynest program is using " + storePath + held +
           "close it before changing Items; " + kReadingStillWorks;
}

}  // namespace

CCliSession::CCliSession(const std::string& storePath, CTerminal& terminal)
    : m_terminal(terminal),
      m_storePath(storePath.empty() ? UserPaths::StoreFile() : FullPath(storePath)) {}

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

std::string CCliSession::LockFilePath() const { return UserPaths::StoreLockFile(m_storePath); }

ExitStatus CCliSession::LockForChange(bool mayCreate) {
    if (!StoreExists()) {
        if (!mayCreate) return NoStore();
        // The lock file goes beside the store, so its folder comes first.
        if (m_storePath == UserPaths::StoreFile()) {
            UserPaths::MakePrivateDirectory(UserPaths::DataDirectory());
        } else {
            UserPaths::MakeMissingDirectories(std::filesystem::path(m_storePath).parent_path());
        }
    } else if (::access(m_storePath.c_str(), W_OK) != 0) {
        // A store that cannot be written is refused before anything is made beside it.
        return Fail(ExitStatus::Failed, "the store " + m_storePath + " cannot be changed (" +
                                            std::strerror(errno) + "); nothing changed; " +
                                            kReadingStillWorks);
    }
    m_lock = std::make_unique<CSingleInstanceLock>(LockFilePath(), CSingleInstanceLock::kCliHolder);
    if (m_lock->IsHeldElsewhere()) {
        return Fail(ExitStatus::Locked, HeldMessage(m_lock->OtherHolder(), m_storePath));
    }
    if (!m_lock->IsHeld()) {
        return Fail(ExitStatus::Failed, "the store " + m_storePath +
                                            " cannot be locked for a change (" + m_lock->Error() +
                                            "); nothing changed; " + kReadingStillWorks);
    }
    return ExitStatus::Ok;
}

bool CCliSession::HoldsLock() const { return m_lock && m_lock->IsHeld(); }

ExitStatus CCliSession::NoStore() const {
    return Fail(ExitStatus::Failed, "there is no store at " + m_storePath +
                                        "; choose an UnLock password with "
                                        "'keynest-cli passwd' to start one");
}

ExitStatus CCliSession::Open(bool mayCreate) {
    if (!mayCreate && !StoreExists()) return NoStore();
    m_store = std::make_unique<CRegistryStore>(m_storePath);
    // Only a command that holds the lock for a change may write the store.
    const bool opened = HoldsLock() ? m_store->OpenProgramBranch(UserPaths::IniFile())
                                    : m_store->OpenProgramBranchReadOnly();
    if (!opened) {
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
    if (HoldsLock()) {
        m_store->SetString(StoreNames::kFileSel, StoreNames::kStarter, fullPath);
        return;
    }
    // A reading command opened the store read-only: the name is written
    // through a second connection, and only when the store can be written
    // and no other Keynest program holds it. Failing changes nothing.
    if (::access(m_storePath.c_str(), W_OK) != 0) return;
    const CSingleInstanceLock lock(LockFilePath(), CSingleInstanceLock::kCliHolder);
    CRegistryStore store(m_storePath);
    if (lock.IsHeld() && store.OpenProgramBranch(UserPaths::IniFile())) {
        store.SetString(StoreNames::kFileSel, StoreNames::kStarter, fullPath);
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

int CCliSession::ClipSeconds() { return Prefs().clipSeconds; }
