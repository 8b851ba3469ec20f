// An index from word to the first entry with that word, over the scrambled
// records of an opened dictionary. Merging (MergeFile and the imports) finds
// the entry for an incoming word through it instead of scanning every entry.
//
// Memory follows the distinct words, not the entry count: a slot of 8 bytes
// per distinct word (the table is at most 70 % full) and the offset of every
// eighth entry. A hostile file of a million empty or repeated records costs
// about one byte per record, less than the file itself.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace vrk {

class TWordIndex {
  public:
    // Indexes `count` entry records that start at `first` in `file` (the
    // records of the whole dictionary file, scrambled as stored; offsets are
    // absolute). Only the first entry of each word is kept. False when the
    // records end early.
    [[nodiscard]] bool Build(std::string_view file, std::uint64_t first, std::int32_t count);
    // The first entry whose word equals `word` byte for byte, or -1.
    std::int32_t Find(std::string_view word) const;
    // The absolute offset of entry i's record (i < the count given to Build).
    std::uint64_t RecordOffset(std::int32_t i) const;
    // Bytes held by the index, for tests of its size.
    std::size_t MemoryUsed() const;

  private:
    struct Slot {
        std::uint32_t hash;
        std::int32_t entry;  // -1: empty
    };
    // Every kCheckpointStep-th entry's offset is kept; the others are found
    // by skipping at most kCheckpointStep - 1 records from there.
    static constexpr std::int32_t kCheckpointStep = 8;

    // Adds entry `entry` (its record at `offset`, its word's hash `hash`)
    // unless its word is there already.
    void Insert(std::uint32_t hash, std::uint64_t offset, std::int32_t entry);
    void Grow();
    bool WordEquals(std::int32_t entry, std::string_view word) const;

    std::string_view m_file;
    std::vector<std::uint64_t> m_checkpoints;
    std::vector<Slot> m_slots;
    std::size_t m_used = 0;
};

}  // namespace vrk
