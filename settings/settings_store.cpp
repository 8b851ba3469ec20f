#include "settings/settings_store.h"

#include <pwd.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "settings/diagnostic.h"
#include "settings/settings_db.h"

#ifndef VRK3_MACHINE_SETTINGS_DIR
#define VRK3_MACHINE_SETTINGS_DIR "/etc/vrk3"
#endif

namespace vrk {

namespace {

struct TConnection {
    std::shared_ptr<TSettingsDb> db;
    bool failing = false;                          // the last open failed, and that was reported
    TStoreFailure failure = TStoreFailure::kNone;  // why the last open failed
    bool waited = false;                           // the first open, with its longer wait, is done
    std::chrono::steady_clock::time_point retryAt{};
};

std::mutex g_mutex;
TConnection g_user;
TConnection g_machine;
TStoreTiming g_timing;

std::string EnvOr(const char* name, std::string fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::string(value) : fallback;
}

std::string AbsoluteEnv(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] == '/' ? std::string(value) : std::string();
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Creates every missing folder of `path` with `mode` (whatever the umask:
// the per-machine folder must be readable by every user).
void MakeFolders(const std::string& path, mode_t mode) {
    for (std::size_t end = 1; end != std::string::npos && end <= path.size();) {
        end = path.find('/', end);
        const std::string part = path.substr(0, end);
        if (end != std::string::npos) ++end;
        if (mkdir(part.c_str(), mode) == 0) chmod(part.c_str(), mode);
    }
}

// WAL keeps its index in a memory-mapped file shared by every process that
// opens the database, which works only on a file system of this machine.
bool OnNetworkFileSystem(const std::string& folder) {
    struct statfs fs {};
    if (statfs(folder.c_str(), &fs) != 0) return false;
    switch (static_cast<unsigned long>(fs.f_type)) {
        case 0x6969UL:      // NFS
        case 0x517BUL:      // SMB
        case 0xFF534D42UL:  // CIFS
        case 0xFE534D42UL:  // SMB2
        case 0x564CUL:      // NCP
        case 0x5346414FUL:  // AFS
        case 0x73757245UL:  // Coda
        case 0x01021997UL:  // 9P
        case 0x00C36400UL:  // Ceph
        case 0x0BD00BD0UL:  // Lustre
        case 0x01161970UL:  // GFS2
        case 0x7461636FUL:  // OCFS2
        case 0x65735546UL:  // FUSE (sshfs and the like)
            return true;
        default:
            return false;
    }
}

}  // namespace

std::string HomeFolder() {
    std::string home = AbsoluteEnv("HOME");
    if (!home.empty()) return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr && found->pw_dir[0] == '/')
        home = found->pw_dir;
    return home;
}

std::string SettingsFilePath(TRoot root) {
    if (root != TRoot::kCurrentUser && root != TRoot::kLocalMachine) return {};
    const bool user = root == TRoot::kCurrentUser;
    const std::string dir = EnvOr("VRK3_SETTINGS_DIR", {});
    if (!dir.empty()) return dir + (user ? "/user.db" : "/machine.db");
    if (!user) return std::string(VRK3_MACHINE_SETTINGS_DIR) + "/machine.db";
    std::string config = AbsoluteEnv("XDG_CONFIG_HOME");
    if (config.empty()) {
        const std::string home = HomeFolder();
        if (home.empty()) return {};
        config = home + "/.config";
    }
    return config + "/vrk3/user.db";
}

std::shared_ptr<TSettingsDb> SettingsDatabase(TRoot root) {
    if (root != TRoot::kCurrentUser && root != TRoot::kLocalMachine) return nullptr;
    std::lock_guard lock(g_mutex);
    TConnection& c = root == TRoot::kCurrentUser ? g_user : g_machine;
    if (c.db != nullptr) return c.db;
    const auto now = std::chrono::steady_clock::now();
    if (c.failing && now < c.retryAt) return nullptr;

    const bool user = root == TRoot::kCurrentUser;
    const std::string path = SettingsFilePath(root);
    std::string error;
    TStoreFailure failure = TStoreFailure::kNone;
    if (path.empty()) {
        error = StoreFailureText(TStoreFailure::kNoHome);
        failure = TStoreFailure::kNoHome;
    } else {
        const std::string folder = FolderOf(path);
        MakeFolders(folder, user ? 0700 : 0755);
        const bool existed = access(path.c_str(), F_OK) == 0;
        TSettingsOpenOptions options;
        options.wal = user && !OnNetworkFileSystem(folder);
        options.wait = c.waited ? g_timing.retryWait : g_timing.firstWait;
        c.waited = true;
        c.db = TSettingsDb::Open(path, options, error, &failure);
        if (c.db != nullptr) {
            // Every user reads the per-machine file, whatever the umask of
            // the one who made it.
            if (!existed && !user) chmod(path.c_str(), 0644);
            c.failing = false;
            return c.db;
        }
    }
    if (!c.failing) {
        const std::string what =
            failure == TStoreFailure::kBusy ? "held by another program (" + error + ")" : error;
        TDebugLine("* Settings store " + path + ": " + what + "; the defaults apply");
    }
    c.failing = true;
    c.failure = failure;
    c.retryAt = now + g_timing.retryInterval;
    return nullptr;
}

TStoreFailure SettingsStoreFailure(TRoot root) {
    if (root != TRoot::kCurrentUser && root != TRoot::kLocalMachine) return TStoreFailure::kNone;
    std::shared_ptr<TSettingsDb> db;
    {
        std::lock_guard lock(g_mutex);
        const TConnection& c = root == TRoot::kCurrentUser ? g_user : g_machine;
        if (c.db == nullptr) return c.failing ? c.failure : TStoreFailure::kNone;
        db = c.db;
    }
    return db->LastFailure();
}

void CloseSettingsStore() {
    std::lock_guard lock(g_mutex);
    g_user = {};
    g_machine = {};
}

TStoreTiming SetStoreTiming(const TStoreTiming& timing) {
    std::lock_guard lock(g_mutex);
    const TStoreTiming previous = g_timing;
    g_timing = timing;
    return previous;
}

}  // namespace vrk
