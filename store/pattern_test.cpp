// Known-letters patterns: malformed ones, vowels and consonants, worked
// examples, and the search compared with a slow reference matcher on random
// patterns over real Slovene words.
#include "pattern.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <random>

#include "test_util.h"
#include "text_codec.h"
#include "word_pattern.h"

namespace vrk {
namespace {

std::string Cp(std::string_view utf8) {
    return Utf8ToCp1250(utf8).value();
}

constexpr TPatternSyntax kPlain{};
constexpr TPatternSyntax kExtended{true, false};
constexpr TPatternSyntax kAnagram{false, true};
constexpr TPatternSyntax kBoth{true, true};

// --- Malformed patterns

TEST(Pattern, MalformedPatternsSayWhatAndWhere) {
    struct Case {
        std::string pattern;
        TPatternError error;
        std::size_t position;
    };
    const Case cases[] = {
        {"ab[cd00", TPatternError::UnclosedSet, 2}, {"[a]b[00", TPatternError::UnclosedSet, 4},
        {"[]a00", TPatternError::EmptySet, 0},      {"a[^]00", TPatternError::EmptySet, 1},
        {"ab]00", TPatternError::UnopenedSet, 2},   {"[a]]00", TPatternError::UnopenedSet, 3},
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

TEST_F(PatternSearchTest, MalformedPatternIsRefusedBeforeTheDictionaryIsOpened) {
    auto missing = Dictionary("missing.vrk3");
    std::vector<char> text(100);
    std::vector<std::int32_t> index(5), hits(5);
    EXPECT_EQ(missing->Search("ab[c00", "", text, index, hits, 5, kExtended), -1);
    EXPECT_EQ(missing->LastFailure(), TFailure::InvalidArgument);
    EXPECT_EQ(missing->Search("ab[c00", "", text, index, hits, 5), -1);
    EXPECT_EQ(missing->LastFailure(), TFailure::NotFound);
}

// --- Vowels and consonants

TEST(Pattern, VowelsAndConsonantsFollowTheAlphabetRow) {
    const TRankTable& rank = DefaultRankTable();
    for (char c : Cp("aAäÄeéEiIoOöÖuUüÜů")) {
        EXPECT_TRUE(IsVowel(rank, c)) << c;
        EXPECT_FALSE(IsConsonant(rank, c)) << c;
    }
    for (char c : Cp("bBčČćĆšŠžŽqQxXyYwWđĐçÇnŃ")) {
        EXPECT_TRUE(IsConsonant(rank, c)) << c;
        EXPECT_FALSE(IsVowel(rank, c)) << c;
    }
    // Outside the row (É, ő, @) or not a letter at all: neither.
    for (char c : Cp("Éő@ -5,\x01")) {
        EXPECT_FALSE(IsVowel(rank, c)) << c;
        EXPECT_FALSE(IsConsonant(rank, c)) << c;
    }
    // Another row: b shares a's group, c and d are consonants, f is unlisted.
    const TRankTable own = BuildRankTable("Aab|cd|-", '|');
    EXPECT_TRUE(IsVowel(own, 'b'));
    EXPECT_TRUE(IsConsonant(own, 'd'));
    EXPECT_FALSE(IsVowel(own, 'e'));
    EXPECT_FALSE(IsConsonant(own, 'f'));
    EXPECT_FALSE(IsConsonant(own, '-'));
    // The signs among the letters of Windows-1250 are no letters, even in a
    // group of their own.
    const TRankTable signs = BuildRankTable(Cp("a|×|÷"), '|');
    for (char c : Cp("×÷")) EXPECT_FALSE(IsConsonant(signs, c)) << c;
}

// --- Worked examples (the random comparison below covers the rest)

TEST_F(PatternSearchTest, SuffixesSetsAndAnagramsOnAFewWords) {
    auto file = DictionaryWith({
        Record(Cp("LJUBLJANICA"), {"reka sedmih imen"}),
        Record(Cp("POTICA"), {Cp("pecivo iz kvašenega testa")}),
        Record(Cp("KAPLICA"), {Cp("majhna cerkev"), "reka? ne"}),
        Record(Cp("KAVA"), {"napitek"}),
        Record(Cp("Čaša")),
        Record(Cp("ćaša")),
        Record(Cp("ROMAN"), {"prozno delo"}),
        Record(Cp("NORMA"), {"predpisana mera"}),
        Record(Cp("MORNAR"), {Cp("pomorščak")}),
    });
    EXPECT_EQ(WordsFound(*file, "%ica00", kExtended, "reka"), (Words{"LJUBLJANICA", "KAPLICA"}));
    EXPECT_EQ(WordsFound(*file, "%lj%ca%00", kExtended), (Words{"LJUBLJANICA"}));
    // Without a run the pattern describes the word's beginning, as always.
    EXPECT_EQ(WordsFound(*file, "k@[pv]00", kExtended), (Words{"KAPLICA", "KAVA"}));
    // Set letters fold by rank (č and ć share a group) unless case matters.
    EXPECT_EQ(WordsFound(*file, Cp("[čž]aša00"), kExtended), (Words{Cp("Čaša"), Cp("ćaša")}));
    EXPECT_EQ(WordsFound(*file, Cp("[Č]a[^Š]a01"), kExtended), (Words{Cp("Čaša")}));
    // The same texts keep their old meaning without the option.
    EXPECT_EQ(WordsFound(*file, "ka%a00", kPlain), (Words{}));
    EXPECT_EQ(WordsFound(*file, "ka%a00", kExtended), (Words{"KAPLICA", "KAVA"}));

    EXPECT_EQ(WordsFound(*file, "roman00", kAnagram), (Words{"ROMAN", "NORMA"}));
    EXPECT_EQ(WordsFound(*file, "r*m**a00", kAnagram), (Words{"MORNAR"}));
    // With extended patterns: classes take one letter, "%" any further ones.
    EXPECT_EQ(WordsFound(*file, "rm@@n00", kBoth), (Words{"ROMAN", "NORMA"}));
    EXPECT_EQ(WordsFound(*file, "rom%00", kBoth), (Words{"ROMAN", "NORMA", "MORNAR"}));
    EXPECT_EQ(WordsFound(*file, "rom%00", kAnagram), (Words{}));
}

TEST(AnagramCheck, ClassesTradeLettersWhenTheFirstChoiceBlocks) {
    const TRankTable& rank = DefaultRankTable();
    const auto fits = [&](std::string_view pattern, std::string_view word) {
        return TWordPattern::Compile(pattern, kBoth, rank)->FitsRecord(word);
    };
    // [ab] takes the a first; [a] then needs it, and [ab] moves to the b.
    EXPECT_TRUE(fits("[ab][a]00", "ab"));
    // Two steps: [a] takes the a from [ab], which takes the b from #, which
    // takes the d.
    EXPECT_TRUE(fits("[ab]#[a]00", "abd"));
    EXPECT_FALSE(fits("[ab][ab][a]00", "bbx"));
    EXPECT_FALSE(fits("[a][a]*00", "abc"));
    EXPECT_TRUE(fits("@#%[ab]00", "xyzua"));
    EXPECT_FALSE(fits("@@%00", "xyzu"));
}

TEST(AnagramCheck, ALongPatternOfClassesIsCompiledQuickly) {
    // Each "#" once cost a full table of 256 * 256 steps: a long typed
    // pattern held a search for minutes. Items written alike now share one.
    const int status = InChild(
        [] {
            const std::string pattern = std::string(1000000, '#') + "[ab]@%00";
            const auto compiled = TWordPattern::Compile(pattern, kBoth, DefaultRankTable());
            return compiled && !compiled->FitsRecord("abc");
        },
        10);
    EXPECT_EQ(status, 0);
}

// --- The reference matcher

// The matching rules written out directly: one character, one item at a
// time, by backtracking. Slow and independent of the real matcher's tables.
class TReference {
  public:
    TReference(std::string_view row, char separator, bool matchCase)
        : m_strRow(row),
          m_cSeparator(separator),
          m_rank(BuildRankTable(row, separator)),
          m_bMatchCase(matchCase) {
        // Every letter of Windows-1250, listed by hand.
        const std::string letters =
            Cp("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyzŠŚŤŽŹšśťžźŁĄŞŻłąşĽľż"
               "ŔÁÂĂÄĹĆÇČÉĘËĚÍÎĎĐŃŇÓÔŐÖŘŮÚŰÜÝŢßŕáâăäĺćçčéęëěíîďđńňóôőöřůúűüýţ");
        // A vowel shares a listed vowel's group; a consonant is no vowel and
        // shares a listed letter's group.
        for (int b = 0; b < 256; ++b) {
            const char c = static_cast<char>(b);
            for (char v : std::string_view("aeiouAEIOU"))
                m_vowel[b] = m_vowel[b] || (Listed(v) && Rank(v) == Rank(c));
            for (char l : letters)
                m_consonant[b] = m_consonant[b] || (!m_vowel[b] && Listed(l) && Rank(l) == Rank(c));
        }
    }

    struct Item {
        char kind;  // 'l' letter, '*', '@', '#', '[' set, '%'
        std::string letters;
        bool negated = false;
        bool operator==(const Item&) const = default;
    };

    static std::vector<Item> Parse(std::string_view letters, bool extended) {
        std::vector<Item> items;
        for (std::size_t i = 0; i < letters.size(); ++i) {
            const char c = letters[i];
            if (c == '*' || (extended && (c == '@' || c == '#' || c == '%'))) {
                items.push_back({c, ""});
            } else if (extended && c == '[') {
                const std::size_t close = letters.find(']', i + 1);
                Item set{'[', std::string(letters.substr(i + 1, close - i - 1))};
                if (set.letters[0] == '^') {
                    set.negated = true;
                    set.letters.erase(0, 1);
                }
                items.push_back(set);
                i = close;
            } else {
                items.push_back({'l', std::string(1, c)});
            }
        }
        return items;
    }

    bool Fits(char c, const Item& item) const {
        if (c == '\x01') return false;
        switch (item.kind) {
            case 'l':
                return Same(c, item.letters[0]);
            case '@':
                return m_vowel[static_cast<unsigned char>(c)];
            case '#':
                return m_consonant[static_cast<unsigned char>(c)];
            case '[':
                return std::any_of(item.letters.begin(), item.letters.end(),
                                   [&](char m) { return Same(c, m); }) != item.negated;
            default:
                return true;
        }
    }

    bool Matches(std::string_view word, const std::vector<Item>& items, bool countLetters,
                 bool anagram) const {
        if (anagram) {
            // Every item but "%" takes one letter: a quick check first.
            const auto runs = std::count_if(items.begin(), items.end(),
                                            [](const Item& i) { return i.kind == '%'; });
            const std::size_t taken = items.size() - static_cast<std::size_t>(runs);
            if (runs ? word.size() < taken : word.size() != taken) return false;
            std::map<char, int> left;
            for (char c : word) ++left[c];
            return Assign(left, items, 0);
        }
        if (std::none_of(items.begin(), items.end(), [](const Item& i) { return i.kind == '%'; })) {
            if (word.size() < items.size() || (countLetters && word.size() != items.size()))
                return false;
            for (std::size_t k = 0; k < items.size(); ++k)
                if (!Fits(word[k], items[k])) return false;
            return true;
        }
        return Glob(word, 0, items, 0);
    }

  private:
    std::uint32_t Rank(char c) const { return RankOf(m_rank, c); }
    bool Same(char a, char b) const { return m_bMatchCase ? a == b : Rank(a) == Rank(b); }
    bool Listed(char c) const {
        for (char r : m_strRow)
            if (r != m_cSeparator && r == c) return true;
        return false;
    }
    bool Glob(std::string_view word, std::size_t j, const std::vector<Item>& items,
              std::size_t i) const {
        if (i == items.size()) return j == word.size();
        if (items[i].kind == '%') {
            for (std::size_t skip = j; skip <= word.size(); ++skip)
                if (Glob(word, skip, items, i + 1)) return true;
            return false;
        }
        return j < word.size() && Fits(word[j], items[i]) && Glob(word, j + 1, items, i + 1);
    }

    // Gives the items after i, one by one, a letter of the word that fits
    // (only one of equal letters is tried); "*" takes whatever is left,
    // and with "%" letters may be left over.
    bool Assign(std::map<char, int>& left, const std::vector<Item>& items, std::size_t i) const {
        if (i == items.size()) {
            int rest = 0, stars = 0;
            bool open = false;
            for (const auto& [c, n] : left) rest += n;
            for (const Item& item : items) {
                stars += item.kind == '*';
                open = open || item.kind == '%';
            }
            return open ? rest >= stars : rest == stars;
        }
        if (items[i].kind == '*' || items[i].kind == '%') return Assign(left, items, i + 1);
        for (auto& [c, n] : left) {
            if (n == 0 || !Fits(c, items[i])) continue;
            --n;
            const bool ok = Assign(left, items, i + 1);
            ++n;
            if (ok) return true;
        }
        return false;
    }

    std::string m_strRow;
    char m_cSeparator;
    TRankTable m_rank;
    bool m_bMatchCase;
    std::array<bool, 256> m_vowel{};
    std::array<bool, 256> m_consonant{};
};

// Words of the sample dictionary and, when Debian's Slovene word list is
// installed, every 80th of its stems (about 3 000 more, in mixed case).
std::vector<std::string> RealWords() {
    std::vector<std::string> words;
    std::ifstream sample(VRK3_SAMPLE_CSV);
    for (std::string line; std::getline(sample, line);)
        words.push_back(Cp(line.substr(0, line.find(';'))));
    EXPECT_GT(words.size(), 400u);
    std::ifstream list("/usr/share/hunspell/sl_SI.dic", std::ios::binary);
    // The list is ISO-8859-2, which places these letters elsewhere.
    std::array<unsigned char, 256> toCp1250;
    for (int b = 0; b < 256; ++b) toCp1250[b] = static_cast<unsigned char>(b);
    const unsigned char moved[][2] = {{0xA9, 0x8A}, {0xAE, 0x8E}, {0xB9, 0x9A}, {0xBE, 0x9E},
                                      {0xA6, 0x8C}, {0xB6, 0x9C}, {0xAB, 0x8D}, {0xBB, 0x9D},
                                      {0xAC, 0x8F}, {0xBC, 0x9F}, {0xA1, 0xA5}, {0xB1, 0xB9},
                                      {0xA5, 0xBC}, {0xB5, 0xBE}};
    for (const auto& m : moved) toCp1250[m[0]] = m[1];
    std::string line;
    for (int n = 0; std::getline(list, line); ++n) {
        if (n == 0 || n % 80 != 0) continue;
        std::string word = line.substr(0, line.find('/'));
        for (char& c : word) c = static_cast<char>(toCp1250[static_cast<unsigned char>(c)]);
        if (!word.empty()) words.push_back(word);
    }
    // A few with a space, a hyphen and letters outside the row.
    for (std::string_view w : {"stara mama", "Šmarje-Sap", "Éclair", "žŽ@é", "a"})
        words.push_back(Cp(w));
    return words;
}

class PatternReferenceTest : public PatternSearchTest {
  protected:
    void SetUp() override {
        PatternSearchTest::SetUp();
        m_words = RealWords();
        std::vector<std::string> records;
        // Every other word has a description, so that the word ends at the
        // description mark or at the end of the record.
        for (std::size_t i = 0; i < m_words.size(); ++i)
            records.push_back(i % 2 ? Record(m_words[i], {"opis"}) : Record(m_words[i]));
        m_file = DictionaryWith(records);
    }

    // Some letter of the word's group, so that folding is put to the test.
    char GroupMate(char c) {
        std::vector<char> mates;
        // Not a bracket: a random one would make the pattern malformed.
        for (int b = 2; b < 256; ++b)
            if (RankOf(DefaultRankTable(), static_cast<char>(b)) == RankOf(DefaultRankTable(), c) &&
                b != '[' && b != ']')
                mates.push_back(static_cast<char>(b));
        return mates[m_rng() % mates.size()];
    }
    char PoolLetter() {
        static const std::string pool = Cp("aeiouAEIbcčćdšžŠŽČnrtkljmvé äÄüĆ-É");
        return pool[m_rng() % pool.size()];
    }
    bool Chance(int percent) { return static_cast<int>(m_rng() % 100) < percent; }
    std::string SetOf(char c) {
        std::string set = "[";
        if (Chance(30)) set += '^';
        std::string members;
        if (Chance(60)) members += Chance(50) ? c : GroupMate(c);
        for (int n = m_rng() % 3; n >= 0; --n)
            members.insert(m_rng() % (members.size() + 1), 1, PoolLetter());
        return set + members + "]";
    }

    // A pattern made from a real word, so that a good share of them match:
    // each letter stays, or becomes a letter of its group, a class, a set,
    // another letter or a run.
    std::string ExtendedFrom(std::string word) {
        if (Chance(30)) word.resize(m_rng() % (word.size() + 1));
        std::string pattern = Chance(25) ? "%" : "";
        for (char c : word) {
            const std::string l(1, c);
            const std::string choices[] = {l,        l,
                                           l,        std::string(1, GroupMate(c)),
                                           "*",      "@",
                                           "#",      SetOf(c),
                                           SetOf(c), std::string(1, PoolLetter()),
                                           "%",      Chance(50) ? "%" + l : l + "%"};
            pattern += choices[m_rng() % std::size(choices)];
        }
        if (Chance(25)) pattern += '%';
        return pattern;
    }
    // The word's letters shuffled, some of them changed or left out.
    std::string AnagramFrom(std::string word, bool extended) {
        std::shuffle(word.begin(), word.end(), m_rng);
        std::string pattern;
        for (char c : word) {
            const std::string l(1, c);
            const std::string changed[] = {
                "*", std::string(1, GroupMate(c)), std::string(1, PoolLetter()),
                "",  Chance(50) ? "@" : "#",       SetOf(c),
                "%"};
            const std::size_t r = m_rng() % 20;
            pattern += r >= 7 || (r >= 4 && !extended) ? l : changed[r];
        }
        return pattern;
    }

    // Checks `count` random patterns of one kind against the reference.
    void Compare(TPatternSyntax syntax, int count) {
        int matched = 0;
        for (int round = 0; round < count; ++round) {
            const std::string& word = m_words[m_rng() % m_words.size()];
            std::string letters = syntax.anagram    ? AnagramFrom(word, syntax.extended)
                                  : syntax.extended ? ExtendedFrom(word)
                                                    : word.substr(0, m_rng() % (word.size() + 1));
            if (!syntax.extended && !syntax.anagram)
                for (char& c : letters) c = Chance(20) ? '*' : Chance(20) ? GroupMate(c) : c;
            const bool hasRun = syntax.extended && letters.find('%') != std::string::npos;
            const bool countLetters = !hasRun && Chance(40);
            const bool matchCase = Chance(30);
            const std::string pattern =
                letters + (countLetters ? '1' : '0') + (matchCase ? '1' : '0');
            ASSERT_FALSE(CheckPattern(pattern, syntax)) << pattern;

            const TReference& reference = m_reference[matchCase];
            const auto items = TReference::Parse(letters, syntax.extended);
            std::vector<std::int32_t> expected;
            for (std::size_t i = 0; i < m_words.size(); ++i)
                if (reference.Matches(m_words[i], items, countLetters, syntax.anagram))
                    expected.push_back(static_cast<std::int32_t>(i));
            const TSearchResult found =
                SearchFile(*m_file, pattern, "", 1 << 20, m_file->GetEntryCount() + 1, syntax);
            ASSERT_FALSE(found.full);
            ASSERT_EQ(found.count, static_cast<std::int32_t>(expected.size()));
            ASSERT_EQ(found.index, expected) << Cp1250ToUtf8(pattern);
            matched += !expected.empty();
        }
        // The patterns come from real words: most of them find something.
        EXPECT_GT(matched, count / 4);
    }

    std::vector<std::string> m_words;
    std::unique_ptr<TDataFile> m_file;
    const TReference m_reference[2] = {{kDefaultAlphabet, kDefaultSeparator, false},
                                       {kDefaultAlphabet, kDefaultSeparator, true}};
    std::mt19937 m_rng{18};
};

TEST_F(PatternReferenceTest, PlainPatternsKeepTheirMeaning) {
    Compare(kPlain, 150);
}

TEST_F(PatternReferenceTest, ExtendedPatterns) {
    Compare(kExtended, 400);
}

TEST_F(PatternReferenceTest, Anagrams) {
    Compare(kAnagram, 300);
}

TEST_F(PatternReferenceTest, AnagramsWithSetsClassesAndRuns) {
    Compare(kBoth, 300);
}

}  // namespace
}  // namespace vrk
