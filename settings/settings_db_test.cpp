#include "settings/settings_db.h"

#include <sys/wait.h>
#include <unistd.h>

#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "settings/test_env.h"

namespace vrk {
namespace {

using Store = TSettingsTest;

// A damaged file is reported, never written to, its reason is kept, and the
// other store and the defaults go on working.
void ExpectRefused(const std::vector<std::string>& lines, const std::string& path,
                   TStoreFailure why) {
    const std::string before = ReadFileBytes(path);
    std::string text = "default";
    EXPECT_FALSE(TGetRegistryString(kFinderPath, "ActiveLib", text));
    EXPECT_EQ(text, "default");
    EXPECT_FALSE(TSetRegistryString(kFinderPath, "ActiveLib", "x", kRegCreateKey | kRegOverwrite));
    EnsureFinderKeys();
    EXPECT_EQ(ReadFileBytes(path), before);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0].rfind("* Settings store " + path + ": ", 0), 0u) << lines[0];
    int reports = 0;
    for (const std::string& line : lines) reports += line.find(path) != std::string::npos;
    EXPECT_EQ(reports, 1);  // once per process, not per use
    EXPECT_EQ(SettingsStoreFailure(TRoot::kCurrentUser), why);

    EXPECT_TRUE(
        TSetRegistryString("HKEY_LOCAL_MACHINE\\SOFTWARE\\X", "v", "machine", kRegCreateKey));
    ASSERT_TRUE(TGetRegistryString("HKEY_LOCAL_MACHINE\\SOFTWARE\\X", "v", text));
    EXPECT_EQ(text, "machine");
}

TEST_F(Store, FileThatIsNoDatabaseIsLeftAlone) {
    const std::string path = dir_ + "/user.db";
    std::string garbage;
    for (int i = 0; i < 300; ++i) garbage += "to ni baza nastavitev ";
    WriteFileBytes(path, garbage);
    ExpectRefused(lines_, path, TStoreFailure::kNotDatabase);
    EXPECT_NE(lines_[0].find("not a database"), std::string::npos) << lines_[0];
}

TEST_F(Store, AnotherProgramsDatabaseIsLeftAlone) {
    const std::string path = dir_ + "/user.db";
    ASSERT_EQ(Sql(path, "CREATE TABLE keys(x); INSERT INTO keys VALUES (7);"), "");
    ExpectRefused(lines_, path, TStoreFailure::kNotDatabase);
    EXPECT_EQ(Sql(path, "SELECT x FROM keys"), "7\n");
}

TEST_F(Store, AnotherProgramsEmptyDatabaseIsLeftAlone) {
    // No tables yet, but another program's application id: not ours to fill.
    const std::string path = dir_ + "/user.db";
    ASSERT_EQ(Sql(path, "PRAGMA application_id = 1234;"), "");
    ExpectRefused(lines_, path, TStoreFailure::kNotDatabase);
    EXPECT_EQ(Sql(path, "PRAGMA application_id"), "1234\n");
    EXPECT_EQ(Sql(path, "SELECT count(*) FROM sqlite_master"), "0\n");
}

TEST_F(Store, NewerLayoutIsLeftAlone) {
    std::string text;
    ASSERT_TRUE(TSetRegistryString(kFinderPath, "v", "x", kRegCreateKey));
    CloseSettingsStore();
    const std::string path = dir_ + "/user.db";
    ASSERT_EQ(Sql(path, "PRAGMA user_version = 3"), "");
    EXPECT_FALSE(TGetRegistryString(kFinderPath, "v", text));
    ASSERT_FALSE(lines_.empty());
    EXPECT_NE(lines_[0].find("another version"), std::string::npos) << lines_[0];
    EXPECT_EQ(SettingsStoreFailure(TRoot::kCurrentUser), TStoreFailure::kOtherVersion);
}

TEST_F(Store, NewFileIsInWalModeWithItsLayout) {
    ASSERT_TRUE(TSetRegistryNumber(kFinderPath, "MatchCase", 1, kRegCreateKey));
    const std::string path = dir_ + "/user.db";
    EXPECT_EQ(Sql(path, "PRAGMA journal_mode"), "wal\n");
    EXPECT_EQ(Sql(path, "PRAGMA application_id"), "1448233779\n");
    EXPECT_EQ(Sql(path, "SELECT hex(data) FROM vals WHERE name = CAST('MatchCase' AS BLOB)"),
              "01000000\n");
    EXPECT_TRUE(lines_.empty());
    EXPECT_EQ(SettingsStoreFailure(TRoot::kCurrentUser), TStoreFailure::kNone);
}

// Each child writes its own 500 numbers through the helpers while the other
// does the same, and both create the keys they share.
TEST_F(Store, TwoProcessesWritingAtOnceLoseNothing) {
    constexpr int kValues = 500;
    CloseSettingsStore();  // no connection may cross fork()
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = fork();
        ASSERT_GE(children[c], 0);
        if (children[c] == 0) {
            int failures = 0;
            for (int i = 0; i < kValues; ++i) {
                const std::string name = "p" + std::to_string(c) + "_" + std::to_string(i);
                failures += !TSetRegistryNumber(kFinderPath, name, c * 100000 + i,
                                                kRegCreateKey | kRegOverwrite);
            }
            CloseSettingsStore();
            _exit(failures == 0 ? 0 : 1);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    int found = 0;
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < kValues; ++i) {
            std::int32_t n = -1;
            const std::string name = "p" + std::to_string(c) + "_" + std::to_string(i);
            found += TGetRegistryNumber(kFinderPath, name, n) && n == c * 100000 + i;
        }
    EXPECT_EQ(found, 2 * kValues);
    EXPECT_EQ(ValueNames("Software\\Tavro\\Verbatrakon III\\Fndr").size(), 2u * kValues);
}

}  // namespace
}  // namespace vrk
