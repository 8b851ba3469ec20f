#include "settings/scratch_set.h"

#include <utility>

#include "settings/temp_dir.h"

namespace vrk {

TScratchSet TScratchSet::In(std::string_view dir, TScratchOwner owner) {
    if (owner == kFinderScratch)
        return {TScratchPath(dir, "srchbkp1.qsr"), TScratchPath(dir, "srchbkp2.qsr"),
                TScratchPath(dir, "srchbkp3.qsr")};
    return {TScratchPath(dir, "bf1.qbk"), TScratchPath(dir, "bf2.qbk"),
            TScratchPath(dir, "bf3.qbk")};
}

TDataFile TScratchSet::Open(std::string path) const {
    return TDataFile(std::move(path), replacements, additions, output);
}

}  // namespace vrk
