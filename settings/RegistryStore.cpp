#include "settings/RegistryStore.h"

#include <sqlite3.h>

#include "settings/UserPaths.h"

#include <array>
#include <cctype>
#include <optional>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kBusyTimeoutMs = 5000;

// A bare file name lives in the current folder.
std::string DirectoryOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

// `path` as the path part of an SQLite URI: every byte that could be read
// as URI syntax is written as %XX.
std::string UriPath(const std::string& path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string uri;
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || std::strchr("/._-~", c) != nullptr) {
            uri += c;
        } else {
            uri += '%';
            uri += kHex[byte >> 4];
            uri += kHex[byte & 0xF];
        }
    }
    return uri;
}

struct StatementDeleter {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

void BindText(sqlite3_stmt* statement, int index, const std::string& text) {
    sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

std::string Trim(const std::string& text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
    return text.substr(begin, end - begin);
}

// Opens `path` as a regular file without following a link at that name
// (when `noFollow`) and without waiting on a FIFO or device: anything else
// gives -1.
int OpenRegularFile(const std::string& path, int flags, bool noFollow) {
    const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | (noFollow ? O_NOFOLLOW : 0));
    struct stat info {};
    if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
        ::close(fd);
        return -1;
    }
    return fd;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    const int fd = OpenRegularFile(path, O_RDONLY, true);
    if (fd < 0) return std::nullopt;
    std::string bytes;
    char buffer[65536];
    ssize_t got = 0;
    while ((got = ::read(fd, buffer, sizeof buffer)) > 0) bytes.append(buffer, static_cast<std::size_t>(got));
    ::close(fd);
    if (got < 0) return std::nullopt;
    return bytes;
}

// Writes `bytes` over the regular file `path`, never through a link.
void RewriteFile(const std::string& path, const std::string& bytes) {
    const int fd = OpenRegularFile(path, O_WRONLY | O_TRUNC, true);
    if (fd < 0) return;
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote <= 0) break;
        done += static_cast<std::size_t>(wrote);
    }
    ::close(fd);
}

// The write-ahead log and its index beside a database, as they were before
// a connection opened it, so that a refused file's companions can be left
// exactly as they were found.
class SideFiles final {
public:
    explicit SideFiles(const std::string& databasePath)
        : m_paths{databasePath + "-wal", databasePath + "-shm"},
          m_bytes{ReadWholeFile(m_paths[0]), ReadWholeFile(m_paths[1])} {}

    void Restore() const {
        for (std::size_t i = 0; i < m_paths.size(); ++i) {
            if (!m_bytes[i]) {
                ::unlink(m_paths[i].c_str());
            } else if (ReadWholeFile(m_paths[i]) != m_bytes[i]) {
                RewriteFile(m_paths[i], *m_bytes[i]);
            }
        }
    }

private:
    std::array<std::string, 2> m_paths;
    std::array<std::optional<std::string>, 2> m_bytes;
};

}  // namespace

CRegistryStore::CRegistryStore(std::string databasePath)
    : m_path(std::move(databasePath)), m_root(kRootKey) {}

CRegistryStore::~CRegistryStore() {
    if (m_db) {
        while (m_transactionDepth > 0) RollbackTransaction();
        sqlite3_finalize(m_selectValue);
        sqlite3_finalize(m_writeValue);
        sqlite3_close_v2(m_db);
    }
}

void CRegistryStore::Fail(const std::string& what) {
    m_lastError = what;
    if (m_db) {
        m_lastError += ": ";
        m_lastError += sqlite3_errmsg(m_db);
    }
}

bool CRegistryStore::Exec(const char* sql) {
    char* message = nullptr;
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, &message) == SQLITE_OK) return true;
    m_lastError = message ? message : "database error";
    sqlite3_free(message);
    return false;
}

