// TAnagram: the anagram check of a search ("premetanka"). A word fits when
// its letters can be given one to one to the pattern's items: a letter to a
// letter of the same rank (the same byte when case matters), any letter to
// "*", and, in an extended pattern, a letter of the set or class to a set,
// "@" or "#". With a run ("%") the word may hold further letters.
//
// The check counts letters: each of the word's letters first takes a place
// of its own letter in the pattern; what is left over goes to "*" and the
// classes. Letters of one kind (one rank, or one byte when case matters) are
// alike for every item, so which of them takes the place does not matter.
// Classes are then given distinct left-over letters by a small matching
// between the distinct classes and the kinds of the left-over letters, which
// a pattern without classes never needs.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "alphabet.h"
#include "pattern.h"

namespace vrk {

// Entry b is 1 when the plain byte b fits the item. The description mark
// never fits: the word ends there.
using TByteTable = std::array<std::uint8_t, 256>;
[[nodiscard]] TByteTable ItemTable(const TPatternItem& item, const TRankTable& rank,
                                   bool matchCase);

class TAnagram {
  public:
    TAnagram(const std::vector<TPatternItem>& items, const TRankTable& rank, bool matchCase);

    // The number of letters the word must have (at least that many with a run).
    std::size_t letters() const { return m_nLetters; }
    bool open() const { return m_bOpen; }

    // True when `word` (plain bytes, without the description mark) fits.
    // Uses scratch state: one object serves one search at a time.
    [[nodiscard]] bool Fits(std::string_view word) const;

  private:
    // A distinct set or class of the pattern: the kinds it takes, and how
    // many items of the pattern it stands for.
    struct TClass {
        std::array<std::uint8_t, 256> takes{};  // per kind
        std::int32_t count = 0;
    };
    [[nodiscard]] bool ClassesFit() const;
    // Gives one more left-over letter to class `start`, moving letters
    // between other classes along a shortest path where needed.
    [[nodiscard]] bool Augment(std::size_t start) const;

    std::array<std::uint8_t, 256> m_key{};   // byte -> its letter kind
    std::array<std::int32_t, 256> m_need{};  // per kind: letters of the pattern
    std::size_t m_nFixed = 0;                // letters of the pattern in all
    std::size_t m_nAny = 0;                  // "*" items
    std::vector<TClass> m_classes;           // sets, "@" and "#"
    std::size_t m_nLetters = 0;
    bool m_bOpen = false;

    // Scratch state of one check.
    mutable std::array<std::int32_t, 256> m_left{};   // per kind: pattern letters not yet found
    mutable std::array<std::int32_t, 256> m_spare{};  // per kind: the word's letters left over
    mutable std::vector<std::uint8_t> m_spareKinds;   // kinds with left-over letters
    mutable std::vector<std::array<std::int32_t, 256>> m_given;  // per class and kind
    mutable std::vector<std::int32_t> m_from;                    // per class, in a search
    mutable std::vector<std::uint8_t> m_via;                     // per class, in a search
    mutable std::vector<std::size_t> m_queue;
};

}  // namespace vrk
