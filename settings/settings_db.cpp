#include "settings/settings_db.h"

#include <sqlite3.h>

#include <chrono>
#include <thread>

#include "settings/diagnostic.h"
#include "settings/settings_format.h"

namespace vrk {

// Resets a cached statement when the scope that used it ends.
class TSettingsDb::TStatement {
  public:
    TStatement(TSettingsDb& db, const char* sql) : st_(db.Prepare(sql)) {}
    ~TStatement() {
        if (st_ != nullptr) {
            sqlite3_reset(st_);
            sqlite3_clear_bindings(st_);
        }
    }
    TStatement(const TStatement&) = delete;
    TStatement& operator=(const TStatement&) = delete;

    bool ok() const { return st_ != nullptr; }
    sqlite3_stmt* get() const { return st_; }
    void Bind(int i, std::int64_t v) { sqlite3_bind_int64(st_, i, v); }
    // Names and data are bound as byte strings, so that comparison is exact.
    void Bind(int i, std::string_view bytes) {
        sqlite3_bind_blob(st_, i, bytes.empty() ? "" : bytes.data(), static_cast<int>(bytes.size()),
                          SQLITE_TRANSIENT);
    }
    int Step() { return sqlite3_step(st_); }

  private:
    sqlite3_stmt* st_;
};

// One transaction; rolled back unless committed.
class TSettingsDb::TTransaction {
  public:
    TTransaction(TSettingsDb& db, bool write) : db_(db) {
        TStatement begin(db, write ? "BEGIN IMMEDIATE" : "BEGIN");
        open_ = begin.ok() && begin.Step() == SQLITE_DONE;
    }
    ~TTransaction() {
        if (open_) {
            TStatement rollback(db_, "ROLLBACK");
            if (rollback.ok()) rollback.Step();
        }
    }
    bool open() const { return open_; }
    bool Commit() {
        TStatement commit(db_, "COMMIT");
        if (!commit.ok() || commit.Step() != SQLITE_DONE) return false;
        open_ = false;
        return true;
    }

