// Opening a settings database: which access the process gets, the checks a
// file must pass before anything is written to it, the upgrade of an old
// layout and the journal mode.
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <fstream>

#include "settings/settings_db.h"
#include "settings/settings_format.h"

namespace vrk {

namespace {

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Changing a file needs the file itself (or, while it is missing, the right
// to create it) and its folder, where the journal is kept.
bool MayWrite(const std::string& path) {
    if (access(FolderOf(path).c_str(), W_OK | X_OK) != 0) return false;
    return access(path.c_str(), F_OK) != 0 || access(path.c_str(), W_OK) == 0;
}

// What the first bytes of an existing file say.
struct THead {
    bool empty = true;     // no bytes at all (or no file)
    bool database = true;  // begins with a database header
    bool whole = true;     // as long as its pages
    bool wal = false;      // bytes 18 and 19 are 2 in a file in WAL mode
};

// SQLite takes a file shorter than one page for an empty database and would
// write its own over it, so a non-empty file is opened only when it begins
// with a database header and holds whole pages.
THead ReadHead(const std::string& path) {
    THead head;
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return head;
    const std::streamoff size = in.tellg();
    head.empty = size == 0;
    if (head.empty) return head;
    std::array<unsigned char, 100> bytes{};
    in.seekg(0);
    if (size < static_cast<std::streamoff>(bytes.size()) ||
        !in.read(reinterpret_cast<char*>(bytes.data()), bytes.size())) {
        head.database = false;
        return head;
    }
    static constexpr char kMagic[] = "SQLite format 3";  // and its terminating zero
    head.database = std::equal(kMagic, kMagic + sizeof kMagic, bytes.begin());
    const std::uint32_t pageSize =
        bytes[16] == 0 && bytes[17] == 1 ? 65536u : (bytes[16] << 8 | bytes[17]);
    head.whole = pageSize >= 512 && size >= pageSize && size % pageSize == 0;
    head.wal = bytes[18] == 2 && bytes[19] == 2;
    return head;
}

// A URI naming the file as one that does not change while it is open. A WAL
// file is read this way when its folder cannot be written: SQLite then reads
// the file alone, without the shared-memory file it would otherwise create
// beside it (changes still in another process's WAL are not seen).
std::string ImmutableUri(const std::string& path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string uri = "file:";
    for (unsigned char c : path) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '/' || c == '-' || c == '_' || c == '.';
        if (plain) {
            uri += static_cast<char>(c);
        } else {
            uri += '%';
            uri += kHex[c >> 4];
            uri += kHex[c & 15];
        }
    }
    return uri + "?immutable=1";
}

}  // namespace

std::shared_ptr<TSettingsDb> TSettingsDb::Open(const std::string& path,
                                               const TSettingsOpenOptions& options,
                                               std::string& error, TStoreFailure* failure) {
    std::shared_ptr<TSettingsDb> db(new TSettingsDb(path));
    const bool ok = db->Setup(options, error);
    if (failure != nullptr) *failure = ok ? TStoreFailure::kNone : db->failure_.load();
    return ok ? db : nullptr;
}

bool TSettingsDb::Setup(const TSettingsOpenOptions& options, std::string& error) {
    if (!OpenFile(error)) return false;
    // Every step below waits for another process at most what is left of
    // the time the options allow.
    const auto deadline = std::chrono::steady_clock::now() + options.wait;
    const auto arm = [&] {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        sqlite3_busy_timeout(db_, static_cast<int>(std::max<std::int64_t>(left.count(), 1)));
    };
    arm();
    if (!EnsureLayout(error)) return false;
    arm();
    if (!CheckIntegrity(error)) return false;
    arm();
    if (!UpgradeLayout(error)) return false;
    arm();
    SetJournalMode(options.wal);
    // The file passed its checks: closing may now fold the WAL back into it.
    if (writable_) sqlite3_db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 0, nullptr);
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    return true;
}

bool TSettingsDb::OpenFailure(std::string& error, const char* what) {
    error = std::string(what) + ": " + sqlite3_errmsg(db_);
    const TStoreFailure why = StoreFailureFromSqlite(sqlite3_extended_errcode(db_));
    failure_ = why == TStoreFailure::kNone ? TStoreFailure::kIoError : why;
    return false;
}

bool TSettingsDb::Refuse(std::string& error, TStoreFailure why, std::string text) {
    error = std::move(text);
    failure_ = why;
    return false;
}

