// TProgress: how one long dictionary operation reports its progress and is
// asked to stop. The caller owns the object and hands it to the dictionary
// object (TDataFile::SetProgress) for the operation; the store writes
// nProgressTotal and nProgressPos and only reads bStopRequested, the caller
// does the opposite. The store never waits on them, and it never clears a
// stop request: a caller that cancels before the operation has started still
// stops it. A caller that runs several operations resets the object between
// them (Reset).
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <limits>

namespace vrk {

// A progress total computed from counts, held to the range of the 32-bit
// progress values.
[[nodiscard]] inline std::int32_t ClampProgress(std::int64_t total) {
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(total, 0, std::numeric_limits<std::int32_t>::max()));
}

// The total of an operation that rewrites its dictionary in `steps` steps:
// a further fiftieth is kept for the wait until the new file is on the
// disk. The rewrite counts it once the file is there, so that the bar
// moves between that wait and the clean-up after it.
[[nodiscard]] inline std::int64_t WithSyncShare(std::int64_t steps) {
    return steps + steps / 50 + 1;
}

struct TProgress {
    std::atomic<std::int32_t> nProgressTotal{0};
    std::atomic<std::int32_t> nProgressPos{0};
    std::atomic<std::int32_t> bStopRequested{0};

    bool StopRequested() const { return bStopRequested.load(std::memory_order_relaxed) != 0; }
    void RequestStop() { bStopRequested.store(1, std::memory_order_relaxed); }
    void Add(std::int32_t n) { nProgressPos.fetch_add(n, std::memory_order_relaxed); }
    // Set by an operation when it starts: position 0 of `total` steps.
    void Start(std::int32_t total) {
        nProgressPos.store(0, std::memory_order_relaxed);
        nProgressTotal.store(total, std::memory_order_relaxed);
    }
    void SetTotal(std::int32_t total) { nProgressTotal.store(total, std::memory_order_relaxed); }
    void SetPos(std::int32_t pos) { nProgressPos.store(pos, std::memory_order_relaxed); }
    // All steps counted.
    void Complete() { SetPos(std::max(Pos(), Total())); }
    std::int32_t Total() const { return nProgressTotal.load(std::memory_order_relaxed); }
    std::int32_t Pos() const { return nProgressPos.load(std::memory_order_relaxed); }
    // Back to the state of a fresh object: nothing done, no stop request.
    void Reset() {
        nProgressTotal.store(0, std::memory_order_relaxed);
        nProgressPos.store(0, std::memory_order_relaxed);
        bStopRequested.store(0, std::memory_order_relaxed);
    }
};

}  // namespace vrk
