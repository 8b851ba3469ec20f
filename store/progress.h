// The three process-wide values through which long dictionary operations
// report progress and are cancelled. The store writes nProgressTotal and
// nProgressPos and only reads bStopRequested; the user interface does the
// opposite. The store never waits on them.
#pragma once

#include <atomic>
#include <cstdint>

namespace vrk {

extern std::atomic<std::int32_t> nProgressTotal;
extern std::atomic<std::int32_t> nProgressPos;
extern std::atomic<std::int32_t> bStopRequested;

inline bool StopRequested() { return bStopRequested.load(std::memory_order_relaxed) != 0; }
inline void AddProgress(std::int32_t n) { nProgressPos.fetch_add(n, std::memory_order_relaxed); }

}  // namespace vrk