bool TSettingsDb::OpenFile(std::string& error) {
    writable_ = MayWrite(path_);
    if (!writable_ && access(path_.c_str(), F_OK) != 0)
        return Refuse(error, TStoreFailure::kNoPermission,
                      "missing, and its folder cannot be written");
    const THead head = ReadHead(path_);
    if (!head.empty && !head.database)
        return Refuse(error, TStoreFailure::kNotDatabase, "file is not a database");
    if (!head.empty && !head.whole)
        return Refuse(error, TStoreFailure::kDamaged, "damaged (cut short inside a page)");
    std::string name = path_;
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    if (!writable_) {
        flags = SQLITE_OPEN_READONLY;
        if (head.wal) {
            name = ImmutableUri(path_);
            flags |= SQLITE_OPEN_URI;
        }
    }
    const int rc = sqlite3_open_v2(name.c_str(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        if (db_ == nullptr) return Refuse(error, TStoreFailure::kIoError, "cannot open the file");
        return OpenFailure(error, "open the file");
    }
    sqlite3_extended_result_codes(db_, 1);
    // Until the file has passed its checks, closing writes nothing into it.
    sqlite3_db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    writable_ = writable_ && sqlite3_db_readonly(db_, "main") == 0;
    return true;
}

// Only an empty file is given our layout, and only a database carrying our
// application id is used. Everything else is refused and left as it is.
bool TSettingsDb::EnsureLayout(std::string& error) {
    // A second look follows the creation of the layout (by this process or
    // by another one that was quicker).
    for (int look = 0; look < 2; ++look) {
        std::int64_t appId = 0, version = 0, pages = 0, objects = 0;
        {
            TStatement a(*this, "PRAGMA application_id");
            TStatement v(*this, "PRAGMA user_version");
            TStatement p(*this, "PRAGMA page_count");
            TStatement n(*this, "SELECT count(*) FROM sqlite_schema");
            if (!a.ok() || !v.ok() || !p.ok() || !n.ok() || a.Step() != SQLITE_ROW ||
                v.Step() != SQLITE_ROW || p.Step() != SQLITE_ROW || n.Step() != SQLITE_ROW)
                return OpenFailure(error, "read the header");
            appId = sqlite3_column_int64(a.get(), 0);
            version = sqlite3_column_int64(v.get(), 0);
            pages = sqlite3_column_int64(p.get(), 0);
            objects = sqlite3_column_int64(n.get(), 0);
        }
        if (appId == kSettingsApplicationId) {
            if (version == kSettingsLayoutVersion || version == kSettingsOldLayoutVersion) {
                version_ = version;
                return true;
            }
            return Refuse(error, TStoreFailure::kOtherVersion,
                          "written by another version of the settings store (layout " +
                              std::to_string(version) + ")");
        }
        // Empty: no page at all, or the bare first page of a database that
        // holds nothing and carries no one's marks.
        if (appId != 0 || version != 0 || objects != 0 || pages > 1)
            return Refuse(error, TStoreFailure::kNotDatabase, "not a settings database");
        if (!writable_) return Refuse(error, TStoreFailure::kNoPermission, "empty and read-only");
        if (!CreateLayout(error)) return false;
    }
    return Refuse(error, TStoreFailure::kIoError, "the layout could not be created");
}

// Another process may be creating the layout at this moment: it is created
// under the write lock, only while the file is still empty.
bool TSettingsDb::CreateLayout(std::string& error) {
    TTransaction t(*this, true);
    if (!t.open()) return OpenFailure(error, "create the layout");
    bool empty = false;
    {
        TStatement a(*this, "PRAGMA application_id");
        TStatement n(*this, "SELECT count(*) FROM sqlite_schema");
        if (!a.ok() || !n.ok() || a.Step() != SQLITE_ROW || n.Step() != SQLITE_ROW)
            return OpenFailure(error, "create the layout");
        empty = sqlite3_column_int64(a.get(), 0) == 0 && sqlite3_column_int64(n.get(), 0) == 0;
    }
    if (empty) {
        char* message = nullptr;
        if (sqlite3_exec(db_, kSettingsLayoutSql, nullptr, nullptr, &message) != SQLITE_OK) {
            sqlite3_free(message);
            return OpenFailure(error, "create the layout");
        }
    }
    if (!t.Commit()) return OpenFailure(error, "create the layout");
    return true;
}

// The header alone does not show a damaged page inside the file, and the
// pages alone do not show an index that lacks rows of its table (a value
// would then be written and not found again): the full check compares every
// index with its table. The store is small, so this costs little at start.
bool TSettingsDb::CheckIntegrity(std::string& error) {
    TStatement check(*this, "PRAGMA integrity_check(1)");
    if (!check.ok() || check.Step() != SQLITE_ROW) return OpenFailure(error, "check the file");
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(check.get(), 0));
    const std::string result = text != nullptr ? text : "";
    if (result == "ok") return true;
    return Refuse(error, TStoreFailure::kDamaged, "damaged (" + result + ")");
}

// A layout-1 file that may be written is rebuilt before its first change,
// so that no id is handed out twice from then on. One that can only be read
// is read as it is: the tables are the same.
bool TSettingsDb::UpgradeLayout(std::string& error) {
    if (version_ != kSettingsOldLayoutVersion || !writable_) return true;
    TTransaction t(*this, true);
    if (!t.open()) return OpenFailure(error, "upgrade the layout");
    std::int64_t version = 0;
    {
        TStatement v(*this, "PRAGMA user_version");
        if (!v.ok() || v.Step() != SQLITE_ROW) return OpenFailure(error, "upgrade the layout");
        version = sqlite3_column_int64(v.get(), 0);
    }
    if (version == kSettingsOldLayoutVersion) {
        char* message = nullptr;
        if (sqlite3_exec(db_, kSettingsUpgradeSql, nullptr, nullptr, &message) != SQLITE_OK) {
            sqlite3_free(message);
            return OpenFailure(error, "upgrade the layout");
        }
    }
    if (!t.Commit()) return OpenFailure(error, "upgrade the layout");
    version_ = kSettingsLayoutVersion;
    return true;
}

// WAL lets the programs and the tool read while one of them writes, but a
// WAL file can only be read by those who may create its side files. The mode
// is kept in the file; switching needs a moment alone, so a busy file stays
// in its old mode this time, and works in it.
void TSettingsDb::SetJournalMode(bool wal) {
    if (!writable_) return;
    std::string mode;
    {
        TStatement current(*this, "PRAGMA journal_mode");
        if (!current.ok() || current.Step() != SQLITE_ROW) return;
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(current.get(), 0));
        mode = text != nullptr ? text : "";
    }
    if (wal == (mode == "wal")) return;
    TStatement change(*this, wal ? "PRAGMA journal_mode=WAL" : "PRAGMA journal_mode=DELETE");
    if (change.ok()) change.Step();
}

}  // namespace vrk
