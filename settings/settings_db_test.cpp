#include "settings/settings_db.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <map>
#include <thread>

#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "settings/test_env.h"

namespace vrk {
namespace {

using Store = TSettingsTest;

constexpr std::string_view kMachineKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Tavro\\Verbatrakon III";

// A file the store cannot use is reported once per process, never written
// to, its reason is kept, and the defaults and the other store go on working.
TEST_F(Store, UnusableFilesAreReportedAndLeftAlone) {
    const std::string path = dir_ + "/user.db";
    struct TCase {
        const char* what;
        std::function<void()> make;
        TStoreFailure why;
        const char* says;
    };
    const TCase cases[] = {
        {"no database", [&] { WriteWholeFile(path, std::string(6600, 'g')); },
         TStoreFailure::kNotDatabase, "file is not a database"},
        // No tables yet, but another program's application id: not ours to fill.
        {"another program's empty database",
         [&] { ASSERT_EQ(Sql(path, "PRAGMA application_id = 1234;"), ""); },
         TStoreFailure::kNotDatabase, "not a settings database"},
        {"newer layout",
         [&] {
             std::filesystem::copy_file(VRK3_SETTINGS_TESTDATA "/user-layout1.db", path);
             ASSERT_EQ(Sql(path, "PRAGMA user_version = 3"), "");
         },
         TStoreFailure::kOtherVersion, "another version"},
        {"database cut short",
         [&] {
             std::filesystem::copy_file(VRK3_SETTINGS_TESTDATA "/user-layout1.db", path);
             WriteWholeFile(path, ReadWholeFile(path).substr(0, 1000));
         },
         TStoreFailure::kDamaged, "damaged ("},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        CloseSettingsStore();
        for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path + suffix);
        c.make();
        CloseSettingsStore();
        lines_.clear();
        const std::string before = ReadWholeFile(path);

        std::string text = "default";
        EXPECT_FALSE(TGetRegistryString(kFinderPath, "ActiveLib", text));
        EXPECT_EQ(text, "default");
        EXPECT_FALSE(
            TSetRegistryString(kFinderPath, "ActiveLib", "x", kRegCreateKey | kRegOverwrite));
        EnsureFinderKeys();
        EXPECT_EQ(SettingsStoreFailure(TRoot::kCurrentUser), c.why);
        EXPECT_TRUE(TSetRegistryString(kMachineKey, "v", "machine", kRegCreateKey | kRegOverwrite));
        CloseSettingsStore();
        EXPECT_TRUE(ReadWholeFile(path) == before);  // not printed: a page of bytes
        ASSERT_FALSE(lines_.empty());
        EXPECT_EQ(lines_[0].rfind("* Settings store " + path + ": ", 0), 0u) << lines_[0];
        EXPECT_NE(lines_[0].find(c.says), std::string::npos) << lines_[0];
        int reports = 0;
        for (const std::string& line : lines_) reports += line.find(path) != std::string::npos;
        EXPECT_EQ(reports, 1);
    }
}

// The per-machine store as the installation leaves it for every user, and a
// per-user store in WAL mode (an old-layout one, as the earlier programs
// wrote it), both in a folder this user may not write: every value reads,
// no write succeeds, and not a byte changes in the folder.
TEST_F(Store, ReadOnlyStoresAreReadWithoutWritingAnything) {
    ASSERT_TRUE(TSetRegistryString(kMachineKey, "InstallPath", "/usr/share/vrk3", kRegCreateKey));
    CloseSettingsStore();
    EXPECT_EQ(Sql(dir_ + "/machine.db", "PRAGMA journal_mode"), "delete\n");
    std::filesystem::copy_file(VRK3_SETTINGS_TESTDATA "/user-layout1.db", dir_ + "/user.db");
    const auto contents = [this] {
        std::map<std::string, std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(dir_))
            files[entry.path().filename().string()] = ReadWholeFile(entry.path().string());
        return files;
    };
    const auto before = contents();

    const bool root = geteuid() == 0;
    chmod(dir_.c_str(), root ? 0755 : 0555);  // root passes every permission check
    const bool ok = RunInChild(
        [] {
            std::string path;
            std::int32_t number = 0;
            bool ok = TGetRegistryString(kMachineKey, "InstallPath", path) &&
                      path == "/usr/share/vrk3" &&
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
    EXPECT_EQ(contents(), before);
}

// A store that was written by the layout without unique ids keeps every
// key and value with its id, and so its place in the enumeration; from then
// on no id comes back after its key is deleted.
TEST_F(Store, OldLayoutIsUpgradedKeepingEveryKeyValueAndOrder) {
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
    EXPECT_TRUE(lines_.empty()) << lines_[0];

    TRegKey groups = UserKey(kGroupsKey), made;
    ASSERT_EQ(groups.CreateSub("Nova", made), TRegResult::kOk);
    ASSERT_EQ(groups.DeleteSubTree("Nova"), TRegResult::kOk);
    ASSERT_EQ(groups.CreateSub("Druga", made), TRegResult::kOk);
    EXPECT_EQ(Sql(path, "SELECT id FROM keys WHERE name = CAST('Druga' AS BLOB)"), "14\n");
}

// Start-up meets a store another process holds: it goes on with the
// defaults, says so once, and uses the store once it is free.
TEST_F(Store, AHeldStoreIsUsedOnceItIsFree) {
    ASSERT_TRUE(TSetRegistryString(kMachineKey, "InstallPath", "/usr/share/vrk3", kRegCreateKey));
    CloseSettingsStore();
    const TStoreTiming saved =
        SetStoreTiming({std::chrono::milliseconds(200), std::chrono::milliseconds(20),
                        std::chrono::milliseconds(50)});
    sqlite3* holder = nullptr;
    ASSERT_EQ(sqlite3_open((dir_ + "/machine.db").c_str(), &holder), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(holder, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    std::string path;
    EXPECT_FALSE(TGetRegistryString(kMachineKey, "InstallPath", path));
    EXPECT_FALSE(TGetRegistryString(kMachineKey, "InstallPath", path));
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
TEST_F(Store, UserStoreWithoutHomeVariablesIsInThePasswordHome) {
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
