#include "settings/registry_helpers.h"

#include "settings/scratch_set.h"
#include "settings/settings_keys.h"
#include "settings/temp_dir.h"
#include "settings/test_env.h"

namespace vrk {
namespace {

using Helpers = TSettingsTest;

TEST_F(Helpers, UnknownRootIsReportedByEachHelper) {
    const std::string path = "hkey_current_user\\Software";
    std::string text;
    std::int32_t n = 0;
    EXPECT_FALSE(TGetRegistryString(path, "v", text));
    EXPECT_FALSE(TGetRegistryNumber(path, "v", n));
    EXPECT_FALSE(TSetRegistryString(path, "v", "x", kRegCreateKey | kRegOverwrite));
    EXPECT_FALSE(TSetRegistryNumber(path, "v", 1, kRegCreateKey | kRegOverwrite));
    EXPECT_EQ(lines_, (std::vector<std::string>{
                          "* TGetRegistryString: Cannot access the basic key.",
                          "* TGetRegistryNumber: Cannot access the basic key.",
                          "* TSetRegistryString: Cannot access the basic key.",
                          "* TSetRegistryNumber: Cannot access the basic key.",
                      }));
}

TEST_F(Helpers, ReadFailuresNameTheirCauseAndLeaveTheOutputAlone) {
    std::string text = "unchanged";
    std::int32_t n = 42;
    EXPECT_FALSE(TGetRegistryString(kFinderPath, "ActiveLib", text));
    EXPECT_FALSE(TGetRegistryNumber(kFinderPath, "MatchCase", n));
    EXPECT_EQ(lines_, (std::vector<std::string>{
                          "* TGetRegistryString: Cannot open the specified key.",
                          "* TGetRegistryNumber: Cannot open the specified key.",
                      }));
    lines_.clear();

    TRegKey key = UserKey("Software\\Tavro\\Verbatrakon III\\Fndr");
    ASSERT_EQ(key.SetString("str", std::string(999, 'x')), TRegResult::kOk);
    ASSERT_EQ(key.SetString("long", std::string(1000, 'x')), TRegResult::kOk);
    ASSERT_EQ(key.SetString("four", "abc"), TRegResult::kOk);  // four bytes with its terminator
    ASSERT_EQ(key.SetNumber("num", 5), TRegResult::kOk);
    ASSERT_EQ(key.SetValue("bin", TValueType::kBinary, "\x01\x02"), TRegResult::kOk);

    EXPECT_FALSE(TGetRegistryString(kFinderPath, "missing", text));
    EXPECT_FALSE(TGetRegistryString(kFinderPath, "long", text));      // needs 1001 bytes
    EXPECT_FALSE(TGetRegistryString(kFinderPath, "str", text, 999));  // caller's smaller buffer
    EXPECT_FALSE(TGetRegistryString(kFinderPath, "num", text));       // not a string
    EXPECT_FALSE(TGetRegistryNumber(kFinderPath, "four", n));         // not a number
    EXPECT_FALSE(TGetRegistryNumber(kFinderPath, "bin", n));
    EXPECT_EQ(text, "unchanged");
    EXPECT_EQ(n, 42);
    EXPECT_EQ(lines_.size(), 6u);
    for (const std::string& line : lines_)
        EXPECT_EQ(line.substr(line.find(':')), ": Cannot retrieve the value data.");

    ASSERT_TRUE(TGetRegistryString(kFinderPath, "str", text, 5000));  // at most 1000 anyway
    EXPECT_EQ(text.size(), 999u);
    ASSERT_TRUE(TGetRegistryString(kFinderPath, "str", text, 1000));
    EXPECT_FALSE(TGetRegistryString(kFinderPath, "long", text, 5000));
    EXPECT_EQ(text.size(), 999u);
    ASSERT_TRUE(TGetRegistryNumber(kFinderPath, "num", n));
    EXPECT_EQ(n, 5);
}

TEST_F(Helpers, MissingKeyIsCreatedOnlyAsTheFlagsSay) {
    const std::string path = std::string(kFinderPath) + "\\New";
    EXPECT_FALSE(TSetRegistryString(path, "v", "x", 0));
    EXPECT_FALSE(TSetRegistryString(path, "v", "x", kRegCreateKey | kRegNeverCreate));
    EXPECT_TRUE(questions_.empty());
    EXPECT_EQ(lines_, (std::vector<std::string>{
                          "* TSetRegistryString: Cannot open the specified key.",
                          "* TSetRegistryString: Cannot open the specified key.",
                      }));

    answer_ = false;
    EXPECT_FALSE(TSetRegistryString(path, "v", "x", kRegAsk));
    ASSERT_EQ(questions_.size(), 1u);
    EXPECT_EQ(questions_[0].caption, "Warning");
    EXPECT_EQ(questions_[0].text, path + "\nThis registry key doesn't exist. Create?");

    answer_ = true;
    TRegPrompt prompt;
    prompt.caption = "Naslov";
    prompt.keyPrompt = "Ustvarim?";
    EXPECT_TRUE(TSetRegistryNumber(path, "n", 3, kRegAsk, prompt));
    EXPECT_EQ(questions_.back().caption, "Naslov");
    EXPECT_EQ(questions_.back().text, path + "\nUstvarim?");

    // Flags 2 + 8 create and write without a word.
    questions_.clear();
    lines_.clear();
    const std::string other = std::string(kFinderPath) + "\\Other\\Deeper";
    EXPECT_TRUE(TSetRegistryString(other, "v", "x", kRegCreateKey | kRegOverwrite));
    EXPECT_TRUE(questions_.empty());
    EXPECT_TRUE(lines_.empty());
    std::string text;
    ASSERT_TRUE(TGetRegistryString(other, "v", text));
    EXPECT_EQ(text, "x");
}

TEST_F(Helpers, AskingThenActingAnywayActsWhateverTheAnswer) {
    // kRegAsk with kRegCreateKey or kRegOverwrite asks, and then creates or
    // overwrites also when the answer is No.
    answer_ = false;
    const std::string path = std::string(kFinderPath) + "\\Asked";
    EXPECT_TRUE(TSetRegistryString(path, "v", "created", kRegAsk | kRegCreateKey));
    ASSERT_EQ(questions_.size(), 1u);
    EXPECT_EQ(questions_[0].text, path + "\nThis registry key doesn't exist. Create?");
    EXPECT_TRUE(TSetRegistryString(path, "v", "overwritten", kRegAsk | kRegOverwrite));
    ASSERT_EQ(questions_.size(), 2u);
    EXPECT_EQ(questions_[1].text, path + "\\v\nThis registry value already exists. Overwrite?");
    std::string text;
    ASSERT_TRUE(TGetRegistryString(path, "v", text));
    EXPECT_EQ(text, "overwritten");
    // Never overwriting wins over everything else.
    EXPECT_FALSE(TSetRegistryString(path, "v", "no", kRegAsk | kRegOverwrite | kRegNeverOverwrite));
    ASSERT_TRUE(TGetRegistryString(path, "v", text));
    EXPECT_EQ(text, "overwritten");
}

TEST_F(Helpers, ExistingValueIsOverwrittenOnlyAsTheFlagsSay) {
    ASSERT_TRUE(TSetRegistryString(kFinderPath, "LastLib", "old", kRegCreateKey));
    lines_.clear();
    auto stored = [] {
        std::string text;
        return TGetRegistryString(kFinderPath, "LastLib", text) ? text : "<missing>";
    };

    EXPECT_FALSE(
        TSetRegistryString(kFinderPath, "LastLib", "new", kRegNeverOverwrite | kRegOverwrite));
    EXPECT_FALSE(TSetRegistryString(kFinderPath, "LastLib", "new", 0));
    answer_ = false;
    EXPECT_FALSE(TSetRegistryString(kFinderPath, "LastLib", "new", kRegAsk));
    EXPECT_EQ(stored(), "old");
    ASSERT_EQ(questions_.size(), 1u);
    EXPECT_EQ(questions_[0].text, std::string(kFinderPath) +
                                      "\\LastLib\nThis registry value already exists. Overwrite?");

    answer_ = true;
    EXPECT_TRUE(TSetRegistryString(kFinderPath, "LastLib", "asked", kRegAsk));
    EXPECT_EQ(stored(), "asked");
    EXPECT_TRUE(TSetRegistryString(kFinderPath, "LastLib", "forced", kRegOverwrite));
    EXPECT_EQ(stored(), "forced");
    // Each attempt on the existing value said so, also those that overwrote.
    EXPECT_EQ(lines_.size(), 5u);
    for (const std::string& line : lines_)
        EXPECT_EQ(line, "* TSetRegistryString: The value already exists.");

    // A value too long to read still counts as existing.
    TRegKey key = UserKey("Software\\Tavro\\Verbatrakon III\\Fndr");
    ASSERT_EQ(key.SetString("Big", std::string(5000, 'b')), TRegResult::kOk);
    EXPECT_FALSE(TSetRegistryString(kFinderPath, "Big", "small", kRegNeverOverwrite));
    TRegValue v;
    ASSERT_EQ(key.QueryValue("Big", v), TRegResult::kOk);
    EXPECT_EQ(v.data.size(), 5000u);
}

TEST_F(Helpers, WritesToAStoreWithoutDatabaseFail) {
    EXPECT_FALSE(TSetRegistryNumber("HKEY_USERS\\X", "v", 1, kRegCreateKey | kRegOverwrite));
    EXPECT_EQ(lines_,
              std::vector<std::string>{"* TSetRegistryNumber: Cannot create the specified key."});
}

TEST_F(Helpers, FontValuesRoundTripAndMustHaveTheirSize) {
    TFontValue font{};
    for (std::size_t i = 0; i < font.size(); ++i) font[i] = static_cast<unsigned char>(i * 7);
    ASSERT_TRUE(TSetRegistryFont(kFinderPath, "Font01", font));
    TFontValue read{};
    ASSERT_TRUE(TGetRegistryFont(kFinderPath, "Font01", read));
    EXPECT_EQ(read, font);

    ASSERT_TRUE(TSetRegistryBinary(kFinderPath, "Font02", std::string(59, 'x'), kRegOverwrite));
    ASSERT_TRUE(TSetRegistryString(kFinderPath, "Font03", std::string(59, 'x'), kRegOverwrite));
    EXPECT_FALSE(TGetRegistryFont(kFinderPath, "Font02", read));
    EXPECT_FALSE(TGetRegistryFont(kFinderPath, "Font03", read));
    EXPECT_EQ(read, font);
}

TEST_F(Helpers, ScratchPathsHaveExactlyOneSlashBeforeEachProgramsNames) {
    EXPECT_EQ(TScratchPath("/", "dfi.qtf"), "/dfi.qtf");
    const TScratchSet f = TScratchSet::In("/t/", kFinderScratch);
    const TScratchSet m = TScratchSet::In("/t", kManagerScratch);
    EXPECT_EQ(f.replacements + f.additions + f.output + m.replacements + m.additions + m.output,
              "/t/srchbkp1.qsr/t/srchbkp2.qsr/t/srchbkp3.qsr/t/bf1.qbk/t/bf2.qbk/t/bf3.qbk");

    // The user's choice is read with 260 bytes.
    std::string dir;
    ASSERT_TRUE(TWriteBackupDir("/" + std::string(258, 'd')));
    EXPECT_TRUE(TReadUserBackupDir(dir));
    ASSERT_TRUE(TWriteBackupDir("/" + std::string(259, 'd')));
    EXPECT_FALSE(TReadUserBackupDir(dir));
}

TEST_F(Helpers, StartupCreatesEachProgramsKeys) {
    EnsureFinderKeys();
    EXPECT_EQ(SubKeys("Software\\Tavro\\Verbatrakon III"),
              (std::vector<std::string>{"Groups", "Fndr", "Alphabet"}));
    EnsureManagerKeys();
    EXPECT_EQ(SubKeys("Software\\Tavro\\Verbatrakon III"),
              (std::vector<std::string>{"Groups", "Fndr", "Alphabet", "Editor"}));
    TRegKey key;
    EXPECT_EQ(TRegKey::Open(TRoot::kLocalMachine, "SOFTWARE\\Tavro", TAccess::kRead, key),
              TRegResult::kOk);
    EXPECT_EQ(TRegKey::Open(TRoot::kLocalMachine, "SOFTWARE\\Tavro\\Verbatrakon III",
                            TAccess::kRead, key),
              TRegResult::kNotFound);
}

}  // namespace
}  // namespace vrk
