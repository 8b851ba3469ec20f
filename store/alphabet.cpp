#include "alphabet.h"

namespace vrk {

// The row begins with a space; group 1 is punctuation, 2-11 the digits,
// 12-42 the letters with their upper and lower case and related letters.
const std::string_view kDefaultAlphabet(
    " |,.-_!#$%&/\\()=?*+-;:><|0|1|2|3|4|5|6|7|8|9|Aa\xc4\xe4|Bb|Cc|\xc7\xe7|"
    "\xc8\xe8\xc6\xe6|Dd|\xd0\xf0|Ee\xe9|Ff|Gg|Hh|Ii|Jj|Kk|Ll|Mm|Nn\xd1\xf1|Oo\xd6\xf6|"
    "Pp|Qq|Rr|Ss|\x8a\x9a|Tt|Uu\xdc\xfc\xf9|Vv|Ww|Xx|Yy|Zz|\x8e\x9e",
    149);

TRankTable BuildRankTable(std::string_view row, char separator) {
    constexpr std::uint32_t kUnassigned = 0xFFFFFFFFu;
    TRankTable rank;
    rank.fill(kUnassigned);
    std::uint32_t group = 0;
    for (char c : row) {
        if (c == separator)
            ++group;
        else
            rank[static_cast<unsigned char>(c)] = group;
    }
    for (auto& r : rank)
        if (r == kUnassigned) r = group + 1;
    return rank;
}

const TRankTable& DefaultRankTable() {
    static const TRankTable table = BuildRankTable(kDefaultAlphabet, kDefaultSeparator);
    return table;
}

int CompareByRank(const TRankTable& rank, std::string_view a, std::string_view b) {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint32_t ra = RankOf(rank, a[i]);
        const std::uint32_t rb = RankOf(rank, b[i]);
        if (ra < rb) return +1;
        if (ra > rb) return -1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() > b.size() ? -1 : +1;
}

}  // namespace vrk
