// The finder's search over one dictionary: a single pass over the scrambled
// records. Terminators are stored as 0x00, so records are found without
// unscrambling; the letter check (word_pattern.h) unscrambles only the bytes
// it looks at, and only records that pass it are unscrambled whole.
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

#include "coding.h"
#include "data_file.h"
#include "older_formats.h"
#include "progress.h"
#include "record_stream.h"
#include "search_terms.h"
#include "word_pattern.h"

namespace vrk {
namespace {

inline bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
// The typed texts are zero-terminated: they end at their first 0x00.
std::string_view UpToNul(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

inline bool IsWordBoundary(char c) {
    return c == ' ' || c == '\t' || c == '\0' || c == '\x01';
}

// One term, prepared for being looked for in many texts: bytes are compared
// by their key (the byte itself when exact, else its rank), and a table says
// which bytes can start a match.
class TTermFinder {
  public:
    TTermFinder(const TSearchTerm& term, const TRankTable& rank)
        : m_mode(term.mode), m_wholeWord(term.wholeWord) {
        for (int b = 0; b < 256; ++b)
            m_key[b] = term.exact ? static_cast<std::uint32_t>(b) : rank[b];
        for (char c : term.text) m_term.push_back(m_key[static_cast<unsigned char>(c)]);
        for (int b = 0; b < 256; ++b) m_first[b] = !m_term.empty() && m_key[b] == m_term[0];
    }

    TSearchTerm::Mode mode() const { return m_mode; }

    bool In(std::string_view text) const {
        const std::size_t m = m_term.size();
        if (m == 0 || m > text.size()) return false;
        const std::size_t last = text.size() - m;
        for (std::size_t p = 0; p <= last; ++p) {
            if (!m_first[static_cast<unsigned char>(text[p])]) continue;
            std::size_t j = 1;
            while (j < m && m_key[static_cast<unsigned char>(text[p + j])] == m_term[j]) ++j;
            if (j < m) continue;
            if (!m_wholeWord) return true;
            const std::size_t after = p + m;
            if ((after == text.size() || IsWordBoundary(text[after])) &&
                (p == 0 || IsWordBoundary(text[p - 1])))
                return true;
        }
        return false;
    }

  private:
    TSearchTerm::Mode m_mode;
    bool m_wholeWord;
    std::array<std::uint32_t, 256> m_key;
    std::array<bool, 256> m_first;
    std::vector<std::uint32_t> m_term;
};

// The term check of one entry: the number of found terms that are not
// excluded, or -1 when the entry fails (a required term missing, an
// excluded term present).
int CountHits(std::string_view descriptions, const std::vector<TTermFinder>& terms) {
    int hits = 0;
    for (const TTermFinder& term : terms) {
        const bool found = term.In(descriptions);
        if (found && term.mode() == TSearchTerm::Excluded) return -1;
        if (!found && term.mode() == TSearchTerm::Required) return -1;
        if (found) ++hits;
    }
    return hits;
}

// Reads the terms of the typed text in order and hands each to `each`
// with where its typed form begins and ends; at most kMaxSearchTerms.
template <typename F>
void WalkSearchTerms(std::string_view text, F&& each) {
    text = UpToNul(text.substr(0, std::min(text.size(), kMaxTermsText)));
    std::size_t read = 0;
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && read < kMaxSearchTerms) {
        if (IsBlank(text[i])) {
            ++i;
            continue;
        }
        const std::size_t begin = i;
        TSearchTerm term;
        if (text[i] == '=') {
            term.exact = true;
            ++i;
        }
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            term.mode = text[i] == '+' ? TSearchTerm::Required : TSearchTerm::Excluded;
            ++i;
        }
        if (!term.exact && i < n && text[i] == '=') {
            term.exact = true;
            ++i;
        }
        char closing = 0;  // 0: the term ends at a blank
        if (i < n && (text[i] == '"' || text[i] == '\'')) {
            closing = text[i];
            term.wholeWord = closing == '"';
            ++i;
        }
        const std::size_t start = i;
        while (i < n && (closing ? text[i] != closing : !IsBlank(text[i]))) ++i;
        term.text.assign(text.substr(start, i - start));
        if (i < n && closing) ++i;  // the closing quote belongs to the term
        ++read;
        each(std::move(term), text.substr(begin, i - begin), begin);
    }
}

}  // namespace

std::vector<TSearchTerm> ParseSearchTerms(std::string_view text) {
    std::vector<TSearchTerm> terms;
    WalkSearchTerms(text, [&terms](TSearchTerm term, std::string_view, std::size_t) {
        if (!term.text.empty()) terms.push_back(std::move(term));
    });
    return terms;
}

