#include "sorted_list.h"
#include "format.h"

#include <gtest/gtest.h>

namespace vrk {
namespace {

TEST(TSortedList, GivesStringsBackInAlphabetOrder) {
    // "AB", inserted after the equal "ab", goes before it.
    // clang-format off
    const std::vector<std::string> sorted = {" x", "10", "2", "AB", "ab", "abc", "Cesta",
                                             "\xc8" "as", "sova", "\x8a" "ola", "Zebra", "\x9e" "aba"};
    // clang-format on
    TSortedList list;
    for (std::size_t i : {7, 2, 11, 0, 5, 9, 4, 1, 10, 6, 3, 8})
        ASSERT_GE(list.Insert(sorted[i]), 0);
    std::vector<std::string> back(sorted.size());
    for (std::int32_t i = 0; i < list.GetCount(); ++i) ASSERT_TRUE(list.Get(i, back[i], 1000));
    EXPECT_EQ(back, sorted);
}

// A string equal to the first goes before it, one equal to the last after
// it, also where a longer list is searched by bisection.
TEST(TSortedList, PlacesEqualStringsAtTheEnds) {
    for (int n : {2, 9}) {
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
