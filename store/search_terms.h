// The description words of a search: how the text the user types is split
// into terms, and how one term is found in an entry's descriptions.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "alphabet.h"

namespace vrk {

// At most this many terms are read from the text; the rest is ignored.
inline constexpr std::size_t kMaxSearchTerms = 100;
// Only this many bytes of the typed text are looked at.
inline constexpr std::size_t kMaxTermsText = 99999;

struct TSearchTerm {
    enum Mode { Optional = 0, Required = 1, Excluded = 2 };
    std::string text;
    bool exact = false;      // "=": bytes must be identical (no folding)
    Mode mode = Optional;    // "+" required, "-" excluded
    bool wholeWord = false;  // "..." : must stand as a whole word
};

// Splits the typed text at spaces and tabs. Each term may start with "=" and
// "+" or "-" (in either order), then a double quote (whole-word phrase, runs
// to the next double quote) or a single quote (phrase, runs to the next
// single quote). A term without text is read but not kept: it asks for
// nothing (a search refuses such a text first: FindEmptyTerm).
std::vector<TSearchTerm> ParseSearchTerms(std::string_view terms);

// A term of the typed text that has marks but no text: a lone "-", "+" or
// "=", "+=", an empty phrase "" or '', or a quote that ends the text. It is
// most likely a typo (`+= "abc"` meant something), so a search refuses the
// whole text instead of dropping the term and finding something else.
struct TEmptyTerm {
    std::string typed;         // the term as typed, e.g. "+=" (empty: none found)
    std::size_t position = 0;  // where it starts in the typed text, from 0
    explicit operator bool() const { return !typed.empty(); }
};
// The first empty term among the terms ParseSearchTerms reads, if any.
[[nodiscard]] TEmptyTerm FindEmptyTerm(std::string_view terms);

// True when term occurs in text: bytes compared by rank (letters of one
// alphabet group are equal) unless exact. With wholeWord the match must be
// bounded by a space, tab, 0x00, 0x01 or the ends of text. An empty term is
// found nowhere.
bool FindTerm(std::string_view text, std::string_view term, bool exact, bool wholeWord,
              const TRankTable& rank);

}  // namespace vrk
