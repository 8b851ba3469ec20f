#include "settings/test_env.h"

#include <grp.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "settings/diagnostic.h"
#include "settings/registry_helpers.h"
#include "settings/settings_store.h"
#include "store/test_folder.h"

namespace vrk {

void TSettingsTest::SetUp() {
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "TMPDIR"}) {
        const char* value = std::getenv(name);
        savedEnvironment_.emplace_back(name,
                                       value ? std::optional<std::string>(value) : std::nullopt);
    }
    dir_ = MakeTestFolder("vrk3-settings");
    ASSERT_FALSE(dir_.empty());
    setenv("VRK3_SETTINGS_DIR", dir_.c_str(), 1);
    setenv("XDG_CACHE_HOME", (dir_ + "/cache").c_str(), 1);
    // The first start makes the own dictionary there, never in the home folder.
    setenv("XDG_DATA_HOME", (dir_ + "/data").c_str(), 1);
    CloseSettingsStore();
    SetDiagnosticSink([this](std::string_view line) { lines_.emplace_back(line); });
    SetRegistryQuestion([this](TOwnerWindow, std::string_view caption, std::string_view text) {
        questions_.push_back(std::string(caption) + ": " + std::string(text));
        return answer_;
    });
}

void TSettingsTest::TearDown() {
    CloseSettingsStore();
    SetDiagnosticSink({});
    SetRegistryQuestion({});
    for (const auto& [name, value] : savedEnvironment_) {
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
    }
    savedEnvironment_.clear();
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
}

TRegKey TSettingsTest::UserKey(std::string_view path) {
    TRegKey key;
    EXPECT_EQ(TRegKey::Create(TRoot::kCurrentUser, path, key), TRegResult::kOk) << path;
    return key;
}

std::vector<std::string> TSettingsTest::SubKeys(std::string_view path) {
    std::vector<std::string> names;
    TRegKey key;
    std::string name;
    if (TRegKey::Open(TRoot::kCurrentUser, path, TAccess::kRead, key) == TRegResult::kOk)
        for (std::uint32_t i = 0; key.EnumKey(i, name) == TRegResult::kOk; ++i)
            names.push_back(name);
    return names;
}

std::vector<std::string> TSettingsTest::ValueNames(std::string_view path) {
    std::vector<std::string> names;
    TRegKey key;
    TRegValue value;
    if (TRegKey::Open(TRoot::kCurrentUser, path, TAccess::kRead, key) == TRegResult::kOk)
        for (std::uint32_t i = 0; key.EnumValue(i, value) == TRegResult::kOk; ++i)
            names.push_back(value.name);
    return names;
}

bool RunInChildren(const std::vector<std::function<bool()>>& bodies, std::optional<uid_t> uid) {
    CloseSettingsStore();  // no connection may cross fork()
    int go[2];
    if (pipe(go) != 0) return false;
    std::vector<pid_t> children;
    for (const auto& body : bodies) {
        const pid_t pid = fork();
        if (pid == 0) {
            close(go[1]);
            char c;
            // The end of the pipe (0 bytes) is the signal to start.
            if (read(go[0], &c, 1) < 0) _exit(2);
            if (uid && (setgroups(0, nullptr) != 0 || setgid(*uid) != 0 || setuid(*uid) != 0))
                _exit(2);
            alarm(30);  // a child that hangs fails its test instead of the whole program
            const bool ok = body();
            CloseSettingsStore();
            _exit(ok ? 0 : 1);
        }
        if (pid > 0) children.push_back(pid);
    }
    close(go[0]);
    close(go[1]);  // releases every child at once
    bool ok = children.size() == bodies.size();
    for (pid_t pid : children) {
        int status = 0;
        ok = waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0 && ok;
    }
    return ok;
}

std::string Sql(const std::string& path, const char* sql) {
    sqlite3* db = nullptr;
    std::string out;
    if (sqlite3_open(path.c_str(), &db) == SQLITE_OK) {
        char* error = nullptr;
        sqlite3_exec(
            db, sql,
            [](void* o, int n, char** values, char**) {
                auto& text = *static_cast<std::string*>(o);
                for (int i = 0; i < n; ++i)
                    text += (i ? "|" : "") + std::string(values[i] ? values[i] : "NULL");
                text += '\n';
                return 0;
            },
            &out, &error);
        if (error != nullptr) out = std::string("error: ") + error;
        sqlite3_free(error);
    }
    sqlite3_close(db);
    return out;
}

}  // namespace vrk
