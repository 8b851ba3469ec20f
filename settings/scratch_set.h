// The three scratch files a dictionary object is made with (replacements,
// additions, output), named as each program names them in its temporary
// directory (temp_dir.h): the finder "srchbkp1.qsr" to "srchbkp3.qsr", the
// manager and vrk3tool "bf1.qbk" to "bf3.qbk".
#pragma once

#include <string>
#include <string_view>

#include "store/data_file.h"

namespace vrk {

// Whose names the scratch files take.
enum TScratchOwner { kFinderScratch, kManagerScratch };

struct TScratchSet {
    std::string replacements;
    std::string additions;
    std::string output;

    // The scratch files `owner` names, in the folder `dir`.
    [[nodiscard]] static TScratchSet In(std::string_view dir, TScratchOwner owner);
    // A dictionary object for the file `path` with these scratch files.
    [[nodiscard]] TDataFile Open(std::string path) const;
};

}  // namespace vrk
