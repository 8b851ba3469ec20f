#include "sorted_list.h"

#include <cstring>
#include <new>

namespace vrk {

TSortedList::TSortedList() : m_rank(DefaultRankTable()) {}

std::int32_t TSortedList::Insert(std::string_view s) {
    const std::size_t need = s.size() + 1;
    if (need > kBlockSize || m_items.size() >= 0x7FFFFFFF) return -1;
    if (m_items.empty() || kBlockSize - m_blockFill < need) {
        if (m_blocks.size() >= kMaxBlocks) return -1;
        char* block = new (std::nothrow) char[kBlockSize];
        if (!block) return -1;
        m_blocks.emplace_back(block);
        m_blockFill = 0;
    }
    if (m_items.size() + 1 > m_items.capacity()) {
        try {
            m_items.reserve(m_items.capacity() + kItemGrowth);
        } catch (const std::bad_alloc&) {
            return -1;
        }
    }
    char* dst = m_blocks.back().get() + m_blockFill;
    std::memcpy(dst, s.data(), s.size());
    dst[s.size()] = '\0';
    m_blockFill += need;
    const std::int32_t p = InsertPosition(s);
    m_items.insert(m_items.begin() + p, std::string_view(dst, s.size()));
    return p;
}

std::int32_t TSortedList::InsertPosition(std::string_view s) const {
    const auto count = static_cast<std::int32_t>(m_items.size());
    if (count == 0 || Compare(m_items[0], s) < 1) return 0;
    if (Compare(m_items[count - 1], s) >= 0) return count;
    std::int32_t lo = 0, hi = count - 1;
    while (hi - lo >= 3) {
        const std::int32_t mid = (lo + hi) / 2;
        const std::int32_t c = Compare(m_items[mid], s);
        if (c == 0) return mid;
        if (c < 0)
            hi = mid;
        else
            lo = mid;
    }
    for (std::int32_t p = lo; p < hi; ++p)
        if (Compare(m_items[p], s) < 1) return p;
    return hi;
}

bool TSortedList::Get(std::int32_t i, std::string& out, std::size_t size) const {
    if (i < 0 || i >= GetCount() || size == 0) return false;
    out.assign(m_items[i].substr(0, size - 1));
    return true;
}

}  // namespace vrk