bool CRegistryStore::OpenDatabase() {
    if (m_db) return true;
    if (m_readOnly) return OpenReadOnlyDatabase();
    // Only missing folders are made: a folder the user named keeps its mode.
    if (!UserPaths::MakeMissingDirectories(DirectoryOf(m_path))) {
        m_lastError = "cannot create the folder " + DirectoryOf(m_path) + ": " + std::strerror(errno);
        return false;
    }
    // Create the file ourselves so that it is private from its first byte.
    // Nothing waits on a FIFO or device planted at the name.
    const int fd = ::open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0600);
    if (fd < 0) {
        m_lastError = "cannot open " + m_path + ": " + std::strerror(errno);
        return false;
    }
    struct stat info {};
    const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    ::close(fd);
    if (!regular) {
        m_lastError = m_path + ": not a regular file";
        return false;
    }

    const SideFiles sideFiles(m_path);
    if (sqlite3_open_v2(m_path.c_str(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX,
                        nullptr) != SQLITE_OK) {
        Fail("cannot open " + m_path);
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        sideFiles.Restore();
        return false;
    }
    // Until the file has passed its check, closing must not fold a leftover
    // write-ahead log into it or delete the log: a refused file stays as found.
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
    // The full check reads every page before anything is written; a file that
    // is not a database, or a damaged one, is refused here.
    bool ok = CheckIntegrity();
    m_damaged = !ok;
    ok = ok && Exec("PRAGMA journal_mode=WAL") &&
         // Every commit is on disk when it returns, and freed pages are
         // zeroed so that deleted Items leave no sealed bytes behind.
         Exec("PRAGMA synchronous=FULL") && Exec("PRAGMA secure_delete=ON") && EnsureSchema();
    if (!ok) {
        const std::string reason = m_lastError;
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        // Reading rebuilt the log's index: put the companions back as found.
        sideFiles.Restore();
        m_lastError = m_path + ": " + reason;
        return false;
    }
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 0, nullptr);
    // Only a file accepted as a store is made private; any other is left
    // exactly as it was found.
    if ((info.st_mode & 077) != 0) ::chmod(m_path.c_str(), 0600);
    return true;
}

bool CRegistryStore::OpenReadOnlyDatabase() {
    struct stat info {};
    if (::stat(m_path.c_str(), &info) != 0) {
        m_lastError = "cannot open " + m_path + ": " + std::strerror(errno);
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        m_lastError = m_path + ": not a regular file";
        return false;
    }
    // With a write-ahead log beside it another connection may be writing:
    // read through the log. Without one the file is read as it stands, so
    // that no log is made beside it (read-only media could not hold one).
    struct stat log {};
    const bool hasLog = ::stat((m_path + "-wal").c_str(), &log) == 0;
    const std::string uri = "file:" + UriPath(m_path) + (hasLog ? "?mode=ro" : "?immutable=1");
    if (sqlite3_open_v2(uri.c_str(), &m_db,
                        SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_FULLMUTEX,
                        nullptr) != SQLITE_OK) {
        Fail("cannot open " + m_path);
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        return false;
    }
    sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
    m_damaged = !CheckIntegrity();
    if (m_damaged) {
        const std::string reason = m_lastError;
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        m_lastError = m_path + ": " + reason;
        return false;
    }
    return true;
}

bool CRegistryStore::CheckIntegrity() {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(m_db, "PRAGMA integrity_check(1)", -1, &raw, nullptr) != SQLITE_OK) {
        Fail("cannot check " + m_path);
        sqlite3_finalize(raw);
        return false;
    }
    Statement check(raw);
    if (sqlite3_step(raw) != SQLITE_ROW) {
        Fail("cannot check " + m_path);
        return false;
    }
    const auto* verdict = reinterpret_cast<const char*>(sqlite3_column_text(raw, 0));
    if (verdict && std::strcmp(verdict, "ok") == 0) return true;
    m_lastError = std::string("the file is damaged: ") + (verdict ? verdict : "");
    return false;
}

