// TSortedList: strings kept in the order of an alphabet row. Strings are
// copied back to back into large blocks, so a long list needs few
// allocations; the list only grows and lives for one operation.
// The older-format exports put entries that sort as equal in the order this
// list's insertion gives them (older_formats_export.cpp computes it without
// building a list; its test compares the two).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "alphabet.h"

namespace vrk {

class TSortedList {
  public:
    static constexpr std::size_t kBlockSize = 100000;
    static constexpr std::size_t kMaxBlocks = 1000;
    static constexpr std::size_t kItemGrowth = 10000;

    // Separator "|" and the built-in row.
    TSortedList();

    // +1 when a sorts before b, -1 when after, 0 when equal.
    [[nodiscard]] std::int32_t Compare(std::string_view a, std::string_view b) const {
        return CompareByRank(m_rank, a, b);
    }
    // Stores a copy of s (shorter than kBlockSize, without 0x00) and returns
    // its position; -1 when no block or item slot can be had.
    [[nodiscard]] std::int32_t Insert(std::string_view s);
    // String i, cut to size - 1 bytes; false outside 0 ... count - 1.
    [[nodiscard]] bool Get(std::int32_t i, std::string& out, std::size_t size) const;
    std::int32_t GetCount() const { return static_cast<std::int32_t>(m_items.size()); }

  private:
    std::int32_t InsertPosition(std::string_view s) const;

    std::vector<std::unique_ptr<char[]>> m_blocks;
    std::size_t m_blockFill = 0;  // bytes used in the current (last) block
    std::vector<std::string_view> m_items;
    TRankTable m_rank;
};

}  // namespace vrk
