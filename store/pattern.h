// The known letters of a search: how the text the user types is read into
// pattern items, and what is wrong with a malformed one.
//
// The text passed to a search is the known letters followed by exactly two
// option characters, the letter-count option and then the case option, each
// "1" for on. How the letters are read is chosen apart from that text
// (TPatternSyntax), so that every text keeps its meaning when both new
// options are off:
//   plain       every character is one letter from the start of the word,
//               "*" any one letter;
//   extended    also "[čšž]" one letter of the set, "[^aeiou]" one letter not
//               in it, "@" a vowel, "#" a consonant, and "%" any run of
//               letters (empty included); a pattern holding "%" describes
//               the whole word, one without it the word's beginning;
//   anagram     the word holds exactly these letters in any order, "*" any
//               one letter; with extended as well, sets, "@" and "#" stand
//               for one letter each and "%" for any number of further ones.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "alphabet.h"

namespace vrk {

// How the known letters are read; both off is the plain reading.
struct TPatternSyntax {
    bool extended = false;
    bool anagram = false;
};

enum class TPatternError {
    None,
    UnclosedSet,   // "[" without its "]"
    EmptySet,      // "[]" or "[^]"
    UnopenedSet,   // "]" with no "[" before it
    RunWithCount,  // "%" while the word must have exactly as many letters
};

// What is wrong with a pattern, and where: the 0-based position of the
// character at fault in the known letters (the "[" of an unclosed or empty
// set, the stray "]", the first "%").
struct TPatternProblem {
    TPatternError error = TPatternError::None;
    std::size_t position = 0;

    explicit operator bool() const { return error != TPatternError::None; }
};

// One item of a parsed pattern.
struct TPatternItem {
    enum Kind : std::uint8_t {
        Letter,     // `letters` holds the one letter
        Any,        // "*"
        Vowel,      // "@"
        Consonant,  // "#"
        Set,        // "[...]": one of `letters`, or with `negated` one not among them
        Run,        // "%": any number of letters (extended patterns only)
    };
    Kind kind = Letter;
    bool negated = false;
    std::string letters;
};

// The pattern text split at its option characters. A text shorter than two
// characters has no letters and both options off; the text ends at its
// first 0x00.
struct TPatternText {
    std::string_view letters;
    bool countLetters = false;
    bool matchCase = false;
};
[[nodiscard]] TPatternText SplitPatternText(std::string_view pattern);

// Reads the known letters under `syntax`. A malformed pattern gives an
// empty list and sets `problem`; a well-formed one clears it.
[[nodiscard]] std::vector<TPatternItem> ParsePattern(const TPatternText& text,
                                                     TPatternSyntax syntax,
                                                     TPatternProblem& problem);

// The problem of a whole pattern text (letters and option characters), or
// none. Callers check a pattern with this before a search starts.
[[nodiscard]] TPatternProblem CheckPattern(std::string_view pattern, TPatternSyntax syntax);

// --- Vowels and consonants under an alphabet row. The vowels are the
// letters of the groups that hold a, e, i, o or u (in either case); the
// consonants are the letters of every other group that holds a letter.
// Bytes the row does not list all rank alike, so they are neither.

// True for the letters of Windows-1250: A-Z, a-z and the accented Latin
// letters (not the signs, digits or punctuation).
[[nodiscard]] bool IsCp1250Letter(unsigned char byte);

// The rank of every byte that the row does not list. A row is a
// zero-terminated text, so 0x00 is never listed and ranks so.
[[nodiscard]] inline std::uint32_t UnlistedRank(const TRankTable& rank) {
    return rank[0];
}

[[nodiscard]] bool IsVowel(const TRankTable& rank, char c);
[[nodiscard]] bool IsConsonant(const TRankTable& rank, char c);

}  // namespace vrk