  private:
    TSettingsDb& db_;
    bool open_ = false;
};

namespace {

std::string ColumnBytes(sqlite3_stmt* st, int i) {
    const void* p = sqlite3_column_blob(st, i);
    const int n = sqlite3_column_bytes(st, i);
    return p == nullptr ? std::string() : std::string(static_cast<const char*>(p), n);
}

bool IsBusy(int rc) {
    return (rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED;
}

}  // namespace

TSettingsDb::TSettingsDb(std::string path) : path_(std::move(path)) {}

TSettingsDb::~TSettingsDb() {
    for (auto& [sql, st] : statements_) sqlite3_finalize(st);
    sqlite3_close(db_);
}

std::shared_ptr<TSettingsDb> TSettingsDb::Open(const std::string& path, std::string& error) {
    std::shared_ptr<TSettingsDb> db(new TSettingsDb(path));
    if (!db->Setup(error)) return nullptr;
    return db;
}

bool TSettingsDb::Setup(std::string& error) {
    if (!OpenFile(error) || !EnsureLayout(error)) return false;
    if (writable_) EnableWal();
    return true;
}

// Read and write when the file allows it, else read only.
bool TSettingsDb::OpenFile(std::string& error) {
    int rc =
        sqlite3_open_v2(path_.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_close(db_);
        db_ = nullptr;
        rc = sqlite3_open_v2(path_.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr);
    }
    if (rc != SQLITE_OK) {
        error = db_ != nullptr ? sqlite3_errmsg(db_) : "cannot open the file";
        return false;
    }
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    writable_ = sqlite3_db_readonly(db_, "main") == 0;
    return true;
}

// Checks the file before anything is written to it: only an empty database
// is given our layout, and only a database carrying our application id is
// used. Everything else is refused and left as it is.
bool TSettingsDb::EnsureLayout(std::string& error) {
    for (int attempt = 0;; ++attempt) {
        std::int64_t appId = 0, version = 0, objects = 0;
        {
            TStatement a(*this, "PRAGMA application_id");
            TStatement v(*this, "PRAGMA user_version");
            TStatement n(*this, "SELECT count(*) FROM sqlite_schema");
            if (!a.ok() || !v.ok() || !n.ok()) {
                error = sqlite3_errmsg(db_);
                // Another process may hold the file while it sets it up.
                if (IsBusy(sqlite3_errcode(db_)) && attempt < kLayoutAttempts) {
                    std::this_thread::sleep_for(kLayoutRetryPause);
                    continue;
                }
                return false;
            }
            if (a.Step() == SQLITE_ROW) appId = sqlite3_column_int64(a.get(), 0);
            if (v.Step() == SQLITE_ROW) version = sqlite3_column_int64(v.get(), 0);
            if (n.Step() == SQLITE_ROW) objects = sqlite3_column_int64(n.get(), 0);
        }
        if (appId == kSettingsApplicationId) {
            if (version == kSettingsLayoutVersion) return true;
            error = "written by another version of the settings store (layout " +
                    std::to_string(version) + ")";
            return false;
        }
        if (appId != 0 || objects != 0) {
            error = "not a settings database";
            return false;
        }
        if (!writable_) {
            error = "empty and read-only";
            return false;
        }
        if (!CreateLayout(error)) return false;
    }
}

// Another process may be creating the layout at this moment: it is created
// under the write lock, only when the file is still empty, and looked at
// again by the caller.
bool TSettingsDb::CreateLayout(std::string& error) {
    TTransaction t(*this, true);
    if (!t.open()) {
        error = sqlite3_errmsg(db_);
        return false;
    }
    bool empty = false;
    {
        TStatement n(*this, "SELECT count(*) FROM sqlite_schema");
        empty = n.ok() && n.Step() == SQLITE_ROW && sqlite3_column_int64(n.get(), 0) == 0;
    }
    if (empty) {
        char* message = nullptr;
        if (sqlite3_exec(db_, kSettingsLayoutSql, nullptr, nullptr, &message) != SQLITE_OK) {
            error = message != nullptr ? message : "cannot create the layout";
            sqlite3_free(message);
            return false;
        }
    }
    if (!t.Commit()) {
        error = sqlite3_errmsg(db_);
        return false;
    }
    return true;
}

// WAL lets the programs and the tool read while one of them writes. The mode
// is kept in the file; switching needs a moment alone, so a busy file is
// tried again a few times. A file left in its old mode still works.
void TSettingsDb::EnableWal() {
    for (int attempt = 0; attempt < kWalAttempts; ++attempt) {
        TStatement wal(*this, "PRAGMA journal_mode=WAL");
        if (wal.ok() && wal.Step() == SQLITE_ROW) return;
        if (!IsBusy(sqlite3_errcode(db_))) return;
        std::this_thread::sleep_for(kWalRetryPause);
    }
}

sqlite3_stmt* TSettingsDb::Prepare(const char* sql) {
    for (auto& [text, st] : statements_)
        if (text == sql) return st;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &st, nullptr) != SQLITE_OK)
        return nullptr;
    statements_.emplace_back(sql, st);
    return st;
}

TRegResult TSettingsDb::Failure(const char* what) {
    TDebugLine(std::string("* Settings store ") + path_ + ": " + what + ": " + sqlite3_errmsg(db_));
    return TRegResult::kStoreFailure;
}

TRegResult TSettingsDb::KeyExists(std::int64_t key) {
    TStatement st(*this, "SELECT 1 FROM keys WHERE id = ?1");
    if (!st.ok()) return Failure("look up a key");
    st.Bind(1, key);
    const int rc = st.Step();
    if (rc == SQLITE_ROW) return TRegResult::kOk;
    if (rc == SQLITE_DONE) return TRegResult::kNotFound;
    return Failure("look up a key");
}

TRegResult TSettingsDb::FindChild(std::int64_t key, std::string_view name, std::int64_t& id) {
    TStatement st(*this, "SELECT id FROM keys WHERE parent = ?1 AND name = ?2");
    if (!st.ok()) return Failure("look up a key");
    st.Bind(1, key);
    st.Bind(2, name);
    const int rc = st.Step();
    if (rc == SQLITE_ROW) {
        id = sqlite3_column_int64(st.get(), 0);
        return TRegResult::kOk;
    }
    if (rc == SQLITE_DONE) return TRegResult::kNotFound;
    return Failure("look up a key");
}

TRegResult TSettingsDb::CheckNameFreeBelow(std::int64_t scope, std::string_view name) {
    TStatement st(*this,
                  "WITH RECURSIVE sub(id) AS (SELECT ?1 UNION ALL "
                  "SELECT keys.id FROM keys JOIN sub ON keys.parent = sub.id) "
                  "SELECT 1 FROM keys WHERE name = ?2 AND parent IN sub LIMIT 1");
    if (!st.ok()) return Failure("look up a name");
    st.Bind(1, scope);
    st.Bind(2, name);
    const int rc = st.Step();
    if (rc == SQLITE_ROW) return TRegResult::kAlreadyExists;
    if (rc == SQLITE_DONE) return TRegResult::kOk;
    return Failure("look up a name");
}

