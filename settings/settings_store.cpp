#include "settings/settings_store.h"

#include <cstdlib>
#include <filesystem>
#include <mutex>

#include "settings/diagnostic.h"
#include "settings/settings_db.h"

#ifndef VRK3_MACHINE_SETTINGS_DIR
#define VRK3_MACHINE_SETTINGS_DIR "/etc/vrk3"
#endif

namespace vrk {

namespace {

struct TConnection {
    std::shared_ptr<TSettingsDb> db;
    bool tried = false;  // a failed open is not repeated until CloseSettingsStore
};

std::mutex g_mutex;
TConnection g_user;
TConnection g_machine;

std::string EnvOr(const char* name, std::string fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::string(value) : fallback;
}

}  // namespace

std::string SettingsFilePath(TRoot root) {
    if (root != TRoot::kCurrentUser && root != TRoot::kLocalMachine) return {};
    const bool user = root == TRoot::kCurrentUser;
    const std::string dir = EnvOr("VRK3_SETTINGS_DIR", {});
    if (!dir.empty()) return dir + (user ? "/user.db" : "/machine.db");
    if (!user) return std::string(VRK3_MACHINE_SETTINGS_DIR) + "/machine.db";
    std::string config = EnvOr("XDG_CONFIG_HOME", {});
    if (config.empty() || config[0] != '/') config = EnvOr("HOME", "/tmp") + "/.config";
    return config + "/vrk3/user.db";
}

std::shared_ptr<TSettingsDb> SettingsDatabase(TRoot root) {
    if (root != TRoot::kCurrentUser && root != TRoot::kLocalMachine) return nullptr;
    std::lock_guard lock(g_mutex);
    TConnection& c = root == TRoot::kCurrentUser ? g_user : g_machine;
    if (c.tried) return c.db;
    c.tried = true;
    const std::string path = SettingsFilePath(root);
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    std::string error;
    c.db = TSettingsDb::Open(path, error);
    if (c.db == nullptr)
        TDebugLine("* Settings store " + path + ": " + error + "; the defaults apply");
    return c.db;
}

void CloseSettingsStore() {
    std::lock_guard lock(g_mutex);
    g_user = {};
    g_machine = {};
}

}  // namespace vrk
