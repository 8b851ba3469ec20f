// One settings database file (the per-user or the per-machine store): a tree
// of keys holding named values, kept in SQLite. The layout of the file is in
// settings_format.md.
//
// Thread-safety: every member function may be called from any thread; calls
// are serialised by an internal lock. Several processes may use one file at
// the same time: every change is one transaction, and an operation waits up
// to kBusyTimeoutMs for a lock. A file that may be written is kept in WAL
// mode where its options allow it (readers then never wait for a writer);
// a file that can only be read is read without creating any file beside it.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "settings/reg_types.h"
#include "settings/store_failure.h"

struct sqlite3;
struct sqlite3_stmt;

namespace vrk {

// How a settings file is opened.
struct TSettingsOpenOptions {
    // Keep the file in WAL mode while it may be written. Without it the file
    // is kept in (or put back into) rollback-journal mode, which every
    // reader can read without write access to its folder.
    bool wal = true;
    // How long opening waits for another process that holds the file.
    std::chrono::milliseconds wait{3000};
};

class TSettingsDb {
  public:
    static constexpr int kBusyTimeoutMs = 10000;
    // The id of the top key of every database.
    static constexpr std::int64_t kTopKey = 1;

    // Opens the file for reading and writing when the file and its folder
    // may be written, else for reading only. A missing or empty file that
    // may be written is given the layout; a layout-1 file that may be
    // written is rebuilt as the current layout. A file that is damaged (its
    // header, a page or an index), not a database, or another
    // program's database is left untouched: the result is null, `error`
    // says why and `failure` gives the reason (kBusy when another process
    // held the file for longer than the options allow).
    static std::shared_ptr<TSettingsDb> Open(const std::string& path,
                                             const TSettingsOpenOptions& options,
                                             std::string& error, TStoreFailure* failure = nullptr);
    ~TSettingsDb();
    TSettingsDb(const TSettingsDb&) = delete;
    TSettingsDb& operator=(const TSettingsDb&) = delete;

    const std::string& path() const { return path_; }
    // False when the file could only be opened for reading.
    bool writable() const { return writable_; }
    // The layout the file has (a read-only layout-1 file stays at 1).
    std::int64_t layoutVersion() const { return version_; }
    // Why the most recent operation that failed with kStoreFailure, or with
    // kAccessDenied because the file can only be read, failed; kNone while
    // none has. A later success does not clear it.
    TStoreFailure LastFailure() const;
    // kAccessDenied for a change of a file that can only be read, keeping
    // its reason (kNoPermission) as the last failure.
    [[nodiscard]] TRegResult RefuseChange();

    // Follows `names` down from `key`; kNotFound when one is missing.
    [[nodiscard]] TRegResult Resolve(std::int64_t key, const std::vector<std::string>& names,
                                     std::int64_t& found);
    // Follows `names` down from `key`, creating every missing key, in one
    // transaction. `created` tells whether the last key was new.
    [[nodiscard]] TRegResult ResolveOrCreate(std::int64_t key,
                                             const std::vector<std::string>& names,
                                             std::int64_t& found, bool& created);

    // The first child key (or value) after the one with id `after` in
    // creation order; after = 0 gives the first. kNoMoreItems past the end.
    [[nodiscard]] TRegResult NextChild(std::int64_t key, std::int64_t after, std::int64_t& id,
                                       std::string& name);
    [[nodiscard]] TRegResult NextValue(std::int64_t key, std::int64_t after, std::int64_t& id,
                                       TRegValue& value);
    // The child key (or value) at a position in creation order.
    [[nodiscard]] TRegResult ChildAt(std::int64_t key, std::uint32_t index, std::int64_t& id,
                                     std::string& name);
    [[nodiscard]] TRegResult ValueAt(std::int64_t key, std::uint32_t index, std::int64_t& id,
                                     TRegValue& value);

