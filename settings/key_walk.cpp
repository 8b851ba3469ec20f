#include "settings/key_walk.h"

#include <vector>

namespace vrk {

TRegResult WalkKeys(const TRegKey& start, std::size_t nameBuffer, const TKeyVisitor& visit) {
    struct TFrame {
        TRegKey key;
        std::uint32_t next = 0;
    };
    std::vector<TFrame> stack;
    stack.push_back({start, 0});
    TRegResult first = TRegResult::kOk;
    while (!stack.empty()) {
        std::string name;
        const TRegResult r = stack.back().key.EnumKey(stack.back().next++, name, nameBuffer);
        if (r != TRegResult::kOk) {
            if (r != TRegResult::kNoMoreItems && first == TRegResult::kOk) first = r;
            stack.pop_back();
            continue;
        }
        TRegKey child;
        // A key deleted by another process since it was listed is passed over.
        if (stack.back().key.OpenSub(name, TAccess::kRead, child) != TRegResult::kOk) continue;
        const TWalkStep step = visit(static_cast<int>(stack.size()), name, child);
        if (step == TWalkStep::kStop) break;
        if (step == TWalkStep::kDescend) stack.push_back({std::move(child), 0});
    }
    return first;
}

}  // namespace vrk