TRegResult TSettingsDb::Resolve(std::int64_t key, const std::vector<std::string>& names,
                                std::int64_t& found) {
    std::lock_guard lock(mutex_);
    TTransaction t(*this, false);
    if (!t.open()) return Failure("begin reading");
    TRegResult r = KeyExists(key);
    for (const std::string& name : names) {
        if (r != TRegResult::kOk) break;
        r = FindChild(key, name, key);
    }
    if (r == TRegResult::kOk) found = key;
    return r;
}

TRegResult TSettingsDb::ResolveOrCreate(std::int64_t key, const std::vector<std::string>& names,
                                        std::int64_t& found, bool& created) {
    std::lock_guard lock(mutex_);
    if (!writable_) return TRegResult::kAccessDenied;
    TTransaction t(*this, true);
    if (!t.open()) return Failure("begin writing");
    TRegResult r = KeyExists(key);
    created = false;
    for (const std::string& name : names) {
        if (r != TRegResult::kOk) return r;
        r = FindChild(key, name, key);
        created = r == TRegResult::kNotFound;
        if (created) {
            TStatement st(*this, "INSERT INTO keys(parent, name) VALUES (?1, ?2)");
            if (!st.ok()) return Failure("create a key");
            st.Bind(1, key);
            st.Bind(2, name);
            if (st.Step() != SQLITE_DONE) return Failure("create a key");
            key = sqlite3_last_insert_rowid(db_);
            r = TRegResult::kOk;
        }
    }
    if (r != TRegResult::kOk) return r;
    if (!t.Commit()) return Failure("commit");
    found = key;
    return TRegResult::kOk;
}

TRegResult TSettingsDb::CreateUniqueChild(std::int64_t key, std::string_view name,
                                          std::int64_t uniqueBelow, std::int64_t& id) {
    std::lock_guard lock(mutex_);
    if (!writable_) return TRegResult::kAccessDenied;
    // The write lock is taken before the name is looked up, so no other
    // process can create the name between the check and the insert.
    TTransaction t(*this, true);
    if (!t.open()) return Failure("begin writing");
    if (TRegResult r = KeyExists(key); r != TRegResult::kOk) return r;
    if (TRegResult r = KeyExists(uniqueBelow); r != TRegResult::kOk) return r;
    if (TRegResult r = CheckNameFreeBelow(uniqueBelow, name); r != TRegResult::kOk) return r;
    std::int64_t existing = 0;
    if (TRegResult r = FindChild(key, name, existing); r != TRegResult::kNotFound)
        return r == TRegResult::kOk ? TRegResult::kAlreadyExists : r;
    TStatement st(*this, "INSERT INTO keys(parent, name) VALUES (?1, ?2)");
    if (!st.ok()) return Failure("create a key");
    st.Bind(1, key);
    st.Bind(2, name);
    if (st.Step() != SQLITE_DONE) return Failure("create a key");
    const std::int64_t created = sqlite3_last_insert_rowid(db_);
    if (!t.Commit()) return Failure("commit");
    id = created;
    return TRegResult::kOk;
}

TRegResult TSettingsDb::EnumerationRow(TStatement& st, std::int64_t key, std::int64_t second,
                                       const char* what) {
    if (!st.ok()) return Failure(what);
    st.Bind(1, key);
    st.Bind(2, second);
    const int rc = st.Step();
    if (rc == SQLITE_DONE) return TRegResult::kNoMoreItems;
    if (rc != SQLITE_ROW) return Failure(what);
    return TRegResult::kOk;
}

TRegResult TSettingsDb::ReadKeyRow(TStatement& st, std::int64_t key, std::int64_t second,
                                   std::int64_t& id, std::string& name) {
    const TRegResult r = EnumerationRow(st, key, second, "enumerate keys");
    if (r != TRegResult::kOk) return r;
    id = sqlite3_column_int64(st.get(), 0);
    name = ColumnBytes(st.get(), 1);
    return TRegResult::kOk;
}

