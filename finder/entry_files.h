// What the entry editing needs around the dictionary object: the scratch
// paths of the finder's dictionary operations, and every entry that holds a
// word.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vrk {
class TDataFile;
}

// The finder's three scratch files in the temporary directory `dir`:
// "srchbkp1.qsr" (replacements), "srchbkp2.qsr" (additions), "srchbkp3.qsr"
// (the rewritten dictionary).
struct TBackupPaths {
    std::string replacements;
    std::string additions;
    std::string output;
};
[[nodiscard]] TBackupPaths FinderBackupPaths(std::string_view dir);

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