bool CRegistryStore::EnsureSchema() {
    // Section and value names are matched without regard to case, as the
    // old registry and INI files matched them; a name keeps the spelling it
    // was first written with.
    constexpr const char* kSettingsTable =
        "CREATE TABLE settings("
        " branch INTEGER NOT NULL REFERENCES branches(id), section TEXT NOT NULL COLLATE NOCASE,"
        " name TEXT NOT NULL COLLATE NOCASE, text BLOB NOT NULL,"
        " PRIMARY KEY(branch, section, name)) WITHOUT ROWID";
    if (!Exec("CREATE TABLE IF NOT EXISTS branches("
              " id INTEGER PRIMARY KEY, root TEXT NOT NULL, path TEXT NOT NULL, UNIQUE(root, path))")) {
        return false;
    }
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(m_db, "SELECT sql FROM sqlite_master WHERE name='settings'", -1, &raw,
                           nullptr) != SQLITE_OK) {
        Fail("cannot read the schema");
        sqlite3_finalize(raw);
        return false;
    }
    Statement schema(raw);
    if (sqlite3_step(raw) != SQLITE_ROW) return Exec(kSettingsTable);
    const auto* sql = reinterpret_cast<const char*>(sqlite3_column_text(raw, 0));
    if (sql != nullptr && std::strstr(sql, "NOCASE") != nullptr) return true;
    schema.reset();
    // A store written before names were matched without case: copy it into
    // the new table in one transaction, the first of two spellings winning.
    const bool migrated = Exec("BEGIN IMMEDIATE") &&
                          Exec("ALTER TABLE settings RENAME TO settings_old") &&
                          Exec(kSettingsTable) &&
                          Exec("INSERT OR IGNORE INTO settings SELECT * FROM settings_old") &&
                          Exec("DROP TABLE settings_old") && Exec("COMMIT");
    if (!migrated) {
        const std::string error = m_lastError;
        Exec("ROLLBACK");
        m_lastError = error;
    }
    return migrated;
}

bool CRegistryStore::OpenBranch(const std::string& path, const std::string& root,
                                bool* createdNew) {
    // Path and root are kept first, so later calls address the branch
    // even when opening it fails.
    m_basePath = path;
    m_root = root;
    if (createdNew) *createdNew = false;
    if (!OpenDatabase()) return false;

    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(m_db, "INSERT OR IGNORE INTO branches(root, path) VALUES(?, ?)", -1,
                           &raw, nullptr) != SQLITE_OK) {
        Fail("cannot open the branch");
        return false;
    }
    Statement insert(raw);
    BindText(raw, 1, m_root);
    BindText(raw, 2, m_basePath);
    if (sqlite3_step(raw) != SQLITE_DONE) {
        Fail("cannot create the branch");
        return false;
    }
    const bool created = sqlite3_changes(m_db) > 0;
    insert.reset();
    if (!FindBranch()) return false;
    if (createdNew) *createdNew = created;
    return true;
}

bool CRegistryStore::FindBranch() {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(m_db, "SELECT id FROM branches WHERE root=? AND path=?", -1, &raw,
                           nullptr) != SQLITE_OK) {
        Fail("cannot open the branch");
        sqlite3_finalize(raw);
        return false;
    }
    Statement select(raw);
    BindText(raw, 1, m_root);
    BindText(raw, 2, m_basePath);
    if (sqlite3_step(raw) != SQLITE_ROW) {
        Fail("cannot open the branch");
        return false;
    }
    m_branchId = sqlite3_column_int64(raw, 0);
    m_lastError.clear();
    return true;
}

bool CRegistryStore::OpenProgramBranch(const std::string& iniPath) {
    bool createdNew = false;
    if (!OpenBranch(kBranchPath, kRootKey, &createdNew)) return false;
    if (createdNew) ImportIniFile(iniPath);
    return true;
}

bool CRegistryStore::OpenProgramBranchReadOnly() {
    m_basePath = kBranchPath;
    m_root = kRootKey;
    m_readOnly = true;
    return OpenDatabase() && FindBranch();
}

// Returns the statement in `slot`, preparing it on first use. Each use
// resets it when done (StatementReset), so it holds no lock in between.
sqlite3_stmt* CRegistryStore::CachedStatement(sqlite3_stmt*& slot, const char* sql) {
    if (slot == nullptr &&
        sqlite3_prepare_v3(m_db, sql, -1, SQLITE_PREPARE_PERSISTENT, &slot, nullptr) != SQLITE_OK) {
        sqlite3_finalize(slot);
        slot = nullptr;
    }
    return slot;
}

namespace {

// Resets a cached statement when its use ends, releasing its locks.
struct StatementReset {
    sqlite3_stmt* statement;
    ~StatementReset() {
        sqlite3_reset(statement);
        sqlite3_clear_bindings(statement);
    }
};

}  // namespace

