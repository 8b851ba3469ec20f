// The letter check of the search compared with a slow reference matcher on
// patterns built from real Slovene words. The input is a syntax byte ('0'
// plain, '1' extended, '2' anagram, '3' both), a byte giving the number of
// patterns (1 to 64), then the generator's choices: read from the input
// while it lasts, then from a generator seeded with the whole input, so that
// each input is one fixed batch of patterns. Each pattern is made from a
// word of the list (most of them therefore find something) and must be well
// formed; the compiled pattern and the reference must agree on every word
// of the list, checked alone, with a description, and scrambled as stored.
#include <algorithm>
#include <array>
#include <fstream>
#include <map>
#include <random>

#include "fuzz_util.h"
#include "store/coding.h"
#include "store/pattern.h"
#include "store/text_codec.h"
#include "store/word_pattern.h"

using namespace vrk;
using namespace vrk::fuzz;

namespace {

std::string Cp(std::string_view utf8) {
    return Utf8ToCp1250(utf8).value();
}

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
        auto operator<=>(const Item&) const = default;
    };

    // An anagram's items come sorted, equal ones side by side, so that
    // Assign tries each way of sharing letters among them once.
    static std::vector<Item> Parse(std::string_view letters, bool extended, bool anagram) {
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
        if (anagram) std::sort(items.begin(), items.end());
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
            return Assign(left, items, 0, '\0');
        }
        if (std::none_of(items.begin(), items.end(), [](const Item& i) { return i.kind == '%'; })) {
            if (word.size() < items.size() || (countLetters && word.size() != items.size()))
                return false;
            for (std::size_t k = 0; k < items.size(); ++k)
                if (!Fits(word[k], items[k])) return false;
            return true;
        }
        std::vector<bool> failed((items.size() + 1) * (word.size() + 1));
        return Glob(word, 0, items, 0, failed);
    }

  private:
    std::uint32_t Rank(char c) const { return RankOf(m_rank, c); }
    bool Same(char a, char b) const { return m_bMatchCase ? a == b : Rank(a) == Rank(b); }
    bool Listed(char c) const {
        for (char r : m_strRow)
            if (r != m_cSeparator && r == c) return true;
        return false;
    }
    // `failed` remembers the places (item, letter) already known not to
    // fit, so that many runs do not take exponential time.
    bool Glob(std::string_view word, std::size_t j, const std::vector<Item>& items, std::size_t i,
              std::vector<bool>& failed) const {
        if (i == items.size()) return j == word.size();
        const std::size_t at = i * (word.size() + 1) + j;
        if (failed[at]) return false;
        bool fits = false;
        if (items[i].kind == '%') {
            for (std::size_t skip = j; skip <= word.size() && !fits; ++skip)
                fits = Glob(word, skip, items, i + 1, failed);
        } else {
            fits = j < word.size() && Fits(word[j], items[i]) &&
                   Glob(word, j + 1, items, i + 1, failed);
        }
        failed[at] = !fits;
        return fits;
    }

    // Gives the items after i, one by one, a letter of the word that fits
    // (only one of equal letters is tried, and an item equal to the one
    // before takes no letter before that one's); "*" takes whatever is
    // left, and with "%" letters may be left over.
    bool Assign(std::map<char, int>& left, const std::vector<Item>& items, std::size_t i,
                char previous) const {
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
        if (items[i].kind == '*' || items[i].kind == '%') return Assign(left, items, i + 1, '\0');
        const bool likeBefore = i > 0 && items[i] == items[i - 1];
        for (auto& [c, n] : left) {
            if (n == 0 || (likeBefore && c < previous) || !Fits(c, items[i])) continue;
            --n;
            const bool ok = Assign(left, items, i + 1, c);
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

// The words of the sample dictionary, some in mixed case, and a few with a
// space, a hyphen and letters outside the row. Each is checked as a bare
// record, with a description, and scrambled as it would stand in a file.
struct TWords {
    std::vector<std::string> words, described, scrambled;
    std::vector<std::uint64_t> offsets;
};

const TWords& Words() {
    static const TWords list = [] {
        TWords w;
        std::ifstream sample(VRK3_SAMPLE_CSV);
        for (std::string line; std::getline(sample, line);)
            w.words.push_back(Cp(line.substr(0, line.find(';'))));
        VRK3_FUZZ_CHECK(w.words.size() > 400);
        for (std::string_view word :
             {"čebela", "Ljubljana", "žaba", "hiša", "Škofja Loka", "dežnik", "Ptuj", "jež",
              "ključavnica", "Vrhnika", "sneženje", "črv", "Ščuka", "mAčka", "stara mama",
              "Šmarje-Sap", "Éclair", "žŽ@é", "a"})
            w.words.push_back(Cp(word));
        std::uint64_t offset = 4090;  // records cross the end of the key table
        for (const std::string& word : w.words) {
            const std::string record = word + "\x01opis";
            std::string scrambled(record.size(), '\0');
            ScrambleBytes(record.data(), scrambled.data(), record.size(), offset);
            w.described.push_back(record);
            w.scrambled.push_back(scrambled);
            w.offsets.push_back(offset);
            offset += record.size() + 1;
        }
        return w;
    }();
    return list;
}

// The generator's choices: the input's bytes first, then a generator seeded
// with all of them.
class TChoices {
  public:
    explicit TChoices(std::string_view bytes) : m_bytes(bytes) {
        std::seed_seq seed(bytes.begin(), bytes.end());
        m_rng.seed(seed);
    }
    // A number below n (n > 0).
    std::size_t Below(std::size_t n) {
        std::size_t value = 0;
        if (m_bytes.empty()) {
            value = m_rng();
        } else {
            for (std::size_t range = 1; range < n && !m_bytes.empty(); range <<= 8) {
                value = (value << 8) | static_cast<unsigned char>(m_bytes.front());
                m_bytes.remove_prefix(1);
            }
        }
        return value % n;
    }
    bool Chance(int percent) { return static_cast<int>(Below(100)) < percent; }

  private:
    std::string_view m_bytes;
    std::mt19937 m_rng;
};

// Random patterns made from the words, so that a good share of them match.
class TGenerator {
  public:
    explicit TGenerator(TChoices& choices) : m_choices(choices) {}

    const std::string& Word() { return Words().words[m_choices.Below(Words().words.size())]; }
    // The word's first letters, some of them "*" or a letter of their group.
    std::string PlainFrom(const std::string& word) {
        std::string letters = word.substr(0, m_choices.Below(word.size() + 1));
        for (char& c : letters) c = Chance(20) ? '*' : Chance(20) ? GroupMate(c) : c;
        return letters;
    }
    // Each letter stays, or becomes a letter of its group, a class, a set,
    // another letter or a run.
    std::string ExtendedFrom(std::string word) {
        if (Chance(30)) word.resize(m_choices.Below(word.size() + 1));
        std::string pattern = Chance(25) ? "%" : "";
        for (char c : word) {
            const std::string l(1, c);
            const std::string choices[] = {l,        l,
                                           l,        std::string(1, GroupMate(c)),
                                           "*",      "@",
                                           "#",      SetOf(c),
                                           SetOf(c), std::string(1, PoolLetter()),
                                           "%",      Chance(50) ? "%" + l : l + "%"};
            pattern += choices[m_choices.Below(std::size(choices))];
        }
        if (Chance(25)) pattern += '%';
        return pattern;
    }
    // The word's letters shuffled, some of them changed or left out.
    std::string AnagramFrom(std::string word, bool extended) {
        for (std::size_t i = word.size(); i > 1; --i) std::swap(word[i - 1], word[Below(i)]);
        std::string pattern;
        for (char c : word) {
            const std::string l(1, c);
            const std::string changed[] = {
                "*", std::string(1, GroupMate(c)), std::string(1, PoolLetter()),
                "",  Chance(50) ? "@" : "#",       SetOf(c),
                "%"};
            const std::size_t r = m_choices.Below(20);
            pattern += r >= 7 || (r >= 4 && !extended) ? l : changed[r];
        }
        return pattern;
    }
    bool Chance(int percent) { return m_choices.Chance(percent); }

  private:
    std::size_t Below(std::size_t n) { return m_choices.Below(n); }
    // Some letter of the word's group, so that folding is put to the test.
    // Not a bracket or "^": they could make a set malformed.
    char GroupMate(char c) {
        std::vector<char> mates;
        for (int b = 2; b < 256; ++b)
            if (RankOf(DefaultRankTable(), static_cast<char>(b)) == RankOf(DefaultRankTable(), c) &&
                b != '[' && b != ']' && b != '^')
                mates.push_back(static_cast<char>(b));
        return mates[Below(mates.size())];
    }
    char PoolLetter() {
        static const std::string pool = Cp("aeiouAEIbcčćdšžŠŽČnrtkljmvé äÄüĆ-É");
        return pool[Below(pool.size())];
    }
    std::string SetOf(char c) {
        std::string set = "[";
        if (Chance(30)) set += '^';
        std::string members;
        if (Chance(60)) members += Chance(50) ? c : GroupMate(c);
        for (std::size_t n = Below(3) + 1; n > 0; --n)
            members.insert(Below(members.size() + 1), 1, PoolLetter());
        return set + members + "]";
    }

    TChoices& m_choices;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input = AsText(data, size);
    if (input.size() < 2) return 0;
    TPatternSyntax syntax;
    syntax.extended = input[0] & 1;
    syntax.anagram = input[0] & 2;
    const int patterns = 1 + static_cast<unsigned char>(input[1]) % 64;
    input.remove_prefix(2);

    static const TReference references[2] = {{kDefaultAlphabet, kDefaultSeparator, false},
                                             {kDefaultAlphabet, kDefaultSeparator, true}};
    const TWords& words = Words();
    TChoices choices(input);
    TGenerator generator(choices);
    for (int round = 0; round < patterns; ++round) {
        const std::string& word = generator.Word();
        const std::string letters = syntax.anagram    ? generator.AnagramFrom(word, syntax.extended)
                                    : syntax.extended ? generator.ExtendedFrom(word)
                                                      : generator.PlainFrom(word);
        const bool hasRun = syntax.extended && letters.find('%') != std::string::npos;
        const bool countLetters = !hasRun && generator.Chance(40);
        const bool matchCase = generator.Chance(30);
        const std::string pattern = letters + (countLetters ? '1' : '0') + (matchCase ? '1' : '0');
        const auto compiled = TWordPattern::Compile(pattern, syntax, DefaultRankTable());
        VRK3_FUZZ_CHECK(compiled.has_value());

        const auto items = TReference::Parse(letters, syntax.extended, syntax.anagram);
        for (std::size_t i = 0; i < words.words.size(); ++i) {
            const bool expected =
                references[matchCase].Matches(words.words[i], items, countLetters, syntax.anagram);
            const bool found[] = {
                compiled->FitsRecord(words.words[i]),
                compiled->FitsRecord(words.described[i]),
                compiled->Fits(words.scrambled[i].data(), words.offsets[i],
                               words.scrambled[i].size()),
            };
            for (bool f : found) {
                if (f == expected) continue;
                std::fprintf(stderr, "pattern \"%s\" (extended %d, anagram %d), word \"%s\": %s\n",
                             Cp1250ToUtf8(pattern).c_str(), syntax.extended, syntax.anagram,
                             Cp1250ToUtf8(words.words[i]).c_str(),
                             expected ? "the reference finds it" : "only the matcher finds it");
                VRK3_FUZZ_CHECK(f == expected);
            }
        }
    }
    return 0;
}
