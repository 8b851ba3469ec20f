// Depth-first walks over the keys below a key, without recursion, so that a
// tree of any depth costs no stack.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "settings/reg_key.h"

namespace vrk {

enum class TWalkStep {
    kDescend,  // visit the keys below this one next
    kSkip,     // go on with this key's next sibling
    kStop,     // end the walk
};

// Called for each key with its depth (1 for a direct sub-key of the start),
// its name and the key opened for reading.
using TKeyVisitor = std::function<TWalkStep(int depth, const std::string& name, TRegKey& key)>;

// Visits the keys below `start` in pre-order, each level in enumeration
// order, reading names with a buffer of `nameBuffer` bytes. A key whose
// sub-keys cannot be enumerated is left at the failing index and the walk
// goes on; the result is the first such failure, or kOk.
[[nodiscard]] TRegResult WalkKeys(const TRegKey& start, std::size_t nameBuffer,
                                  const TKeyVisitor& visit);

}  // namespace vrk