TEmptyTerm FindEmptyTerm(std::string_view text) {
    TEmptyTerm empty;
    WalkSearchTerms(
        text, [&empty](const TSearchTerm& term, std::string_view typed, std::size_t position) {
            if (term.text.empty() && !empty) empty = {std::string(typed), position};
        });
    return empty;
}

bool FindTerm(std::string_view text, std::string_view term, bool exact, bool wholeWord,
              const TRankTable& rank) {
    TSearchTerm prepared;
    prepared.text.assign(term);
    prepared.exact = exact;
    prepared.wholeWord = wholeWord;
    return TTermFinder(prepared, rank).In(text);
}

bool TDataFile::ContainsTerm(std::string_view text, std::string_view term, bool exact,
                             bool wholeWord) const {
    return FindTerm(text, term, exact, wholeWord, m_rank);
}

std::int32_t TDataFile::Search(std::string_view pattern, std::string_view terms,
                               std::span<char> outText, std::span<std::int32_t> outIndex,
                               std::span<std::int32_t> outHits, std::int32_t maxResults,
                               TPatternSyntax syntax) {
    // A malformed pattern is refused before the dictionary is opened;
    // callers check it first (CheckPattern) to say what is wrong.
    const std::optional<TWordPattern> letters = TWordPattern::Compile(pattern, syntax, m_rank);
    if (!letters) return Fail(TFailure::InvalidArgument) ? 0 : -1;
    // So is a term without text, which callers refuse first (FindEmptyTerm).
    if (FindEmptyTerm(terms)) return Fail(TFailure::InvalidArgument) ? 0 : -1;
    std::vector<TTermFinder> parsed;
    for (const TSearchTerm& term : ParseSearchTerms(terms)) parsed.emplace_back(term, m_rank);
    if (!Open(Mode::Read)) return -1;
    progress().Start(m_count);

    // Never more matches than the caller's arrays hold.
    const std::int64_t limit =
        std::min<std::int64_t>({maxResults, static_cast<std::int64_t>(outIndex.size()),
                                static_cast<std::int64_t>(outHits.size())});
    // The records are read in order through a small reused buffer rather
    // than from the mapped file. A damaged file may hold fewer records than
    // its count says: the stream stops at the end of the records region.
    TRecordStream records(*m_fs, m_mainFile.fd(), kRecordsOffset, m_recordsEnd);
    std::string_view scrambled;
    std::uint64_t pos = 0;
    for (int k = 0; k < ENTRY_BASE; ++k) {
        if (!records.Next(scrambled, pos)) {
            const int error = errno;
            Abort();
            return FailRead(m_path, error) ? 0 : -1;
        }
    }

    if (!outText.empty()) outText[0] = kTerminator;
    const std::int64_t outSize = static_cast<std::int64_t>(outText.size());
    std::int64_t used = 0;
    std::int32_t found = 0;
    std::string record;
    for (std::int32_t i = 0; i < m_count && found < limit; ++i) {
        if (!records.Next(scrambled, pos)) {
            const int error = errno;
            Abort();
            return FailRead(m_path, error) ? 0 : -1;
        }
        // A record longer than the format allows is read cut to its limit.
        const std::size_t length = std::min(scrambled.size(), kMaxRecordText);
        if (letters->Fits(scrambled.data(), pos, length)) {
            record.resize(length);
            ScrambleBytes(scrambled.data(), record.data(), length, pos);
            const std::size_t mark = record.find(kDescriptionMark);
            const std::string_view descriptions = mark == std::string::npos
                                                      ? std::string_view{}
                                                      : std::string_view(record).substr(mark + 1);
            const int hits = CountHits(descriptions, parsed);
            if (hits >= 0 && (parsed.empty() || hits >= 1)) {
                const auto recordLength = static_cast<std::int64_t>(length);
                if (used + recordLength >= outSize - 2) {
                    if (outSize > 0) outText[outSize - 1] = 'X';
                    break;
                }
                std::memcpy(outText.data() + used, record.data(), length);
                used += recordLength;
                outText[used++] = kResultSeparator;
                outText[used] = kTerminator;
                outIndex[found] = i;
                outHits[found] = hits;
                ++found;
            }
        }
        progress().SetPos(i + 1);
        if (progress().StopRequested()) {
            Abort();
            return FailStopped() ? 0 : -1;
        }
    }
    Abort();  // nothing was queued: releasing the view and the lock is all
    return found;
}

}  // namespace vrk
