// Alphabet rows and the letter-rank table built from them. A row lists the
// characters in sort order, in groups split by a separator; the characters of
// one group sort as equal and match each other in a search that ignores case.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vrk {

using TRankTable = std::array<std::uint32_t, 256>;

// The built-in row (Windows-1250, 149 bytes, 43 groups) and its separator.
extern const std::string_view kDefaultAlphabet;
inline constexpr char kDefaultSeparator = '|';
// A stored row is at most this many bytes; longer rows are cut.
inline constexpr std::size_t kMaxAlphabet = 999;

// rank[c] is the number of the last group that holds c; a byte that no group
// holds ranks one past the last group.
TRankTable BuildRankTable(std::string_view row, char separator);

// The table of the built-in row, built once.
const TRankTable& DefaultRankTable();

inline std::uint32_t RankOf(const TRankTable& rank, char c) {
    return rank[static_cast<unsigned char>(c)];
}

// Sort order of two byte strings under a rank table: +1 when a sorts before
// b, -1 when after, 0 when equal (note the sign). A prefix sorts first.
int CompareByRank(const TRankTable& rank, std::string_view a, std::string_view b);

}  // namespace vrk
