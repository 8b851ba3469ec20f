// TWordPattern: the known letters of a search compiled once, then asked for
// every entry whether its word fits (the letter check of the search).
//
// Plain and extended patterns become one table of 256 bytes per position,
// shared by equal items. Runs ("%") split the positions into segments: the
// first segment is checked at the start of the word, the last at its end,
// and each one between at its leftmost place after the one before. Only the
// bytes a check looks at are unscrambled, and positions with a known letter
// or set are checked before those with "*", which only need to be letters.
// Anagrams are counted (anagram.h) once the word's length fits.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "alphabet.h"
#include "anagram.h"
#include "pattern.h"

namespace vrk {

class TWordPattern {
  public:
    // Compiles a pattern text (known letters and the two option characters)
    // under `syntax` and the rank table. Nothing, with `problem` set, when
    // the pattern is malformed.
    [[nodiscard]] static std::optional<TWordPattern> Compile(std::string_view pattern,
                                                             TPatternSyntax syntax,
                                                             const TRankTable& rank,
                                                             TPatternProblem* problem = nullptr);

    // True when the word of a record of `length` scrambled bytes, which
    // stands at absolute file offset `offset`, fits. Uses scratch state: one
    // object serves one search at a time.
    [[nodiscard]] bool Fits(const char* scrambled, std::uint64_t offset, std::size_t length) const;
    // The same for a plain record: a word, then 0x01 and its descriptions.
    [[nodiscard]] bool FitsRecord(std::string_view record) const;

  private:
    TWordPattern() = default;
    template <class Plain>
    bool FitsPositions(const Plain& plain, std::size_t length) const;
    template <class Plain>
    bool FitsAnagram(const Plain& plain, std::size_t length) const;
    template <class Plain>
    bool FitsSegment(const Plain& plain, std::size_t segment, std::size_t at) const;

    std::vector<TByteTable> m_tables;
    // Table per position, by segment; consecutive runs are one split.
    std::vector<std::vector<std::uint32_t>> m_segments;
    // The first segment's positions with a letter, set or class, and its
    // "*" positions: the two groups checked one after the other.
    std::vector<std::pair<std::size_t, std::uint32_t>> m_firstKnown;
    std::vector<std::size_t> m_firstAny;
    std::size_t m_nMinLength = 0;
    bool m_bCountLetters = false;
    bool m_bNever = false;  // longer than any word can be
    std::optional<TAnagram> m_anagram;
    mutable std::string m_strWord;
};

}  // namespace vrk