TRegResult TSettingsDb::NextChild(std::int64_t key, std::int64_t after, std::int64_t& id,
                                  std::string& name) {
    std::lock_guard lock(mutex_);
    TStatement st(*this,
                  "SELECT id, name FROM keys WHERE parent = ?1 AND id > ?2 ORDER BY id LIMIT 1");
    return ReadKeyRow(st, key, after, id, name);
}

TRegResult TSettingsDb::ChildAt(std::int64_t key, std::uint32_t index, std::int64_t& id,
                                std::string& name) {
    std::lock_guard lock(mutex_);
    TStatement st(*this,
                  "SELECT id, name FROM keys WHERE parent = ?1 ORDER BY id LIMIT 1 OFFSET ?2");
    return ReadKeyRow(st, key, static_cast<std::int64_t>(index), id, name);
}

// Columns: id, name, type, data.
TRegResult TSettingsDb::ReadValueRow(sqlite3_stmt* st, std::int64_t& id, TRegValue& value) {
    const int type = sqlite3_column_int(st, 2);
    if (type != static_cast<int>(TValueType::kString) &&
        type != static_cast<int>(TValueType::kBinary) &&
        type != static_cast<int>(TValueType::kNumber)) {
        TDebugLine("* Settings store " + path_ + ": a value has the unknown type " +
                   std::to_string(type));
        return TRegResult::kStoreFailure;
    }
    id = sqlite3_column_int64(st, 0);
    value.name = ColumnBytes(st, 1);
    value.type = static_cast<TValueType>(type);
    value.data = ColumnBytes(st, 3);
    return TRegResult::kOk;
}

TRegResult TSettingsDb::NextValue(std::int64_t key, std::int64_t after, std::int64_t& id,
                                  TRegValue& value) {
    std::lock_guard lock(mutex_);
    TStatement st(*this,
                  "SELECT id, name, type, data FROM vals WHERE key = ?1 AND id > ?2 "
                  "ORDER BY id LIMIT 1");
    const TRegResult r = EnumerationRow(st, key, after, "enumerate values");
    return r == TRegResult::kOk ? ReadValueRow(st.get(), id, value) : r;
}

TRegResult TSettingsDb::ValueAt(std::int64_t key, std::uint32_t index, std::int64_t& id,
                                TRegValue& value) {
    std::lock_guard lock(mutex_);
    TStatement st(*this,
                  "SELECT id, name, type, data FROM vals WHERE key = ?1 "
                  "ORDER BY id LIMIT 1 OFFSET ?2");
    const TRegResult r =
        EnumerationRow(st, key, static_cast<std::int64_t>(index), "enumerate values");
    return r == TRegResult::kOk ? ReadValueRow(st.get(), id, value) : r;
}

TRegResult TSettingsDb::QueryValue(std::int64_t key, std::string_view name, TRegValue& value) {
    std::lock_guard lock(mutex_);
    TStatement st(*this, "SELECT id, name, type, data FROM vals WHERE key = ?1 AND name = ?2");
    if (!st.ok()) return Failure("read a value");
    st.Bind(1, key);
    st.Bind(2, name);
    const int rc = st.Step();
    if (rc == SQLITE_DONE) return TRegResult::kNotFound;
    if (rc != SQLITE_ROW) return Failure("read a value");
    std::int64_t id = 0;
    return ReadValueRow(st.get(), id, value);
}

TRegResult TSettingsDb::SetValue(std::int64_t key, std::string_view name, TValueType type,
                                 std::string_view data) {
    std::lock_guard lock(mutex_);
    if (!writable_) return TRegResult::kAccessDenied;
    TTransaction t(*this, true);
    if (!t.open()) return Failure("begin writing");
    if (TRegResult r = KeyExists(key); r != TRegResult::kOk) return r;
    // An existing value keeps its row, and so its place in the enumeration.
    TStatement st(*this,
                  "INSERT INTO vals(key, name, type, data) VALUES (?1, ?2, ?3, ?4) "
                  "ON CONFLICT(key, name) DO UPDATE SET type = excluded.type, "
                  "data = excluded.data");
    if (!st.ok()) return Failure("write a value");
    st.Bind(1, key);
    st.Bind(2, name);
    st.Bind(3, static_cast<std::int64_t>(type));
    st.Bind(4, data);
    if (st.Step() != SQLITE_DONE) return Failure("write a value");
    if (!t.Commit()) return Failure("commit");
    return TRegResult::kOk;
}

