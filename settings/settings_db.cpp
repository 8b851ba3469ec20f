#include "settings/settings_db.h"

#include <sqlite3.h>

#include "settings/diagnostic.h"

namespace vrk {

TSettingsDb::TStatement::TStatement(TSettingsDb& db, const char* sql) : st_(db.Prepare(sql)) {}

TSettingsDb::TStatement::~TStatement() {
    if (st_ != nullptr) {
        sqlite3_reset(st_);
        sqlite3_clear_bindings(st_);
    }
}

void TSettingsDb::TStatement::Bind(int i, std::int64_t v) {
    sqlite3_bind_int64(st_, i, v);
}

void TSettingsDb::TStatement::Bind(int i, std::string_view bytes) {
    sqlite3_bind_blob(st_, i, bytes.empty() ? "" : bytes.data(), static_cast<int>(bytes.size()),
                      SQLITE_TRANSIENT);
}

int TSettingsDb::TStatement::Step() {
    return sqlite3_step(st_);
}

TSettingsDb::TTransaction::TTransaction(TSettingsDb& db, bool write) : db_(db) {
    TStatement begin(db, write ? "BEGIN IMMEDIATE" : "BEGIN");
    open_ = begin.ok() && begin.Step() == SQLITE_DONE;
}

TSettingsDb::TTransaction::~TTransaction() {
    if (open_) {
        TStatement rollback(db_, "ROLLBACK");
        if (rollback.ok()) rollback.Step();
    }
}

bool TSettingsDb::TTransaction::Commit() {
    TStatement commit(db_, "COMMIT");
    if (!commit.ok() || commit.Step() != SQLITE_DONE) return false;
    open_ = false;
    return true;
}

namespace {

std::string ColumnBytes(sqlite3_stmt* st, int i) {
    const void* p = sqlite3_column_blob(st, i);
    const int n = sqlite3_column_bytes(st, i);
    return p == nullptr ? std::string() : std::string(static_cast<const char*>(p), n);
}

}  // namespace

TSettingsDb::TSettingsDb(std::string path) : path_(std::move(path)) {}

TSettingsDb::~TSettingsDb() {
    for (auto& [sql, st] : statements_) sqlite3_finalize(st);
    sqlite3_close(db_);
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
    const TStoreFailure why = StoreFailureFromSqlite(sqlite3_extended_errcode(db_));
    // A statement that could not even be prepared may leave no error code.
    failure_ = why == TStoreFailure::kNone ? TStoreFailure::kIoError : why;
    return TRegResult::kStoreFailure;
}

TRegResult TSettingsDb::RefuseChange() {
    failure_ = TStoreFailure::kNoPermission;
    return TRegResult::kAccessDenied;
}

TStoreFailure TSettingsDb::LastFailure() const {
    return failure_;
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
    if (!writable_) return RefuseChange();
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
    if (!writable_) return RefuseChange();
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
    if (!writable_) return RefuseChange();
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
    if (!writable_) return RefuseChange();
    TStatement st(*this, "DELETE FROM vals WHERE key = ?1 AND name = ?2");
    if (!st.ok()) return Failure("delete a value");
    st.Bind(1, key);
    st.Bind(2, name);
    if (st.Step() != SQLITE_DONE) return Failure("delete a value");
    return sqlite3_changes(db_) > 0 ? TRegResult::kOk : TRegResult::kNotFound;
}

TRegResult TSettingsDb::DeleteChild(std::int64_t key, std::string_view name, bool withSubKeys) {
    std::lock_guard lock(mutex_);
    if (!writable_) return RefuseChange();
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
    if (!writable_) return RefuseChange();
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
