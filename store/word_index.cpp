#include "word_index.h"

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

}  // namespace

bool TWordIndex::Build(std::string_view file, std::uint64_t first, std::int32_t count) {
    m_file = file;
    m_offsets.clear();
    m_slots.clear();
    if (count < 0 || static_cast<std::uint64_t>(count) > file.size()) return false;
    m_offsets.reserve(static_cast<std::size_t>(count));
    std::size_t capacity = 16;
    while (capacity < 2 * static_cast<std::size_t>(count)) capacity *= 2;
    m_slots.assign(capacity, Slot{0, -1});
    const std::size_t mask = capacity - 1;

    std::uint64_t pos = first;
    std::vector<std::uint32_t> hashes;
    hashes.reserve(static_cast<std::size_t>(count));
    TTerminatorScan terminators(file.data(), first, file.size());
    std::uint64_t zero = 0;
    for (std::int32_t i = 0; i < count; ++i) {
        if (!terminators.Next(zero)) return false;
        m_offsets.push_back(pos);
        std::uint32_t h = kHashSeed;
        for (std::uint64_t j = pos; j < zero; ++j) {
            const char c = ScrambleByte(file[j], j);
            if (c == kDescriptionMark) break;
            h = HashStep(h, c);
        }
        hashes.push_back(h);
        pos = zero + 1;
    }
    // Inserting in a second pass lets the slot of a later word be fetched
    // while this one is placed: the table is far larger than the caches.
    std::string word;
    for (std::int32_t i = 0; i < count; ++i) {
        if (i + 16 < count) __builtin_prefetch(&m_slots[hashes[i + 16] & mask]);
        const std::uint32_t h = hashes[i];
        std::size_t slot = h & mask;
        for (;; slot = (slot + 1) & mask) {
            Slot& s = m_slots[slot];
            if (s.entry < 0) {
                s = Slot{h, i};
                break;
            }
            // Equal hashes are rare but for repeated words: compare the words.
            if (s.hash == h) {
                std::uint64_t at = m_offsets[i];
                TRecordSpan span;
                if (!NextRecord(file, file.size(), at, span)) return false;
                UnscrambleRecord(file, span, word);
                if (WordEquals(s.entry, WordOf(word))) break;  // keep the first entry
            }
        }
    }
    return true;
}

std::int32_t TWordIndex::Find(std::string_view word) const {
    if (m_slots.empty()) return -1;
    const std::uint32_t h = HashWord(word);
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = h & mask;; slot = (slot + 1) & mask) {
        const Slot& s = m_slots[slot];
        if (s.entry < 0) return -1;
        if (s.hash == h && WordEquals(s.entry, word)) return s.entry;
    }
}

bool TWordIndex::WordEquals(std::int32_t entry, std::string_view word) const {
    std::uint64_t pos = m_offsets[entry];
    TRecordSpan span;
    return NextRecord(m_file, m_file.size(), pos, span) && ScrambledWordEquals(m_file, span, word);
}

}  // namespace vrk
