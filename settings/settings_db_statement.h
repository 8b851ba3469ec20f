// The statement and transaction helpers shared by the files of TSettingsDb
// (settings_db.cpp, settings_db_open.cpp); no other file includes it.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string_view>

#include "settings/settings_db.h"

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

}  // namespace vrk
