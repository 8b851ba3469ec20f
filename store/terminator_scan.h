// Finding the record terminators (0x00 bytes) of a long run of records in
// one pass. The bytes are examined 64 at a time and the positions of the
// zeros kept as a bit mask, which costs far less per record than one memchr
// call per record when records are short.
#pragma once

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vrk {

class TTerminatorScan {
  public:
    // Scans data[from, end); never reads outside that range.
    TTerminatorScan(const char* data, std::uint64_t from, std::uint64_t end)
        : m_data(data), m_block(from), m_end(end), m_mask(from < end ? Mask(from) : 0) {}

    // The offset of the next 0x00 byte; false when there is none before end.
    bool Next(std::uint64_t& at) {
        while (m_mask == 0) {
            m_block += 64;
            if (m_block >= m_end) return false;
            m_mask = Mask(m_block);
        }
        at = m_block + static_cast<std::uint64_t>(__builtin_ctzll(m_mask));
        m_mask &= m_mask - 1;
        return true;
    }

  private:
    // Bit i is set when data[block + i] is 0x00 (and block + i < end).
    std::uint64_t Mask(std::uint64_t block) const {
        const char* p = m_data + block;
        if (m_end - block >= 64) {
#if defined(__SSE2__)
            const __m128i zero = _mm_setzero_si128();
            std::uint64_t mask = 0;
            for (int i = 0; i < 4; ++i) {
                const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
                const auto bits =
                    static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, zero)));
                mask |= static_cast<std::uint64_t>(bits) << (16 * i);
            }
            return mask;
#endif
        }
        const std::uint64_t n = m_end - block < 64 ? m_end - block : 64;
        std::uint64_t mask = 0;
        for (std::uint64_t i = 0; i < n; ++i)
            if (p[i] == 0) mask |= std::uint64_t{1} << i;
        return mask;
    }

    const char* m_data;
    std::uint64_t m_block;  // offset of the 64 bytes the mask describes
    std::uint64_t m_end;
    std::uint64_t m_mask;  // zeros of the block not yet returned
};

}  // namespace vrk
