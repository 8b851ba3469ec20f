#include "word_index.h"

#include <algorithm>

#include "coding.h"
#include "format.h"
#include "record_scan.h"
#include "terminator_scan.h"

namespace vrk {
namespace {

// FNV-1a over the plain bytes of a word.
inline std::uint32_t HashStep(std::uint32_t h, char c) {
    return (h ^ static_cast<unsigned char>(c)) * 16777619u;
}
constexpr std::uint32_t kHashSeed = 2166136261u;

std::uint32_t HashWord(std::string_view word) {
    std::uint32_t h = kHashSeed;
    for (char c : word) h = HashStep(h, c);
    return h;
}

// True when the scrambled records at a and b have the same plain word.
bool SameWordAt(std::string_view file, std::uint64_t a, std::uint64_t b) {
    for (;; ++a, ++b) {
        if (a >= file.size() || b >= file.size()) return false;
        const char x = ScrambleByte(file[a], a);
        const char y = ScrambleByte(file[b], b);
        const bool endX = x == kTerminator || x == kDescriptionMark;
        const bool endY = y == kTerminator || y == kDescriptionMark;
        if (endX || endY) return endX && endY;
        if (x != y) return false;
    }
}

}  // namespace

bool TWordIndex::Build(std::string_view file, std::uint64_t first, std::int32_t count) {
    m_file = file;
    m_checkpoints.clear();
    m_slots.assign(16, Slot{0, -1});
    m_used = 0;
    if (count < 0 || static_cast<std::uint64_t>(count) > file.size()) return false;
    m_checkpoints.reserve(static_cast<std::size_t>(count / kCheckpointStep + 1));

    // Each entry is inserted a few entries after it was hashed, with its
    // slot fetched meanwhile: the table is far larger than the caches.
    constexpr std::int32_t kAhead = 16;
    struct Pending {
        std::uint32_t hash;
        std::uint64_t offset;
    } pending[kAhead];
    std::uint64_t pos = first;
    std::uint64_t zero = 0;
    TTerminatorScan terminators(file.data(), first, file.size());
    for (std::int32_t i = 0; i < count; ++i) {
        if (!terminators.Next(zero)) return false;
        if (i % kCheckpointStep == 0) m_checkpoints.push_back(pos);
        std::uint32_t h = kHashSeed;
        for (std::uint64_t j = pos; j < zero; ++j) {
            const char c = ScrambleByte(file[j], j);
            if (c == kDescriptionMark) break;
            h = HashStep(h, c);
        }
        __builtin_prefetch(&m_slots[h & (m_slots.size() - 1)]);
        if (i >= kAhead) Insert(pending[i % kAhead].hash, pending[i % kAhead].offset, i - kAhead);
        pending[i % kAhead] = Pending{h, pos};
        pos = zero + 1;
    }
    for (std::int32_t i = std::max(0, count - kAhead); i < count; ++i)
        Insert(pending[i % kAhead].hash, pending[i % kAhead].offset, i);
    return true;
}

void TWordIndex::Insert(std::uint32_t hash, std::uint64_t offset, std::int32_t entry) {
    if ((m_used + 1) * 10 > m_slots.size() * 7) Grow();
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        Slot& s = m_slots[slot];
        if (s.entry < 0) {
            s = Slot{hash, entry};
            ++m_used;
            return;
        }
        // Equal hashes are rare but for repeated words: compare the words,
        // and keep the first entry of a word.
        if (s.hash == hash && SameWordAt(m_file, RecordOffset(s.entry), offset)) return;
    }
}

void TWordIndex::Grow() {
    std::vector<Slot> old(m_slots.size() * 2, Slot{0, -1});
    old.swap(m_slots);
    const std::size_t mask = m_slots.size() - 1;
    for (const Slot& s : old) {
        if (s.entry < 0) continue;
        std::size_t slot = s.hash & mask;
        while (m_slots[slot].entry >= 0) slot = (slot + 1) & mask;
        m_slots[slot] = s;
    }
}

std::uint64_t TWordIndex::RecordOffset(std::int32_t i) const {
    std::uint64_t pos = m_checkpoints[static_cast<std::size_t>(i / kCheckpointStep)];
    // Build saw these records end, so the skip cannot fail.
    (void)SkipRecords(m_file, m_file.size(), pos, i % kCheckpointStep);
    return pos;
}

std::int32_t TWordIndex::Find(std::string_view word) const {
    const std::uint32_t h = HashWord(word);
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = h & mask; !m_slots.empty(); slot = (slot + 1) & mask) {
        const Slot& s = m_slots[slot];
        if (s.entry < 0) return -1;
        if (s.hash == h && WordEquals(s.entry, word)) return s.entry;
    }
    return -1;
}

bool TWordIndex::WordEquals(std::int32_t entry, std::string_view word) const {
    std::uint64_t pos = RecordOffset(entry);
    TRecordSpan span;
    return NextRecord(m_file, m_file.size(), pos, span) && ScrambledWordEquals(m_file, span, word);
}

std::size_t TWordIndex::MemoryUsed() const {
    return m_slots.capacity() * sizeof(Slot) + m_checkpoints.capacity() * sizeof(std::uint64_t);
}

}  // namespace vrk
