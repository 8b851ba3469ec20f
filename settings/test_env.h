// A private settings store for each test: a fresh VRK3_SETTINGS_DIR (on a
// RAM-backed file system when there is one; see store/test_folder.h), a cache
// folder and a data folder inside it (XDG_CACHE_HOME, XDG_DATA_HOME), the
// diagnostic lines collected, and a scripted Yes/No question. HOME,
// XDG_CONFIG_HOME and TMPDIR are put back as they were after each test.
#pragma once

#include <gtest/gtest.h>

#include <sys/types.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "settings/reg_key.h"
#include "store/test_util.h"

namespace vrk {

class TSettingsTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The answer the next questions get, and each question asked ("caption: text").
    bool answer_ = false;
    std::vector<std::string> questions_;
    std::vector<std::string> lines_;  // diagnostic lines
    std::string dir_;                 // the store's folder
    std::vector<std::pair<const char*, std::optional<std::string>>> savedEnvironment_;

    // A per-user key with full access, created when missing.
    TRegKey UserKey(std::string_view path);
    // Names of a key's sub-keys and values, in enumeration order.
    std::vector<std::string> SubKeys(std::string_view path);
    std::vector<std::string> ValueNames(std::string_view path);
};

// Runs each body in a child process of its own, all released at once, and
// waits for them; true when every one returned true. With `uid`, the
// children first become that user (and group `uid`); only a process running
// as root can.
bool RunInChildren(const std::vector<std::function<bool()>>& bodies,
                   std::optional<uid_t> uid = std::nullopt);
inline bool RunInChild(const std::function<bool()>& body, std::optional<uid_t> uid = std::nullopt) {
    return RunInChildren({body}, uid);
}
// The user "nobody", for a second user in tests that run as root.
inline constexpr uid_t kNobody = 65534;

// Runs SQL on a database file with the plain SQLite interface: every row,
// its columns joined by "|", one row a line; "error: ..." when SQLite refuses.
std::string Sql(const std::string& path, const char* sql);

}  // namespace vrk
