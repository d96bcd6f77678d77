#pragma once

#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

/// The settings store: sections of named string values below one branch,
/// kept in an SQLite database file. Every value is text; integers are
/// written as decimal text. Calls never throw; failures give the caller's
/// default (reads) or false (writes), with the reason in LastError().
class CRegistryStore final {
public:
    /// Root under which the program's branch lives.
    static constexpr const char* kRootKey = "HKEY_LOCAL_MACHINE";
    /// The program's branch path.
    static constexpr const char* kBranchPath = "Software\\Tarnwick\\Keynest";

    /// Uses the database file at `databasePath`; nothing is opened yet.
    explicit CRegistryStore(std::string databasePath);
    ~CRegistryStore();
    CRegistryStore(const CRegistryStore&) = delete;
    CRegistryStore& operator=(const CRegistryStore&) = delete;

    /// Opens (creating when missing) the database and the branch `path`
    /// below `root`. `createdNew` tells whether the branch was created by
    /// this call. A damaged or unreadable file is left untouched.
    bool OpenBranch(const std::string& path, const std::string& root, bool* createdNew);

    int GetInt(const std::string& section, const std::string& name, int defaultValue);
    bool SetInt(const std::string& section, const std::string& name, int value);
    std::string GetString(const std::string& section, const std::string& name,
                          const std::string& defaultValue);
    bool SetString(const std::string& section, const std::string& name, const std::string& text);
    /// Removes the section and every section below it. Returns 0 on success.
    int DeleteSection(const std::string& section);
    /// Removes one value; true when it is gone (also when it was not there).
    bool DeleteValue(const std::string& section, const std::string& name);
    /// The names of the values of `section` (not of the sections below it).
    /// False when they could not be read.
    bool ValueNames(const std::string& section, std::vector<std::string>& names);
    /// Folds the write-ahead log into the database file and empties it, so
    /// that no old page image stays behind in the log. Only outside a
    /// transaction; false when the log could not be emptied (another
    /// connection reading keeps it: nothing is lost then).
    bool Checkpoint();
    /// How long a call waits for another connection's write lock.
    void SetBusyTimeout(int milliseconds);
    /// True while a transaction is open.
    bool InTransaction() const { return m_transactionDepth > 0; }

    /// Opens the program's branch; when it is created by this call, copies
    /// the old INI file at `iniPath` into it first. False when the store
    /// cannot be opened (LastError() says why).
    bool OpenProgramBranch(const std::string& iniPath);

    /// Opens the existing database only to read the program's branch:
    /// nothing is created or written, not even a write-ahead log, so that a
    /// store on read-only media or one the user may not write can be read.
    /// False when the file is missing, not a store, or holds no such branch.
    bool OpenProgramBranchReadOnly();

    /// Copies the sections and values of an old INI file into the branch.
    /// Meant to run once, right after the branch was created.
    void ImportIniFile(const std::string& iniPath);

    /// Groups writes: either all writes between BeginTransaction and a
    /// successful CommitTransaction are stored, or none. Nests.
    bool BeginTransaction();
    bool CommitTransaction();
    void RollbackTransaction();

    bool IsOpen() const { return m_db != nullptr; }
    /// True when opening failed because the file is damaged or not a
    /// database; the file was left exactly as it was found.
    bool IsDamaged() const { return m_damaged; }
    const std::string& DatabasePath() const { return m_path; }
    /// The reason for the last failure, empty when there was none.
    const std::string& LastError() const { return m_lastError; }

private:
    bool Exec(const char* sql);
    bool OpenDatabase();
    bool OpenReadOnlyDatabase();
    bool FindBranch();
    bool EnsureSchema();
    bool CheckIntegrity();
    bool SetValue(const std::string& section, const std::string& name, const std::string& text);
    bool GetValue(const std::string& section, const std::string& name, std::string* text);
    sqlite3_stmt* CachedStatement(sqlite3_stmt*& slot, const char* sql);
    void Fail(const std::string& what);

    std::string m_path;
    std::string m_root;
    std::string m_basePath;
    long long m_branchId = -1;  // row of the branch in the database
    sqlite3* m_db = nullptr;
    // The two statements every read and write runs, prepared once: whole
    // Item lists are tens of thousands of values.
    sqlite3_stmt* m_selectValue = nullptr;
    sqlite3_stmt* m_writeValue = nullptr;
    int m_transactionDepth = 0;
    bool m_damaged = false;
    bool m_readOnly = false;
    std::string m_lastError;
};

/// RAII transaction: rolls back unless Commit() succeeded.
class CStoreTransaction final {
public:
    explicit CStoreTransaction(CRegistryStore& store) : m_store(store), m_active(store.BeginTransaction()) {}
    ~CStoreTransaction() {
        if (m_active) m_store.RollbackTransaction();
    }
    CStoreTransaction(const CStoreTransaction&) = delete;
    CStoreTransaction& operator=(const CStoreTransaction&) = delete;

    bool IsActive() const { return m_active; }
    bool Commit() {
        if (!m_active) return false;
        m_active = false;
        return m_store.CommitTransaction();
    }

private:
    CRegistryStore& m_store;
    bool m_active;
};