bool CRegistryStore::GetValue(const std::string& section, const std::string& name,
                              std::string* text) {
    if (!m_db) return false;
    sqlite3_stmt* raw = CachedStatement(
        m_selectValue, "SELECT text FROM settings WHERE branch=? AND section=? AND name=?");
    if (raw == nullptr) {
        Fail("cannot read " + section + "/" + name);
        return false;
    }
    const StatementReset reset{raw};
    sqlite3_bind_int64(raw, 1, m_branchId);
    BindText(raw, 2, section);
    BindText(raw, 3, name);
    const int step = sqlite3_step(raw);
    if (step != SQLITE_ROW) {
        if (step != SQLITE_DONE) Fail("cannot read " + section + "/" + name);
        return false;
    }
    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(raw, 0));
    const int size = sqlite3_column_bytes(raw, 0);
    text->assign(bytes ? bytes : "", static_cast<size_t>(size));
    return true;
}

bool CRegistryStore::SetValue(const std::string& section, const std::string& name,
                              const std::string& text) {
    if (!m_db) {
        if (m_lastError.empty()) m_lastError = "the settings store is not open";
        return false;
    }
    sqlite3_stmt* raw = CachedStatement(m_writeValue,
                                        "INSERT INTO settings(branch, section, name, text)"
                                        " VALUES(?, ?, ?, ?) ON CONFLICT(branch, section, name)"
                                        " DO UPDATE SET text=excluded.text");
    if (raw == nullptr) {
        Fail("cannot write " + section + "/" + name);
        return false;
    }
    const StatementReset reset{raw};
    sqlite3_bind_int64(raw, 1, m_branchId);
    BindText(raw, 2, section);
    BindText(raw, 3, name);
    sqlite3_bind_blob(raw, 4, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    if (sqlite3_step(raw) != SQLITE_DONE) {
        Fail("cannot write " + section + "/" + name);
        return false;
    }
    return true;
}

int CRegistryStore::GetInt(const std::string& section, const std::string& name, int defaultValue) {
    std::string text;
    if (!GetValue(section, name, &text)) return defaultValue;
    // Leading blanks are skipped and text after the number is ignored; a
    // text that does not start with a number, or one out of range, gives
    // the default.
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(begin, &end, 10);
    if (end == begin || errno == ERANGE || value < INT_MIN || value > INT_MAX) return defaultValue;
    return static_cast<int>(value);
}

bool CRegistryStore::SetInt(const std::string& section, const std::string& name, int value) {
    return SetValue(section, name, std::to_string(value));
}

std::string CRegistryStore::GetString(const std::string& section, const std::string& name,
                                      const std::string& defaultValue) {
    std::string text;
    return GetValue(section, name, &text) ? text : defaultValue;
}

bool CRegistryStore::SetString(const std::string& section, const std::string& name,
                               const std::string& text) {
    return SetValue(section, name, text);
}

int CRegistryStore::DeleteSection(const std::string& section) {
    if (!m_db) return 1;
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(m_db,
                           "DELETE FROM settings WHERE branch=? AND"
                           " (section=? OR substr(section, 1, ?) = ? COLLATE NOCASE)",
                           -1, &raw, nullptr) != SQLITE_OK) {
        Fail("cannot delete " + section);
        return 1;
    }
    Statement erase(raw);
    const std::string prefix = section + "\\";
    sqlite3_bind_int64(raw, 1, m_branchId);
    BindText(raw, 2, section);
    sqlite3_bind_int(raw, 3, static_cast<int>(prefix.size()));
    BindText(raw, 4, prefix);
    if (sqlite3_step(raw) != SQLITE_DONE) {
        Fail("cannot delete " + section);
        return 1;
    }
    return 0;
}

bool CRegistryStore::DeleteValue(const std::string& section, const std::string& name) {
    if (!m_db) return false;
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(m_db, "DELETE FROM settings WHERE branch=? AND section=? AND name=?", -1,
                           &raw, nullptr) != SQLITE_OK) {
        Fail("cannot delete " + section + "/" + name);
        sqlite3_finalize(raw);
        return false;
    }
    Statement erase(raw);
    sqlite3_bind_int64(raw, 1, m_branchId);
    BindText(raw, 2, section);
    BindText(raw, 3, name);
    if (sqlite3_step(raw) != SQLITE_DONE) {
        Fail("cannot delete " + section + "/" + name);
        return false;
    }
    return true;
}

