#include "settings/settings_db.h"

#include <filesystem>
#include <functional>

#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "settings/test_env.h"

namespace vrk {
namespace {

using Store = TSettingsTest;

// A file the store cannot use is reported once per process, never written
// to, its reason is kept, and the defaults and the other store go on working.
TEST_F(Store, UnusableFilesAreReportedAndLeftAlone) {
    const std::string path = dir_ + "/user.db";
    const auto writeStore = [&](int numbers) {
        ASSERT_TRUE(TSetRegistryString(kFinderPath, "ActiveLib", "Slovarji", kRegCreateKey));
        for (int i = 0; i < numbers; ++i)
            ASSERT_TRUE(TSetRegistryNumber(kFinderPath, "n" + std::to_string(i), i, kRegCreateKey));
        CloseSettingsStore();
    };
    // The bytes of the file and where the root page of `object` begins in them.
    const auto rootPage = [&](const std::string& object, std::string& bytes, std::size_t& size) {
        const std::string sql = "SELECT rootpage FROM sqlite_schema WHERE name = '" + object + "'";
        size = std::stoul(Sql(path, "PRAGMA page_size"));
        bytes = ReadWholeFile(path);
        return (std::stoul(Sql(path, sql.c_str())) - 1) * size;
    };
    struct TCase {
        const char* what;
        std::function<void()> make;
        TStoreFailure why;
        const char* says;
    };
    const TCase cases[] = {
        {"no database", [&] { WriteWholeFile(path, std::string(6600, 'g')); },
         TStoreFailure::kNotDatabase, "file is not a database"},
        {"another program's database",
         [&] { ASSERT_EQ(Sql(path, "CREATE TABLE keys(x); INSERT INTO keys VALUES (7);"), ""); },
         TStoreFailure::kNotDatabase, "not a settings database"},
        // No tables yet, but another program's application id: not ours to fill.
        {"another program's empty database",
         [&] { ASSERT_EQ(Sql(path, "PRAGMA application_id = 1234;"), ""); },
         TStoreFailure::kNotDatabase, "not a settings database"},
        {"newer layout",
         [&] {
             writeStore(0);
             ASSERT_EQ(Sql(path, "PRAGMA user_version = 3"), "");
         },
         TStoreFailure::kOtherVersion, "another version"},
        {"page damaged inside a file whose header is sound",
         [&] {
             writeStore(200);
             std::string bytes;
             std::size_t size = 0;
             const std::size_t start = rootPage("vals", bytes, size);
             for (std::size_t i = start + 8; i < start + size; i += 3) bytes[i] = '\x5a';
             WriteWholeFile(path, bytes);
         },
         TStoreFailure::kDamaged, "damaged ("},
        // Every page is sound, so only the full integrity check sees an index
        // that lacks rows of its table; such a store would take a value and
        // then not find it. The root page becomes an empty leaf page (type
        // 10, no cells, its content area starting at the end of the page).
        {"index lacking rows",
         [&] {
             writeStore(0);
             std::string bytes;
             std::size_t size = 0;
             const std::size_t start = rootPage("vals_by_name", bytes, size);
             bytes.replace(start, 8,
                           {'\x0a', 0, 0, 0, 0, static_cast<char>(size >> 8 & 0xff),
                            static_cast<char>(size & 0xff), 0});
             WriteWholeFile(path, bytes);
             ASSERT_EQ(Sql(path, "PRAGMA quick_check"), "ok\n");
             ASSERT_NE(Sql(path, "PRAGMA integrity_check").find("missing from index vals_by_name"),
                       std::string::npos);
         },
         TStoreFailure::kDamaged, "damaged ("},
        // SQLite takes a file shorter than one page for an empty database.
        {"one byte", [&] { WriteWholeFile(path, "x"); }, TStoreFailure::kNotDatabase,
         "file is not a database"},
        {"99 bytes", [&] { WriteWholeFile(path, std::string(99, 'y')); },
         TStoreFailure::kNotDatabase, "file is not a database"},
        {"database cut short",
         [&] {
             writeStore(0);
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
        EXPECT_TRUE(TSetRegistryString("HKEY_LOCAL_MACHINE\\SOFTWARE\\X", "v", "machine",
                                       kRegCreateKey | kRegOverwrite));
        ASSERT_TRUE(TGetRegistryString("HKEY_LOCAL_MACHINE\\SOFTWARE\\X", "v", text));
        EXPECT_EQ(text, "machine");
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

// Each process writes its own 500 numbers through the helpers while the
// other does the same, and both create the keys they share.
TEST_F(Store, TwoProcessesWritingAtOnceLoseNothing) {
    constexpr int kValues = 500;
    const auto name = [](int c, int i) {
        return "p" + std::to_string(c) + "_" + std::to_string(i);
    };
    std::vector<std::function<bool()>> writers;
    for (int c = 0; c < 2; ++c)
        writers.push_back([&, c] {
            bool ok = true;
            for (int i = 0; i < kValues; ++i)
                ok = TSetRegistryNumber(kFinderPath, name(c, i), c * 100000 + i,
                                        kRegCreateKey | kRegOverwrite) &&
                     ok;
            return ok;
        });
    ASSERT_TRUE(RunInChildren(writers));
    int found = 0;
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < kValues; ++i) {
            std::int32_t n = -1;
            found += TGetRegistryNumber(kFinderPath, name(c, i), n) && n == c * 100000 + i;
        }
    EXPECT_EQ(found, 2 * kValues);
    EXPECT_EQ(ValueNames("Software\\Tavro\\Verbatrakon III\\Fndr").size(), 2u * kValues);
}

}  // namespace
}  // namespace vrk
