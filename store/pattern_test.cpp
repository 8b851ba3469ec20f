// Known-letters patterns: malformed ones, vowels and consonants, and worked
// examples of extended patterns and anagrams. Random patterns are checked
// against a reference matcher by fuzz/pattern_match_fuzz.cpp.
#include "pattern.h"

#include <gtest/gtest.h>

#include "test_util.h"
#include "text_codec.h"

namespace vrk {
namespace {

std::string Cp(std::string_view utf8) {
    return Utf8ToCp1250(utf8).value();
}

constexpr TPatternSyntax kPlain{};
constexpr TPatternSyntax kExtended{true, false};
constexpr TPatternSyntax kAnagram{false, true};
constexpr TPatternSyntax kBoth{true, true};

TEST(Pattern, MalformedPatternsSayWhatAndWhere) {
    struct Case {
        std::string pattern;
        TPatternError error;
        std::size_t position;
    };
    const Case cases[] = {
        {"[a]b[00", TPatternError::UnclosedSet, 4}, {"[]a00", TPatternError::EmptySet, 0},
        {"a[^]00", TPatternError::EmptySet, 1},     {"[a]]00", TPatternError::UnopenedSet, 3},
        {"%ica10", TPatternError::RunWithCount, 0}, {"k[a%]a%b%11", TPatternError::RunWithCount, 6},
    };
    for (const Case& c : cases) {
        for (TPatternSyntax syntax : {kExtended, kBoth}) {
            const TPatternProblem problem = CheckPattern(c.pattern, syntax);
            EXPECT_EQ(problem.error, c.error) << c.pattern;
            EXPECT_EQ(problem.position, c.position) << c.pattern;
        }
        // Without the extended option every character is a letter.
        EXPECT_FALSE(CheckPattern(c.pattern, kPlain)) << c.pattern;
        EXPECT_FALSE(CheckPattern(c.pattern, kAnagram)) << c.pattern;
    }
    // "^" after the first place and "[" inside a set are members; runs may
    // follow each other.
    EXPECT_FALSE(CheckPattern("[^^]%%[[]@#*00", kExtended));
    EXPECT_FALSE(CheckPattern("", kExtended));
}

using PatternSearchTest = TempDirTest;
// The words an extended or anagram pattern finds.
std::vector<std::string> WordsFound(TDataFile& file, std::string_view pattern,
                                    TPatternSyntax syntax, std::string_view terms = "") {
    const TSearchResult found = SearchFile(file, pattern, terms, 50000, 500, syntax);
    EXPECT_GE(found.count, 0) << pattern;
    return WordsOf(found);
}
using Words = std::vector<std::string>;

TEST(Pattern, VowelsAndConsonantsFollowTheAlphabetRow) {
    // Each letter as a pattern sees it: 'v' a vowel, 'c' a consonant, '-'
    // neither ('+' would be both).
    const auto kinds = [](const TRankTable& rank, std::string_view text) {
        std::string out;
        for (char c : text) out += "-vc+"[IsVowel(rank, c) + 2 * IsConsonant(rank, c)];
        return out;
    };
    // Outside the row (É, ő, @) or not a letter at all: neither.
    EXPECT_EQ(
        kinds(DefaultRankTable(), Cp("aAäÄeéEiIoOöÖuUüÜůbBčČćĆšŠžŽqQxXyYwWđĐçÇnŃÉő@ -5,\x01")),
        std::string(18, 'v') + std::string(24, 'c') + std::string(8, '-'));
    // Another row: b shares a's group, c and d are consonants, f is unlisted.
    EXPECT_EQ(kinds(BuildRankTable("Aab|cd|-", '|'), "bdef-"), "vc---");
    // The signs among the letters of Windows-1250 are no letters, even in a
    // group of their own.
    EXPECT_EQ(kinds(BuildRankTable(Cp("a|×|÷"), '|'), Cp("×÷")), "--");
}

TEST_F(PatternSearchTest, SuffixesSetsAndAnagramsOnAFewWords) {
    auto file = DictionaryWith({
        Record(Cp("LJUBLJANICA"), {"reka sedmih imen"}),
        Record(Cp("POTICA"), {Cp("pecivo iz kvašenega testa")}),
        Record(Cp("KAPLICA"), {Cp("majhna cerkev"), "reka? ne"}),
        Record(Cp("KAVA"), {"napitek"}),
        Record(Cp("Čaša")),
        Record(Cp("ćaša")),
        // Of the anagram's length and letters but one: its letters left
        // over must not count for the next word.
        Record(Cp("MORJE")),
        Record(Cp("ROMAN"), {"prozno delo"}),
        Record(Cp("NORMA"), {"predpisana mera"}),
        Record(Cp("MORNAR"), {Cp("pomorščak")}),
    });
    EXPECT_EQ(WordsFound(*file, "%ica00", kExtended, "reka"), (Words{"LJUBLJANICA", "KAPLICA"}));
    // Set letters fold by rank (č and ć share a group).
    EXPECT_EQ(WordsFound(*file, Cp("[čž]aša00"), kExtended), (Words{Cp("Čaša"), Cp("ćaša")}));
    // The same texts keep their old meaning without the option.
    EXPECT_EQ(WordsFound(*file, "ka%a00", kPlain), (Words{}));
    EXPECT_EQ(WordsFound(*file, "ka%a00", kExtended), (Words{"KAPLICA", "KAVA"}));

    EXPECT_EQ(WordsFound(*file, "roman00", kAnagram), (Words{"ROMAN", "NORMA"}));
    // With extended patterns "%" takes any further letters.
    EXPECT_EQ(WordsFound(*file, "rom%00", kBoth), (Words{"MORJE", "ROMAN", "NORMA", "MORNAR"}));
    // A malformed pattern is refused before the dictionary is opened.
    auto missing = Dictionary("missing.vrk3");
    EXPECT_EQ(SearchFile(*missing, "ab[c00", "", 100, 5, kExtended).count, -1);
    EXPECT_EQ(missing->LastFailure(), TFailure::InvalidArgument);
}

}  // namespace
}  // namespace vrk
