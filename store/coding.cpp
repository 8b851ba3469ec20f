#include "coding.h"

#include <algorithm>

namespace vrk {
namespace {

// The key table twice in a row, so that any run of up to kKeyTableSize keys
// starting anywhere in the table is contiguous and the byte loops below can
// be vectorised.
struct DoubledKeys {
    std::array<std::uint8_t, 2 * kKeyTableSize> bytes;
    DoubledKeys() {
        std::copy(kRecordKeyTable.begin(), kRecordKeyTable.end(), bytes.begin());
        std::copy(kRecordKeyTable.begin(), kRecordKeyTable.end(), bytes.begin() + kKeyTableSize);
    }
};

const std::uint8_t* Keys(std::uint64_t offset) {
    static const DoubledKeys keys;
    return keys.bytes.data() + offset % kKeyTableSize;
}

// The scrambling rule without branches, so that GCC vectorises the loops.
inline std::uint8_t Apply(std::uint8_t b, std::uint8_t k) {
    const auto keep = static_cast<std::uint8_t>((b == 0) | (b == k));
    return static_cast<std::uint8_t>(b ^ (k & static_cast<std::uint8_t>(keep - 1)));
}

}  // namespace

void ScrambleBytes(const char* src, char* dst, std::size_t n, std::uint64_t offset) {
    auto* in = reinterpret_cast<const std::uint8_t*>(src);
    auto* out = reinterpret_cast<std::uint8_t*>(dst);
    while (n > 0) {
        const std::size_t chunk = std::min<std::size_t>(n, kKeyTableSize);
        const std::uint8_t* key = Keys(offset);
        for (std::size_t i = 0; i < chunk; ++i) out[i] = Apply(in[i], key[i]);
        in += chunk;
        out += chunk;
        offset += chunk;
        n -= chunk;
    }
}

void RescrambleBytes(const char* src, char* dst, std::size_t n, std::uint64_t from,
                     std::uint64_t to) {
    if (from % kKeyTableSize == to % kKeyTableSize) {
        if (src != dst) std::copy(src, src + n, dst);
        return;
    }
    auto* in = reinterpret_cast<const std::uint8_t*>(src);
    auto* out = reinterpret_cast<std::uint8_t*>(dst);
    while (n > 0) {
        const std::size_t chunk = std::min<std::size_t>(n, kKeyTableSize);
        const std::uint8_t* k1 = Keys(from);
        const std::uint8_t* k2 = Keys(to);
        for (std::size_t i = 0; i < chunk; ++i) out[i] = Apply(Apply(in[i], k1[i]), k2[i]);
        in += chunk;
        out += chunk;
        from += chunk;
        to += chunk;
        n -= chunk;
    }
}

std::uint64_t KeyTableChecksum() {
    std::uint64_t h = 0xcbf29ce484222325ULL;
    for (std::uint8_t b : kRecordKeyTable) h = (h ^ b) * 0x100000001b3ULL;
    return h;
}

}  // namespace vrk