bool CRegistryStore::ValueNames(const std::string& section, std::vector<std::string>& names) {
    names.clear();
    if (!m_db) return false;
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(m_db, "SELECT name FROM settings WHERE branch=? AND section=?", -1, &raw,
                           nullptr) != SQLITE_OK) {
        Fail("cannot read " + section);
        sqlite3_finalize(raw);
        return false;
    }
    Statement select(raw);
    sqlite3_bind_int64(raw, 1, m_branchId);
    BindText(raw, 2, section);
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(raw)) == SQLITE_ROW) {
        const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(raw, 0));
        names.emplace_back(name ? name : "");
    }
    if (step != SQLITE_DONE) {
        Fail("cannot read " + section);
        return false;
    }
    return true;
}

void CRegistryStore::SetBusyTimeout(int milliseconds) {
    if (m_db) sqlite3_busy_timeout(m_db, milliseconds);
}

bool CRegistryStore::Checkpoint() {
    if (!m_db || m_transactionDepth > 0) return false;
    int logFrames = 0;
    int folded = 0;
    const int result =
        sqlite3_wal_checkpoint_v2(m_db, nullptr, SQLITE_CHECKPOINT_TRUNCATE, &logFrames, &folded);
    if (result != SQLITE_OK) Fail("cannot fold the log into " + m_path);
    return result == SQLITE_OK;
}

// The outermost group takes the write lock at once (BEGIN IMMEDIATE), so two
// running copies queue on the busy timeout instead of failing on a stale
// read; inner groups are savepoints.
bool CRegistryStore::BeginTransaction() {
    if (!m_db) return false;
    const std::string sql = m_transactionDepth == 0
                                ? std::string("BEGIN IMMEDIATE")
                                : "SAVEPOINT keynest" + std::to_string(m_transactionDepth);
    if (!Exec(sql.c_str())) return false;
    ++m_transactionDepth;
    return true;
}

bool CRegistryStore::CommitTransaction() {
    if (!m_db || m_transactionDepth == 0) return false;
    const std::string sql = m_transactionDepth == 1
                                ? std::string("COMMIT")
                                : "RELEASE keynest" + std::to_string(m_transactionDepth - 1);
    if (!Exec(sql.c_str())) {
        // The commit failed (a full disk, say): undo the whole group.
        RollbackTransaction();
        return false;
    }
    --m_transactionDepth;
    return true;
}

void CRegistryStore::RollbackTransaction() {
    if (!m_db || m_transactionDepth == 0) return;
    const std::string error = m_lastError;
    if (m_transactionDepth == 1) {
        Exec("ROLLBACK");
    } else {
        const std::string name = "keynest" + std::to_string(m_transactionDepth - 1);
        Exec(("ROLLBACK TO " + name).c_str());
        Exec(("RELEASE " + name).c_str());
    }
    m_lastError = error;
    --m_transactionDepth;
}

void CRegistryStore::ImportIniFile(const std::string& iniPath) {
    // The old file may be anything: only a regular one is read, and a FIFO
    // is never waited on.
    const int fd = OpenRegularFile(iniPath, O_RDONLY, false);
    FILE* file = fd < 0 ? nullptr : ::fdopen(fd, "r");
    if (!file) {
        if (fd >= 0) ::close(fd);
        return;
    }
    CStoreTransaction transaction(*this);
    bool sectionOpen = false;
    std::string section;
    char buffer[520];
    while (std::fgets(buffer, sizeof buffer, file)) {
        const std::string text = Trim(buffer);
        const size_t open = text.find('[');
        const size_t close = text.find(']');
        if (open != std::string::npos && close != std::string::npos &&
            close >= open && close - open + 1 == text.size()) {
            std::string name = text;
            name[open] = ' ';
            name[close] = ' ';
            section = Trim(name);
            sectionOpen = true;
            continue;
        }
        const size_t equals = text.find('=');
        if (equals == std::string::npos || !sectionOpen) continue;
        SetValue(section, text.substr(0, equals), text.substr(equals + 1));
    }
    std::fclose(file);
    transaction.Commit();
}