TRegResult TSettingsDb::DeleteValue(std::int64_t key, std::string_view name) {
    std::lock_guard lock(mutex_);
    if (!writable_) return TRegResult::kAccessDenied;
    TStatement st(*this, "DELETE FROM vals WHERE key = ?1 AND name = ?2");
    if (!st.ok()) return Failure("delete a value");
    st.Bind(1, key);
    st.Bind(2, name);
    if (st.Step() != SQLITE_DONE) return Failure("delete a value");
    return sqlite3_changes(db_) > 0 ? TRegResult::kOk : TRegResult::kNotFound;
}

TRegResult TSettingsDb::DeleteChild(std::int64_t key, std::string_view name, bool withSubKeys) {
    std::lock_guard lock(mutex_);
    if (!writable_) return TRegResult::kAccessDenied;
    TTransaction t(*this, true);
    if (!t.open()) return Failure("begin writing");
    std::int64_t child = 0;
    if (TRegResult r = FindChild(key, name, child); r != TRegResult::kOk) return r;
    if (!withSubKeys) {
        TStatement any(*this, "SELECT 1 FROM keys WHERE parent = ?1 LIMIT 1");
        if (!any.ok()) return Failure("delete a key");
        any.Bind(1, child);
        const int rc = any.Step();
        if (rc == SQLITE_ROW) return TRegResult::kNotEmpty;
        if (rc != SQLITE_DONE) return Failure("delete a key");
    }
    TStatement vals(*this,
                    "WITH RECURSIVE sub(id) AS (SELECT ?1 UNION ALL "
                    "SELECT keys.id FROM keys JOIN sub ON keys.parent = sub.id) "
                    "DELETE FROM vals WHERE key IN sub");
    TStatement keys(*this,
                    "WITH RECURSIVE sub(id) AS (SELECT ?1 UNION ALL "
                    "SELECT keys.id FROM keys JOIN sub ON keys.parent = sub.id) "
                    "DELETE FROM keys WHERE id IN sub");
    if (!vals.ok() || !keys.ok()) return Failure("delete a key");
    vals.Bind(1, child);
    keys.Bind(1, child);
    if (vals.Step() != SQLITE_DONE || keys.Step() != SQLITE_DONE) return Failure("delete a key");
    if (!t.Commit()) return Failure("commit");
    return TRegResult::kOk;
}

TRegResult TSettingsDb::MoveChild(std::int64_t key, std::string_view name, std::int64_t target,
                                  std::string_view newName, std::int64_t uniqueBelow) {
    std::lock_guard lock(mutex_);
    if (!writable_) return TRegResult::kAccessDenied;
    TTransaction t(*this, true);
    if (!t.open()) return Failure("begin writing");
    std::int64_t child = 0, taken = 0;
    if (TRegResult r = FindChild(key, name, child); r != TRegResult::kOk) return r;
    if (TRegResult r = KeyExists(target); r != TRegResult::kOk) return r;
    TRegResult r = FindChild(target, newName, taken);
    if (r == TRegResult::kOk) return TRegResult::kAlreadyExists;
    if (r != TRegResult::kNotFound) return r;
    if (uniqueBelow != 0) {
        if (r = KeyExists(uniqueBelow); r != TRegResult::kOk) return r;
        if (r = CheckNameFreeBelow(uniqueBelow, newName); r != TRegResult::kOk) return r;
    }
    // A key cannot move below itself.
    TStatement up(*this,
                  "WITH RECURSIVE up(id) AS (SELECT ?1 UNION ALL "
                  "SELECT keys.parent FROM keys JOIN up ON keys.id = up.id "
                  "WHERE keys.parent IS NOT NULL) SELECT 1 FROM up WHERE id = ?2");
    if (!up.ok()) return Failure("move a key");
    up.Bind(1, target);
    up.Bind(2, child);
    const int rc = up.Step();
    if (rc == SQLITE_ROW) return TRegResult::kInvalidName;
    if (rc != SQLITE_DONE) return Failure("move a key");
    TStatement move(*this, "UPDATE keys SET parent = ?1, name = ?2 WHERE id = ?3");
    if (!move.ok()) return Failure("move a key");
    move.Bind(1, target);
    move.Bind(2, newName);
    move.Bind(3, child);
    if (move.Step() != SQLITE_DONE) return Failure("move a key");
    if (!t.Commit()) return Failure("commit");
    return TRegResult::kOk;
}

}  // namespace vrk
