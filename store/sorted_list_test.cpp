#include "sorted_list.h"
#include "format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace vrk {
namespace {

TEST(TSortedList, GivesStringsBackInAlphabetOrder) {
    // clang-format off
    std::vector<std::string> words = {"\xc8" "as", "Cesta", "abc", "ab", "AB", "\x8a" "ola",
                                      "sova", "Zebra", "\x9e" "aba", "10", "2", " x"};
    // clang-format on
    std::mt19937 rng(3);
    for (int round = 0; round < 20; ++round) {
        std::shuffle(words.begin(), words.end(), rng);
        TSortedList list;
        for (const auto& w : words) ASSERT_GE(list.Insert(w), 0);
        ASSERT_EQ(list.GetCount(), static_cast<std::int32_t>(words.size()));
        std::string prev, cur;
        ASSERT_TRUE(list.Get(0, prev, 1000));
        for (std::int32_t i = 1; i < list.GetCount(); ++i) {
            ASSERT_TRUE(list.Get(i, cur, 1000));
            ASSERT_GE(list.Compare(prev, cur), 0) << prev << " / " << cur;
            prev = cur;
        }
    }
}

// A string equal to the first goes before it, one equal to the last after
// it, also where a longer list is searched by bisection.
TEST(TSortedList, PlacesEqualStringsAtTheEnds) {
    for (int n = 2; n <= 9; ++n) {
        TSortedList list;
        for (int i = 0; i < n; ++i)
            ASSERT_GE(list.Insert(std::string(1, static_cast<char>('b' + i))), 0);
        EXPECT_EQ(list.Insert("B"), 0) << n;
        std::string first;
        ASSERT_TRUE(list.Get(0, first, 10));
        EXPECT_EQ(first, "B") << n;
        EXPECT_EQ(list.Insert(std::string(1, static_cast<char>('B' + n - 1))), n + 1) << n;
        EXPECT_EQ(list.Insert("a"), 0) << n;
    }
}

TEST(TSortedList, AlphabetAndSeparatorChangeTheOrder) {
    TSortedList list;
    list.SetSeparator(';');
    list.SetAlphabet("z;y;x");
    ASSERT_GE(list.Insert("x"), 0);
    ASSERT_GE(list.Insert("z"), 0);
    std::string first;
    ASSERT_TRUE(list.Get(0, first, 10));
    EXPECT_EQ(first, "z");
}

TEST(TSortedList, LimitsAndCutting) {
    TSortedList list;
    EXPECT_EQ(list.Insert(std::string(TSortedList::kBlockSize, 'a')), -1);
    ASSERT_EQ(list.Insert(std::string(TSortedList::kBlockSize - 1, 'a')), 0);
    ASSERT_EQ(list.Insert("12345"), 0);  // digits sort before letters
    std::string out;
    EXPECT_TRUE(list.Get(0, out, 3));
    EXPECT_EQ(out, "12");
    EXPECT_FALSE(list.Get(2, out, 10));
    EXPECT_FALSE(list.Get(-1, out, 10));
    // Strings spill over into new blocks without losing earlier ones.
    for (int i = 0; i < 30000; ++i) ASSERT_GE(list.Insert("w" + std::to_string(i)), 0);
    EXPECT_EQ(list.GetCount(), 30002);
    EXPECT_TRUE(list.Get(1, out, MAX_RECORD));  // after "12345", before every "w"
    EXPECT_EQ(out.size(), TSortedList::kBlockSize - 1);
}

}  // namespace
}  // namespace vrk
