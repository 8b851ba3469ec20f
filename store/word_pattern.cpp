#include "word_pattern.h"

#include <map>

#include "coding.h"
#include "format.h"

namespace vrk {
namespace {

// A key that equal items share, so that they share a table.
std::string ItemKey(const TPatternItem& item) {
    std::string key(1, static_cast<char>(item.kind));
    key += item.negated ? '^' : ' ';
    key += item.letters;
    return key;
}

}  // namespace

std::optional<TWordPattern> TWordPattern::Compile(std::string_view pattern, TPatternSyntax syntax,
                                                  const TRankTable& rank,
                                                  TPatternProblem* problem) {
    const TPatternText text = SplitPatternText(pattern);
    TPatternProblem found;
    const std::vector<TPatternItem> items = ParsePattern(text, syntax, found);
    if (problem) *problem = found;
    if (found) return std::nullopt;

    TWordPattern compiled;
    if (syntax.anagram) {
        compiled.m_anagram.emplace(items, rank, text.matchCase);
        compiled.m_nMinLength = compiled.m_anagram->letters();
        // No word is longer than a record.
        compiled.m_bNever = compiled.m_nMinLength > kMaxRecordText;
        return compiled;
    }
    std::size_t positions = 0;
    for (const TPatternItem& item : items) positions += item.kind != TPatternItem::Run;
    compiled.m_bCountLetters = text.countLetters;
    compiled.m_nMinLength = positions;
    if (positions > kMaxRecordText) {
        compiled.m_bNever = true;
        return compiled;
    }
    std::map<std::string, std::uint32_t> tableOf;
    compiled.m_segments.emplace_back();
    for (const TPatternItem& item : items) {
        if (item.kind == TPatternItem::Run) {
            compiled.m_segments.emplace_back();
            continue;
        }
        const auto [at, added] =
            tableOf.emplace(ItemKey(item), static_cast<std::uint32_t>(compiled.m_tables.size()));
        if (added) compiled.m_tables.push_back(ItemTable(item, rank, text.matchCase));
        const std::size_t k = compiled.m_segments.back().size();
        if (compiled.m_segments.size() == 1) {
            if (item.kind == TPatternItem::Any)
                compiled.m_firstAny.push_back(k);
            else
                compiled.m_firstKnown.emplace_back(k, at->second);
        }
        compiled.m_segments.back().push_back(at->second);
    }
    return compiled;
}

template <class Plain>
bool TWordPattern::FitsSegment(const Plain& plain, std::size_t segment, std::size_t at) const {
    const std::vector<std::uint32_t>& tables = m_segments[segment];
    for (std::size_t k = 0; k < tables.size(); ++k)
        if (!m_tables[tables[k]][static_cast<unsigned char>(plain(at + k))]) return false;
    return true;
}

template <class Plain>
bool TWordPattern::FitsPositions(const Plain& plain, std::size_t length) const {
    for (const auto& [k, t] : m_firstKnown)
        if (!m_tables[t][static_cast<unsigned char>(plain(k))]) return false;
    for (std::size_t k : m_firstAny)
        if (plain(k) == kDescriptionMark) return false;
    const std::size_t first = m_segments.front().size();
    if (m_segments.size() == 1)
        return !m_bCountLetters || length == first || plain(first) == kDescriptionMark;

    // A pattern with runs describes the whole word: find where it ends.
    std::size_t end = first;
    while (end < length && plain(end) != kDescriptionMark) ++end;
    if (end < m_nMinLength) return false;
    const std::size_t last = m_segments.size() - 1;
    const std::size_t lastAt = end - m_segments[last].size();
    if (!FitsSegment(plain, last, lastAt)) return false;
    // Each segment between takes its leftmost place: a later place would
    // only leave less room for the ones after it.
    std::size_t from = first;
    for (std::size_t s = 1; s < last; ++s) {
        const std::size_t size = m_segments[s].size();
        while (from + size <= lastAt && !FitsSegment(plain, s, from)) ++from;
        if (from + size > lastAt) return false;
        from += size;
    }
    return true;
}

template <class Plain>
bool TWordPattern::FitsAnagram(const Plain& plain, std::size_t length) const {
    // A closed anagram needs one byte past its letters to know the word is
    // not longer.
    const std::size_t limit =
        m_anagram->open() ? length : std::min(length, m_anagram->letters() + 1);
    m_strWord.clear();
    for (std::size_t k = 0; k < limit; ++k) {
        const char c = plain(k);
        if (c == kDescriptionMark) break;
        m_strWord.push_back(c);
    }
    return m_anagram->Fits(m_strWord);
}

bool TWordPattern::Fits(const char* scrambled, std::uint64_t offset, std::size_t length) const {
    if (m_bNever || length < m_nMinLength) return false;
    const auto plain = [&](std::size_t k) { return ScrambleByte(scrambled[k], offset + k); };
    return m_anagram ? FitsAnagram(plain, length) : FitsPositions(plain, length);
}

bool TWordPattern::FitsRecord(std::string_view record) const {
    const std::size_t length = std::min(record.size(), kMaxRecordText);
    if (m_bNever || length < m_nMinLength) return false;
    const auto plain = [&](std::size_t k) { return record[k]; };
    return m_anagram ? FitsAnagram(plain, length) : FitsPositions(plain, length);
}

}  // namespace vrk
