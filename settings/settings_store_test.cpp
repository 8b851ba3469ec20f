// Opening the stores as an ordinary user meets them: read-only, held by
// another process, or written by the layout before ids were kept unique.
// (Files the store refuses: settings_db_test.cpp.)
#include "settings/settings_store.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <thread>

#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"
#include "settings/test_env.h"

namespace vrk {
namespace {

using Opening = TSettingsTest;

// Every file of a folder with its bytes.
std::map<std::string, std::string> FolderContents(const std::string& dir) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        files[entry.path().filename().string()] = ReadWholeFile(entry.path().string());
    return files;
}

constexpr std::string_view kMachineKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Tavro\\Verbatrakon III";

// The per-machine store as the installation leaves it for every user, and a
// per-user store in WAL mode (an old-layout one, as the earlier programs
// wrote it), both in a folder this user may not write: every value reads,
// no write succeeds, and not a byte changes in the folder.
TEST_F(Opening, ReadOnlyStoresAreReadWithoutWritingAnything) {
    ASSERT_TRUE(TSetRegistryString(kMachineKey, "InstallPath", "/usr/share/vrk3", kRegCreateKey));
    CloseSettingsStore();
    EXPECT_EQ(Sql(dir_ + "/machine.db", "PRAGMA journal_mode"), "delete\n");
    std::filesystem::copy_file(VRK3_SETTINGS_TESTDATA "/user-layout1.db", dir_ + "/user.db");
    EXPECT_EQ(Sql(dir_ + "/user.db", "PRAGMA journal_mode"), "wal\n");
    const auto before = FolderContents(dir_);

    const bool root = RunningAsRoot();
    chmod(dir_.c_str(), root ? 0755 : 0555);  // root passes every permission check
    const bool ok = RunInChild(
        [] {
            std::string path, lib;
            std::int32_t number = 0;
            bool ok = TGetRegistryString(kMachineKey, "InstallPath", path) &&
                      path == "/usr/share/vrk3" &&
                      TGetRegistryString(kFinderPath, "ActiveLib", lib) && lib == "Moji" &&
                      TGetRegistryNumber(kFinderPath, "MatchCase", number) && number == 1;
            ok = ok && !TSetRegistryString(kMachineKey, "BackupDir", "/tmp", kRegCreateKey) &&
                 !TSetRegistryNumber(kFinderPath, "MatchCase", 0, kRegOverwrite);
            // Why the change was refused is kept for the message.
            ok = ok && SettingsStoreFailure(TRoot::kLocalMachine) == TStoreFailure::kNoPermission &&
                 SettingsStoreFailure(TRoot::kCurrentUser) == TStoreFailure::kNoPermission;
            EnsureFinderKeys();
            return ok;
        },
        root ? std::optional<uid_t>(kNobody) : std::nullopt);
    chmod(dir_.c_str(), 0700);
    EXPECT_TRUE(ok);
    EXPECT_EQ(FolderContents(dir_), before);
}

// A store that was written by the layout without unique ids keeps every
// key and value with its id, and so its place in the enumeration; from then
// on no id comes back after its key is deleted.
TEST_F(Opening, OldLayoutIsUpgradedKeepingEveryKeyValueAndOrder) {
    const std::string path = dir_ + "/user.db";
    std::filesystem::copy_file(VRK3_SETTINGS_TESTDATA "/user-layout1.db", path);
    const char* rows =
        "SELECT 'k', id, parent, hex(name) FROM keys UNION ALL "
        "SELECT 'v', id, key, hex(name) || ':' || type || ':' || hex(data) FROM vals "
        "ORDER BY 1, 2";
    const std::string before = Sql(path, rows);
    ASSERT_NE(before.find("k|12|5|"), std::string::npos) << before;  // keys 1 ... 12

    EXPECT_EQ(SubKeys(kGroupsKey), (std::vector<std::string>{"Slovarji", "Preimenovana \x9a\x9e"}));
    EXPECT_EQ(Sql(path, "PRAGMA user_version"), "2\n");
    EXPECT_EQ(Sql(path, rows), before);
    EXPECT_EQ(ValueNames(kFinderKey),
              (std::vector<std::string>{"ActiveLib", "MatchCase", "CountLetters", "Font01"}));
    EXPECT_TRUE(lines_.empty()) << lines_[0];

    TRegKey groups = UserKey(kGroupsKey), made;
    ASSERT_EQ(groups.CreateSub("Nova", made), TRegResult::kOk);
    ASSERT_EQ(groups.DeleteSubTree("Nova"), TRegResult::kOk);
    ASSERT_EQ(groups.CreateSub("Druga", made), TRegResult::kOk);
    EXPECT_EQ(Sql(path, "SELECT id FROM keys WHERE name = CAST('Druga' AS BLOB)"), "14\n");
}

// Start-up meets a store another process holds: it waits briefly, goes on
// with the defaults, says so once, and uses the store once it is free.
TEST_F(Opening, HeldStoreIsWaitedForBrieflyAndTriedAgainLater) {
    ASSERT_TRUE(TSetRegistryString(kMachineKey, "InstallPath", "/usr/share/vrk3", kRegCreateKey));
    CloseSettingsStore();
    const TStoreTiming saved =
        SetStoreTiming({std::chrono::milliseconds(200), std::chrono::milliseconds(20),
                        std::chrono::milliseconds(50)});
    sqlite3* holder = nullptr;
    ASSERT_EQ(sqlite3_open((dir_ + "/machine.db").c_str(), &holder), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(holder, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);

    std::string path;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(TGetRegistryString(kMachineKey, "InstallPath", path));
    EXPECT_FALSE(TGetRegistryString(kMachineKey, "InstallPath", path));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    int reports = 0;
    for (const std::string& line : lines_)
        reports += line.find("held by another program") != std::string::npos;
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(SettingsStoreFailure(TRoot::kLocalMachine), TStoreFailure::kBusy);

    ASSERT_EQ(sqlite3_exec(holder, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(holder);
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    EXPECT_TRUE(TGetRegistryString(kMachineKey, "InstallPath", path));
    EXPECT_EQ(path, "/usr/share/vrk3");
    SetStoreTiming(saved);
}

// Without HOME and XDG_CONFIG_HOME the per-user store is in the home folder
// the password database names, never in a folder every user shares.
TEST_F(Opening, UserStoreWithoutHomeVariablesIsInThePasswordHome) {
    unsetenv("VRK3_SETTINGS_DIR");
    unsetenv("HOME");
    setenv("XDG_CONFIG_HOME", "relative/folder", 1);  // not absolute: not used
    const std::string path = SettingsFilePath(TRoot::kCurrentUser);
    setenv("VRK3_SETTINGS_DIR", dir_.c_str(), 1);
    ASSERT_FALSE(HomeFolder().empty());
    EXPECT_EQ(path, HomeFolder() + "/.config/vrk3/user.db");
}

}  // namespace
}  // namespace vrk
