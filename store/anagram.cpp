#include "anagram.h"

#include <algorithm>
#include <map>
#include <string>
#include <tuple>

#include "format.h"

namespace vrk {

TByteTable ItemTable(const TPatternItem& item, const TRankTable& rank, bool matchCase) {
    TByteTable table{};
    const auto same = [&](char a, char b) {
        return matchCase ? a == b : RankOf(rank, a) == RankOf(rank, b);
    };
    for (int b = 0; b < 256; ++b) {
        const char c = static_cast<char>(b);
        bool fits = false;
        switch (item.kind) {
            case TPatternItem::Letter:
                fits = same(c, item.letters[0]);
                break;
            case TPatternItem::Any:
            case TPatternItem::Run:
                fits = true;
                break;
            case TPatternItem::Vowel:
                fits = IsVowel(rank, c);
                break;
            case TPatternItem::Consonant:
                fits = IsConsonant(rank, c);
                break;
            case TPatternItem::Set:
                for (char m : item.letters) fits = fits || same(c, m);
                fits = fits != item.negated;
                break;
        }
        table[b] = fits ? 1 : 0;
    }
    table[static_cast<unsigned char>(kDescriptionMark)] = 0;
    return table;
}

TAnagram::TAnagram(const std::vector<TPatternItem>& items, const TRankTable& rank, bool matchCase) {
    // Letter kinds: the byte itself when case matters, else its rank, with
    // the ranks numbered densely so that a kind fits in a byte.
    std::map<std::uint32_t, std::uint8_t> kindOfRank;
    for (int b = 0; b < 256; ++b) {
        if (matchCase) {
            m_key[b] = static_cast<std::uint8_t>(b);
        } else {
            const auto next = static_cast<std::uint8_t>(kindOfRank.size());
            m_key[b] = kindOfRank.emplace(rank[b], next).first->second;
        }
    }
    std::map<TByteTable, std::size_t> classOfTable;
    // Items written alike share a class; working out an item's table costs
    // up to 256 * 256 steps ("#"), so it is done once per way of writing
    // one, not once per item of a long pattern.
    std::map<std::tuple<int, bool, std::string>, std::size_t> classOfItem;
    for (const TPatternItem& item : items) {
        switch (item.kind) {
            case TPatternItem::Letter:
                ++m_need[m_key[static_cast<unsigned char>(item.letters[0])]];
                ++m_nFixed;
                break;
            case TPatternItem::Any:
                ++m_nAny;
                break;
            case TPatternItem::Run:
                m_bOpen = true;
                break;
            default: {
                const auto written =
                    std::make_tuple(static_cast<int>(item.kind), item.negated, item.letters);
                if (const auto known = classOfItem.find(written); known != classOfItem.end()) {
                    ++m_classes[known->second].count;
                    break;
                }
                const TByteTable table = ItemTable(item, rank, matchCase);
                const auto [at, added] = classOfTable.emplace(table, m_classes.size());
                if (added) {
                    TClass& c = m_classes.emplace_back();
                    // Every byte of a kind fits an item alike (the tables
                    // compare by kind), so a class takes whole kinds.
                    for (int b = 0; b < 256; ++b)
                        if (table[b]) c.takes[m_key[b]] = 1;
                }
                classOfItem.emplace(written, at->second);
                ++m_classes[at->second].count;
                break;
            }
        }
    }
    std::size_t classItems = 0;
    for (const TClass& c : m_classes) classItems += static_cast<std::size_t>(c.count);
    m_nLetters = m_nFixed + m_nAny + classItems;
    m_left = m_need;
}

bool TAnagram::Fits(std::string_view word) const {
    if (m_bOpen ? word.size() < m_nLetters : word.size() != m_nLetters) return false;
    std::size_t spare = 0;
    m_spareKinds.clear();
    for (char c : word) {
        const std::uint8_t kind = m_key[static_cast<unsigned char>(c)];
        if (m_left[kind] > 0) {
            --m_left[kind];
        } else {
            if (m_spare[kind]++ == 0) m_spareKinds.push_back(kind);
            ++spare;
        }
    }
    // Every letter of the pattern must have found its own in the word.
    const bool fits = word.size() - spare == m_nFixed && (m_classes.empty() || ClassesFit());
    for (char c : word) {
        const std::uint8_t kind = m_key[static_cast<unsigned char>(c)];
        m_left[kind] = m_need[kind];
    }
    for (std::uint8_t kind : m_spareKinds) m_spare[kind] = 0;
    return fits;
}

bool TAnagram::ClassesFit() const {
    m_given.assign(m_classes.size(), {});
    for (std::size_t d = 0; d < m_classes.size(); ++d) {
        // Free letters first; moving letters between classes only when
        // none of this class's kinds is left.
        std::int32_t wanted = m_classes[d].count;
        for (std::uint8_t kind : m_spareKinds) {
            if (!m_classes[d].takes[kind] || m_spare[kind] == 0) continue;
            const std::int32_t taken = std::min(wanted, m_spare[kind]);
            m_spare[kind] -= taken;
            m_given[d][kind] += taken;
            wanted -= taken;
            if (wanted == 0) break;
        }
        for (; wanted > 0; --wanted)
            if (!Augment(d)) return false;
    }
    return true;
}

bool TAnagram::Augment(std::size_t start) const {
    constexpr std::int32_t kUnseen = -2;
    m_from.assign(m_classes.size(), kUnseen);
    m_via.assign(m_classes.size(), 0);
    m_queue.assign(1, start);
    m_from[start] = -1;
    for (std::size_t next = 0; next < m_queue.size(); ++next) {
        const std::size_t x = m_queue[next];
        for (std::uint8_t kind : m_spareKinds) {
            if (!m_classes[x].takes[kind]) continue;
            if (m_spare[kind] > 0) {
                // x takes a free letter; each class on the path back to
                // start hands the letter it held to the class before it.
                --m_spare[kind];
                ++m_given[x][kind];
                for (std::size_t cur = x; m_from[cur] >= 0;) {
                    const auto prev = static_cast<std::size_t>(m_from[cur]);
                    --m_given[cur][m_via[cur]];
                    ++m_given[prev][m_via[cur]];
                    cur = prev;
                }
                return true;
            }
            for (std::size_t y = 0; y < m_classes.size(); ++y) {
                if (m_from[y] != kUnseen || m_given[y][kind] == 0) continue;
                m_from[y] = static_cast<std::int32_t>(x);
                m_via[y] = kind;
                m_queue.push_back(y);
            }
        }
    }
    return false;
}

}  // namespace vrk
