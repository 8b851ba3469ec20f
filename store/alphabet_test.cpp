#include "alphabet.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vrk {
namespace {

TEST(DefaultAlphabet, Has149BytesIn43GroupsFoldingRelatedLetters) {
    EXPECT_EQ(kDefaultAlphabet.size(), 149u);
    EXPECT_EQ(std::count(kDefaultAlphabet.begin(), kDefaultAlphabet.end(), '|'), 42);
    const TRankTable& rank = DefaultRankTable();
    EXPECT_EQ(RankOf(rank, ' '), 0u);
    EXPECT_EQ(RankOf(rank, 'A'), 12u);
    EXPECT_EQ(RankOf(rank, '\x9e'), 42u);  // ž, the last group
    // Bytes outside the row rank one past the last group.
    EXPECT_EQ(RankOf(rank, '\x01'), 43u);
    // Case and related letters share a group.
    EXPECT_EQ(RankOf(rank, 'a'), RankOf(rank, '\xc4'));     // Ä
    EXPECT_EQ(RankOf(rank, '\xe8'), RankOf(rank, '\xe6'));  // č and ć
    EXPECT_NE(RankOf(rank, 'c'), RankOf(rank, '\xe8'));
}

TEST(CompareByRank, OrdersBySlovenianAlphabet) {
    const TRankTable& rank = DefaultRankTable();
    // clang-format off
    EXPECT_EQ(CompareByRank(rank, "\xc8" "as", "Cesta"), -1);  // Čas after Cesta
    // clang-format on
    EXPECT_EQ(CompareByRank(rank, "ab", "AB"), 0);
    EXPECT_EQ(CompareByRank(rank, "ab", "abc"), +1);  // a prefix sorts first
    // A record's 0x01 ranks after every letter: abc's record before ab's.
    EXPECT_EQ(CompareByRank(rank, "abc\x01x", "ab\x01x"), +1);
    EXPECT_EQ(CompareByRank(rank, "\xc9", "@"), 0);  // unlisted bytes are equal
}

TEST(BuildRankTable, LastOccurrenceWinsAndEmptyRowIsOneGroup) {
    const TRankTable rank = BuildRankTable("ab;ca", ';');
    EXPECT_EQ(rank['a'], 1u);
    EXPECT_EQ(rank['b'], 0u);
    EXPECT_EQ(rank['z'], 2u);
    const TRankTable empty = BuildRankTable("", '|');
    EXPECT_TRUE(std::all_of(empty.begin(), empty.end(), [](std::uint32_t r) { return r == 1; }));
}

}  // namespace
}  // namespace vrk
