// Every entry of a dictionary that holds a word: what a merging save
// changes, and what undoing it puts back.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vrk {
class TDataFile;
}

// An entry and its record.
struct TFoundEntry {
    std::int32_t index = -1;
    std::string record;
};
// Every entry of `file` whose word is the word of `record` (byte for byte,
// as a merging store compares them), in file order. False when the
// dictionary cannot be read.
[[nodiscard]] bool FindWordEntries(vrk::TDataFile& file, std::string_view record,
                                   std::vector<TFoundEntry>& found);
