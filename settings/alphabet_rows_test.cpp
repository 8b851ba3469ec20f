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
    // "abc<i>" with its separator, as "text/sep", or "-" when missing.
    std::vector<std::string> Stored() {
        std::vector<std::string> rows;
        for (int i = 0; i < kAlphabetSlots; ++i) {
            TRegValue abc, sep;
            if (key_.QueryValue("abc" + std::to_string(i), abc) != TRegResult::kOk ||
                key_.QueryValue("sep" + std::to_string(i), sep) != TRegResult::kOk)
                rows.push_back("-");
            else
                rows.push_back(abc.data + "/" + sep.data);
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

    // A separator of two characters or none, or an empty row, is not read.
    ASSERT_EQ(key_.SetString("sep0", ";;"), TRegResult::kOk);
    EXPECT_EQ(ReadAlphabetForSearch().separator, '|');
    EXPECT_EQ(ReadAlphabetBothOrDefault().text, builtIn);
    ASSERT_EQ(key_.SetString("sep0", ""), TRegResult::kOk);
    EXPECT_EQ(ReadAlphabetForSearch().separator, '|');
    ASSERT_EQ(key_.SetString("abc0", ""), TRegResult::kOk);
    EXPECT_EQ(ReadAlphabetForSearch().text, builtIn);
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

class AlphabetHistory : public Alphabet {
  protected:
    void SetUp() override {
        Alphabet::SetUp();
        for (int i = 0; i < kAlphabetSlots; ++i) Put(i, "r" + std::to_string(i), '|');
    }
};

TEST_F(AlphabetHistory, SameRowChangesNothing) {
    const auto before = Stored();
    StoreAlphabetRow(ReadAlphabetSlots(), {"r0", '|'});
    EXPECT_EQ(Stored(), before);
}

TEST_F(AlphabetHistory, RowFromTheHistoryMovesToTheTop) {
    StoreAlphabetRow(ReadAlphabetSlots(), {"r3", '|'});
    EXPECT_EQ(Stored(), (std::vector<std::string>{"r3/|", "r0/|", "r1/|", "r2/|", "r4/|", "r5/|",
                                                  "r6/|", "r7/|", "r8/|", "r9/|"}));
}

TEST_F(AlphabetHistory, NewRowPushesTheOldestOut) {
    StoreAlphabetRow(ReadAlphabetSlots(), {"new", ';'});
    EXPECT_EQ(Stored(), (std::vector<std::string>{"new/;", "r0/|", "r1/|", "r2/|", "r3/|", "r4/|",
                                                  "r5/|", "r6/|", "r7/|", "r8/|"}));
    // Same text with another separator is another row.
    StoreAlphabetRow(ReadAlphabetSlots(), {"new", '|'});
    EXPECT_EQ(Stored()[0], "new/|");
    EXPECT_EQ(Stored()[1], "new/;");
    // The last slot's row comes back when a repeated row closes its gap.
    StoreAlphabetRow(ReadAlphabetSlots(), {"r5", '|'});
    EXPECT_EQ(Stored(), (std::vector<std::string>{"r5/|", "new/|", "new/;", "r0/|", "r1/|", "r2/|",
                                                  "r3/|", "r4/|", "r6/|", "r7/|"}));
    // The oldest row itself is not repeated once it has been pushed out.
    StoreAlphabetRow(ReadAlphabetSlots(), {"r7", '|'});
    EXPECT_EQ(Stored(), (std::vector<std::string>{"r7/|", "r5/|", "new/|", "new/;", "r0/|", "r1/|",
                                                  "r2/|", "r3/|", "r4/|", "r6/|"}));
    // Nothing is ever written beyond the last slot.
    EXPECT_EQ(ValueNames(kAlphabetKey).size(), 2u * kAlphabetSlots);
}

TEST_F(AlphabetHistory, LongRowIsCutAndReadBack) {
    StoreAlphabetRow(ReadAlphabetSlots(), {std::string(1200, 'x'), '|'});
    EXPECT_EQ(ReadAlphabetForSearch().text, std::string(999, 'x'));
    // 999 bytes and their terminator fill the buffer exactly; 1000 are cut.
    StoreAlphabetRow(ReadAlphabetSlots(), {std::string(999, 'y'), '|'});
    EXPECT_EQ(ReadAlphabetForSearch().text, std::string(999, 'y'));
    StoreAlphabetRow(ReadAlphabetSlots(), {std::string(1000, 'z'), '|'});
    EXPECT_EQ(ReadAlphabetForSearch().text, std::string(999, 'z'));
    EXPECT_EQ(ReadAlphabetSlots()[1].row.text, std::string(999, 'y'));
}

TEST_F(Alphabet, StoredRowOfAThousandBytesIsNotRead) {
    // Written by other means: a row that does not fit the buffer is not
    // read, and the built-in row is used.
    Put(0, std::string(1000, 'w'), '|');
    EXPECT_EQ(ReadAlphabetForSearch().text, std::string(kDefaultAlphabet));
    EXPECT_FALSE(ReadAlphabetSlots()[0].listed);
    Put(0, std::string(999, 'w'), '|');
    EXPECT_EQ(ReadAlphabetForSearch().text, std::string(999, 'w'));
}

}  // namespace
}  // namespace vrk
