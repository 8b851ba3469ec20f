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
    // Every slot's row and separator, "-" when one of them is missing.
    std::string Stored() {
        std::string rows;
        for (int i = 0; i < kAlphabetSlots; ++i) {
            TRegValue abc, sep;
            const bool there = key_.QueryValue("abc" + std::to_string(i), abc) == TRegResult::kOk &&
                               key_.QueryValue("sep" + std::to_string(i), sep) == TRegResult::kOk;
            rows += (i ? " " : "") + (there ? abc.data + sep.data : "-");
        }
        return rows;
    }
    TRegKey key_;
};

TEST_F(Alphabet, ReadersFallBackAsTheirPolicySays) {
    const std::string builtIn(kDefaultAlphabet);
    EXPECT_EQ(ReadAlphabetForSearch().text, builtIn);
    EXPECT_EQ(ReadAlphabetBothOrDefault().text, builtIn);

    ASSERT_EQ(key_.SetString("abc0", "a;b"), TRegResult::kOk);
    // Only the row: the search takes it with "|", the others keep the built-in row.
    EXPECT_EQ(ReadAlphabetForSearch().text, "a;b");
    EXPECT_EQ(ReadAlphabetForSearch().separator, '|');
    EXPECT_EQ(ReadAlphabetBothOrDefault().text, builtIn);

    ASSERT_EQ(key_.SetString("sep0", ";"), TRegResult::kOk);
    EXPECT_EQ(ReadAlphabetForSearch().separator, ';');
    EXPECT_EQ(ReadAlphabetBothOrDefault().text, "a;b");
    EXPECT_EQ(ReadAlphabetBothOrDefault().separator, ';');

    // A separator of two characters or none, or an empty row, is not read;
    // nor is a row that does not fit the buffer, written by other means.
    ASSERT_EQ(key_.SetString("sep0", ";;"), TRegResult::kOk);
    EXPECT_EQ(ReadAlphabetForSearch().separator, '|');
    EXPECT_EQ(ReadAlphabetBothOrDefault().text, builtIn);
    ASSERT_EQ(key_.SetString("sep0", ""), TRegResult::kOk);
    EXPECT_EQ(ReadAlphabetForSearch().separator, '|');
    for (const std::string& unread : {std::string(), std::string(1000, 'w')}) {
        Put(0, unread, '|');
        EXPECT_EQ(ReadAlphabetForSearch().text, builtIn);
        EXPECT_FALSE(ReadAlphabetSlots()[0].listed);
    }
    ASSERT_EQ(key_.SetNumber("abc0", 1), TRegResult::kOk);
    EXPECT_EQ(ReadAlphabetForSearch().text, builtIn);
}

TEST_F(Alphabet, DialogListsOnlyCompleteNonEmptySlots) {
    Put(0, "r0", '|');
    ASSERT_EQ(key_.SetString("abc1", "r1"), TRegResult::kOk);  // no separator
    Put(2, "", '|');
    Put(3, "r3", '#');
    const TAlphabetSlots slots = ReadAlphabetSlots();
    EXPECT_TRUE(slots[0].listed);
    EXPECT_FALSE(slots[1].listed);
    EXPECT_EQ(slots[1].row.text, "r1");
    EXPECT_EQ(slots[1].row.separator, '|');
    EXPECT_FALSE(slots[2].listed);
    EXPECT_TRUE(slots[3].listed);
    EXPECT_EQ(slots[3].row.separator, '#');
    EXPECT_FALSE(slots[4].listed);
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
        {{"r3", '|'}, "r3| r0| r1| r2| r4| r5| r6| r7| r8| r9|"},
        {{"new", ';'}, "new; r3| r0| r1| r2| r4| r5| r6| r7| r8|"},
        // The same text with another separator is another row.
        {{"new", '|'}, "new| new; r3| r0| r1| r2| r4| r5| r6| r7|"},
        // A repeated row closes its gap: the last slot's row stays, and is
        // not repeated when it is the one stored.
        {{"r4", '|'}, "r4| new| new; r3| r0| r1| r2| r5| r6| r7|"},
        {{"r7", '|'}, "r7| r4| new| new; r3| r0| r1| r2| r5| r6|"},
    };
    for (const auto& step : steps) {
        StoreAlphabetRow(ReadAlphabetSlots(), step.row);
        EXPECT_EQ(Stored(), step.stored) << step.row.text;
    }
    EXPECT_EQ(ValueNames(kAlphabetKey).size(), 2u * kAlphabetSlots);  // none beyond the last slot
}

TEST_F(Alphabet, LongRowIsCutAndReadBack) {
    StoreAlphabetRow(ReadAlphabetSlots(), {std::string(1200, 'x'), '|'});
    EXPECT_EQ(ReadAlphabetForSearch().text, std::string(999, 'x'));
    // 999 bytes and their terminator fill the buffer exactly; 1000 are cut.
    StoreAlphabetRow(ReadAlphabetSlots(), {std::string(999, 'y'), '|'});
    EXPECT_EQ(ReadAlphabetForSearch().text, std::string(999, 'y'));
    StoreAlphabetRow(ReadAlphabetSlots(), {std::string(1000, 'z'), '|'});
    EXPECT_EQ(ReadAlphabetForSearch().text, std::string(999, 'z'));
    EXPECT_EQ(ReadAlphabetSlots()[1].row.text, std::string(999, 'y'));
}

}  // namespace
}  // namespace vrk
