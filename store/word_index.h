// An index from word to the first entry with that word, over the scrambled
// records of an opened dictionary. Merging (MergeFile and the imports) finds
// the entry for an incoming word through it instead of scanning every entry.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace vrk {

class TWordIndex {
  public:
    // Indexes `count` entry records that start at `first` in `file` (the
    // whole dictionary file, scrambled as stored; offsets are absolute). Only
    // the first entry of each word is kept. False when the records end early.
    [[nodiscard]] bool Build(std::string_view file, std::uint64_t first, std::int32_t count);
    // The first entry whose word equals `word` byte for byte, or -1.
    std::int32_t Find(std::string_view word) const;
    // The absolute offset of entry i's record (i < the count given to Build).
    std::uint64_t RecordOffset(std::int32_t i) const { return m_offsets[i]; }

  private:
    struct Slot {
        std::uint32_t hash;
        std::int32_t entry;  // -1: empty
    };
    bool WordEquals(std::int32_t entry, std::string_view word) const;
    std::string_view m_file;
    std::vector<std::uint64_t> m_offsets;
    std::vector<Slot> m_slots;
};

}  // namespace vrk
