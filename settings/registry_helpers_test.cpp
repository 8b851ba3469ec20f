#include "settings/registry_helpers.h"

#include "settings/settings_keys.h"
#include "settings/test_env.h"

namespace vrk {
namespace {

using Helpers = TSettingsTest;

// A failed read leaves the caller's value (its default) alone; strings are
// read with at most 1000 bytes, a font value only with its exact size.
TEST_F(Helpers, ReadFailuresLeaveTheOutputAlone) {
    std::string text = "unchanged";
    std::int32_t n = 42;
    EXPECT_FALSE(TSetRegistryNumber("HKEY_USERS\\X", "v", 1, kRegCreateKey | kRegOverwrite));
    EXPECT_FALSE(TGetRegistryNumber(kFinderPath, "MatchCase", n));

    TRegKey key = UserKey(kFinderKey);
    ASSERT_EQ(key.SetString("str", std::string(999, 'x')), TRegResult::kOk);
    ASSERT_EQ(key.SetString("long", std::string(1000, 'x')), TRegResult::kOk);
    ASSERT_EQ(key.SetString("four", "abc"), TRegResult::kOk);  // four bytes with its terminator
    ASSERT_EQ(key.SetNumber("num", 5), TRegResult::kOk);
    ASSERT_EQ(key.SetValue("font", TValueType::kBinary, std::string(59, 'x')), TRegResult::kOk);
    TFontValue font{};
    EXPECT_FALSE(TGetRegistryFont(kFinderPath, "font", font));          // a byte short
    EXPECT_FALSE(TGetRegistryString(kFinderPath, "long", text, 5000));  // needs 1001 bytes
    EXPECT_FALSE(TGetRegistryString(kFinderPath, "str", text, 999));    // caller's smaller buffer
    EXPECT_FALSE(TGetRegistryString(kFinderPath, "num", text));         // not a string
    EXPECT_FALSE(TGetRegistryNumber(kFinderPath, "four", n));           // not a number
    EXPECT_EQ(text, "unchanged");
    EXPECT_EQ(n, 42);
    EXPECT_EQ(font, TFontValue{});
    ASSERT_TRUE(TGetRegistryString(kFinderPath, "str", text, 5000));
    EXPECT_EQ(text.size(), 999u);
    ASSERT_TRUE(TGetRegistryNumber(kFinderPath, "num", n));
    EXPECT_EQ(n, 5);
}

// Whether a value is written, as the flags and the answer to the question
// say, for a missing key and for an existing value; asking and then creating
// or overwriting anyway acts whatever the answer.
TEST_F(Helpers, KeysAreCreatedAndValuesOverwrittenOnlyAsTheFlagsSay) {
    enum TAsked { kNothing, kCreate, kOverwrite };
    const struct {
        bool exists;
        unsigned flags;
        bool answer;
        TAsked asked;
        const char* after;  // the value then, "-" when there is none
    } cases[] = {
        {false, kRegCreateKey | kRegNeverCreate, true, kNothing, "-"},
        {false, kRegAsk, false, kCreate, "-"},
        {false, kRegAsk, true, kCreate, "new"},
        {false, kRegAsk | kRegCreateKey, false, kCreate, "new"},
        {true, kRegNeverOverwrite | kRegOverwrite, true, kNothing, "old"},
        {true, kRegAsk, false, kOverwrite, "old"},
        {true, kRegAsk | kRegOverwrite, false, kOverwrite, "new"},
    };
    int row = 0;
    for (const auto& c : cases) {
        const std::string path = std::string(kFinderPath) + "\\K" + std::to_string(row++);
        SCOPED_TRACE(path);
        if (c.exists) {
            ASSERT_TRUE(TSetRegistryString(path, "v", "old", kRegCreateKey));
        }
        questions_.clear();
        lines_.clear();
        answer_ = c.answer;
        const bool written = std::string(c.after) == "new";
        EXPECT_EQ(TSetRegistryString(path, "v", "new", c.flags), written);
        const std::string create =
            "Warning: " + path + "\nThis registry key doesn't exist. Create?";
        const std::string overwrite =
            "Warning: " + path + "\\v\nThis registry value already exists. Overwrite?";
        EXPECT_EQ(questions_, c.asked == kCreate      ? std::vector<std::string>{create}
                              : c.asked == kOverwrite ? std::vector<std::string>{overwrite}
                                                      : std::vector<std::string>{});
        const char* line = c.exists  ? "* TSetRegistryString: The value already exists."
                           : written ? nullptr
                                     : "* TSetRegistryString: Cannot open the specified key.";
        EXPECT_EQ(lines_, line ? std::vector<std::string>{line} : std::vector<std::string>{});
        std::string text = "-";
        EXPECT_EQ(TGetRegistryString(path, "v", text), c.exists || written);
        EXPECT_EQ(text, c.after);
    }
}

}  // namespace
}  // namespace vrk
