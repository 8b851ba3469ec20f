#include "settings/alphabet_rows.h"

#include "settings/settings_keys.h"
#include "settings/test_env.h"
#include "store/alphabet.h"

namespace vrk {
namespace {

class Alphabet : public TSettingsTest {
  protected:
    void SetUp() override {
        TSettingsTest::SetUp();
        key_ = UserKey(kAlphabetKey);
    }
    void Put(int i, const std::string& text, char sep) {
        ASSERT_EQ(key_.SetString("abc" + std::to_string(i), text), TRegResult::kOk);
        ASSERT_EQ(key_.SetString("sep" + std::to_string(i), std::string(1, sep)), TRegResult::kOk);
    }
    TRegKey key_;
};

TEST_F(Alphabet, ReadersFallBackAsTheirPolicySays) {
    const std::string builtIn(kDefaultAlphabet);
    EXPECT_EQ(ReadAlphabetForSearch().text, builtIn);
    ASSERT_EQ(key_.SetString("abc0", "a;b"), TRegResult::kOk);
    // Only the row: the search takes it with "|", the others keep the built-in row.
    EXPECT_EQ(ReadAlphabetForSearch().text, "a;b");
    EXPECT_EQ(ReadAlphabetForSearch().separator, '|');
    EXPECT_EQ(ReadAlphabetBothOrDefault().text, builtIn);
    ASSERT_EQ(key_.SetString("sep0", ";"), TRegResult::kOk);
    EXPECT_EQ(ReadAlphabetBothOrDefault().text, "a;b");
    EXPECT_EQ(ReadAlphabetBothOrDefault().separator, ';');

    // A separator of two characters is not read, nor is an empty row.
    ASSERT_EQ(key_.SetString("sep0", ";;"), TRegResult::kOk);
    EXPECT_EQ(ReadAlphabetForSearch().separator, '|');
    EXPECT_EQ(ReadAlphabetBothOrDefault().text, builtIn);
    Put(0, "", '|');
    EXPECT_EQ(ReadAlphabetForSearch().text, builtIn);
}

// Each row stored goes to the top of the full history.
TEST_F(Alphabet, StoredRowsMoveUpOrPushTheOldestOut) {
    for (int i = 0; i < kAlphabetSlots; ++i) Put(i, "r" + std::to_string(i), '|');
    ASSERT_EQ(key_.DeleteValue("sep9"), TRegResult::kOk);  // an incomplete slot
    const struct {
        TAlphabetRow row;
        const char* stored;
    } steps[] = {
        // The same row changes nothing, not even an incomplete slot.
        {{"r0", '|'}, "r0| r1| r2| r3| r4| r5| r6| r7| r8| -"},
        // A row further down closes its gap and is not repeated.
        {{"r3", '|'}, "r3| r0| r1| r2| r4| r5| r6| r7| r8| r9|"},
        {{"new", ';'}, "new; r3| r0| r1| r2| r4| r5| r6| r7| r8|"},
        // The same text with another separator is another row.
        {{"new", '|'}, "new| new; r3| r0| r1| r2| r4| r5| r6| r7|"},
    };
    for (const auto& step : steps) {
        StoreAlphabetRow(ReadAlphabetSlots(), step.row);
        std::string stored;
        for (int i = 0; i < kAlphabetSlots; ++i) {
            TRegValue abc, sep;
            const bool there = key_.QueryValue("abc" + std::to_string(i), abc) == TRegResult::kOk &&
                               key_.QueryValue("sep" + std::to_string(i), sep) == TRegResult::kOk;
            stored += (i ? " " : "") + (there ? abc.data + sep.data : "-");
        }
        EXPECT_EQ(stored, step.stored) << step.row.text;
    }
    EXPECT_EQ(ValueNames(kAlphabetKey).size(), 2u * kAlphabetSlots);  // none beyond the last slot
}

// 999 bytes and their terminator fill the reader's buffer.
TEST_F(Alphabet, LongRowIsCutToWhatCanBeRead) {
    StoreAlphabetRow(ReadAlphabetSlots(), {std::string(1000, 'z'), '|'});
    EXPECT_EQ(ReadAlphabetForSearch().text, std::string(999, 'z'));
}

}  // namespace
}  // namespace vrk