    [[nodiscard]] TRegResult QueryValue(std::int64_t key, std::string_view name, TRegValue& value);
    // Adds the value at the end of the key's values, or replaces the type and
    // data of an existing one in its place. kNotFound when the key is gone.
    [[nodiscard]] TRegResult SetValue(std::int64_t key, std::string_view name, TValueType type,
                                      std::string_view data);
    [[nodiscard]] TRegResult DeleteValue(std::int64_t key, std::string_view name);
    // Deletes a child key with its values; kNotEmpty when it has sub-keys
    // and `withSubKeys` is false.
    [[nodiscard]] TRegResult DeleteChild(std::int64_t key, std::string_view name, bool withSubKeys);
    // Moves a child key, with everything below it, under `target` with a new
    // name, in one transaction. kAlreadyExists when the target name is taken,
    // or, with `uniqueBelow` (a key id, 0 for none), when any key below that
    // key is already named `newName`; kInvalidName when `target` lies inside
    // the moved key.
    [[nodiscard]] TRegResult MoveChild(std::int64_t key, std::string_view name, std::int64_t target,
                                       std::string_view newName, std::int64_t uniqueBelow = 0);
    // Creates the child `name` of `key` unless any key below `uniqueBelow`
    // (at any depth) already has that name (kAlreadyExists), checking and
    // creating in one transaction, so that two processes never both create
    // one name. `id` is the new key's.
    [[nodiscard]] TRegResult CreateUniqueChild(std::int64_t key, std::string_view name,
                                               std::int64_t uniqueBelow, std::int64_t& id);

  private:
    // A cached statement, reset (and its bindings cleared) when the scope
    // that used it ends.
    class TStatement {
      public:
        TStatement(TSettingsDb& db, const char* sql);
        ~TStatement();
        TStatement(const TStatement&) = delete;
        TStatement& operator=(const TStatement&) = delete;

        bool ok() const { return st_ != nullptr; }
        sqlite3_stmt* get() const { return st_; }
        void Bind(int i, std::int64_t v);
        // Names and data are bound as byte strings, so that comparison is exact.
        void Bind(int i, std::string_view bytes);
        int Step();

      private:
        sqlite3_stmt* st_;
    };

    // One transaction; rolled back unless committed.
    class TTransaction {
      public:
        TTransaction(TSettingsDb& db, bool write);
        ~TTransaction();
        TTransaction(const TTransaction&) = delete;
        TTransaction& operator=(const TTransaction&) = delete;
        bool open() const { return open_; }
        bool Commit();

      private:
        TSettingsDb& db_;
        bool open_ = false;
    };

    explicit TSettingsDb(std::string path);
    // Opening in steps, each in settings_db_open.cpp: the file, its layout,
    // its integrity, an upgrade of an old layout, its journal mode. Each
    // step sets `error` and failure_ on failure.
    bool Setup(const TSettingsOpenOptions& options, std::string& error);
    bool OpenFile(std::string& error);
    bool EnsureLayout(std::string& error);
    bool CreateLayout(std::string& error);
    bool CheckIntegrity(std::string& error);
    bool UpgradeLayout(std::string& error);
    void SetJournalMode(bool wal);
    // Records an SQLite failure of opening in `error` and failure_.
    bool OpenFailure(std::string& error, const char* what);
    // Records a refusal of opening in `error` and failure_.
    bool Refuse(std::string& error, TStoreFailure why, std::string text);
    // A prepared statement for `sql`, kept for the life of the connection.
    sqlite3_stmt* Prepare(const char* sql);
    // Reports an SQLite failure as a diagnostic line, keeps its reason and
    // returns kStoreFailure.
    TRegResult Failure(const char* what);
    TRegResult KeyExists(std::int64_t key);
    TRegResult FindChild(std::int64_t key, std::string_view name, std::int64_t& id);
    // kAlreadyExists when a key below `scope` is named `name`, kOk when none.
    TRegResult CheckNameFreeBelow(std::int64_t scope, std::string_view name);
    // Binds the key and `second` (an id to start after, or a position) to
    // an enumeration query and steps to its row; kNoMoreItems when there is
    // none.
    TRegResult EnumerationRow(TStatement& st, std::int64_t key, std::int64_t second,
                              const char* what);
    // The same, reading a key row (id, name).
    TRegResult ReadKeyRow(TStatement& st, std::int64_t key, std::int64_t second, std::int64_t& id,
                          std::string& name);
    // Reads a value row (id, name, type, data).
    TRegResult ReadValueRow(sqlite3_stmt* st, std::int64_t& id, TRegValue& value);

    std::string path_;
    sqlite3* db_ = nullptr;
    bool writable_ = true;
    // Written by any thread, also outside mutex_ (RefuseChange).
    std::atomic<TStoreFailure> failure_{TStoreFailure::kNone};
    std::int64_t version_ = 0;
    std::mutex mutex_;
    std::vector<std::pair<const char*, sqlite3_stmt*>> statements_;
};

}  // namespace vrk
