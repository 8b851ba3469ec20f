#include "pattern.h"

#include "text_codec.h"

namespace vrk {

TPatternText SplitPatternText(std::string_view pattern) {
    pattern = pattern.substr(0, pattern.find('\0'));
    TPatternText text;
    if (pattern.size() < 2) return text;
    const std::size_t letters = pattern.size() - 2;
    text.letters = pattern.substr(0, letters);
    text.countLetters = pattern[letters] == '1';
    text.matchCase = pattern[letters + 1] == '1';
    return text;
}

namespace {

std::vector<TPatternItem> Refuse(TPatternProblem& problem, TPatternError error,
                                 std::size_t position) {
    problem = {error, position};
    return {};
}

}  // namespace

std::vector<TPatternItem> ParsePattern(const TPatternText& text, TPatternSyntax syntax,
                                       TPatternProblem& problem) {
    problem = {};
    const std::string_view letters = text.letters;
    std::vector<TPatternItem> items;
    items.reserve(letters.size());
    for (std::size_t i = 0; i < letters.size(); ++i) {
        const char c = letters[i];
        TPatternItem item;
        if (c == '*') {
            item.kind = TPatternItem::Any;
        } else if (!syntax.extended) {
            item.letters.assign(1, c);
        } else if (c == '@') {
            item.kind = TPatternItem::Vowel;
        } else if (c == '#') {
            item.kind = TPatternItem::Consonant;
        } else if (c == '%') {
            // A run lets the word be longer than the pattern: that cannot
            // hold when the word must have exactly as many letters.
            if (text.countLetters) return Refuse(problem, TPatternError::RunWithCount, i);
            // Two runs side by side are one.
            if (!items.empty() && items.back().kind == TPatternItem::Run) continue;
            item.kind = TPatternItem::Run;
        } else if (c == ']') {
            return Refuse(problem, TPatternError::UnopenedSet, i);
        } else if (c == '[') {
            const std::size_t open = i;
            const std::size_t close = letters.find(']', open + 1);
            if (close == std::string_view::npos)
                return Refuse(problem, TPatternError::UnclosedSet, open);
            std::size_t first = open + 1;
            item.kind = TPatternItem::Set;
            if (letters[first] == '^') {
                item.negated = true;
                ++first;
            }
            if (first == close) return Refuse(problem, TPatternError::EmptySet, open);
            item.letters.assign(letters.substr(first, close - first));
            i = close;
        } else {
            item.letters.assign(1, c);
        }
        items.push_back(std::move(item));
    }
    return items;
}

TPatternProblem CheckPattern(std::string_view pattern, TPatternSyntax syntax) {
    TPatternProblem problem;
    (void)ParsePattern(SplitPatternText(pattern), syntax, problem);
    return problem;
}

bool IsCp1250Letter(unsigned char byte) {
    const char32_t code = Cp1250ToUnicode(byte);
    if ((code >= U'A' && code <= U'Z') || (code >= U'a' && code <= U'z')) return true;
    // Latin-1 letters and Latin Extended-A, without the multiplication and
    // division signs; the accents that stand alone lie above this range.
    return code >= 0xC0 && code <= 0x24F && code != 0xD7 && code != 0xF7;
}

bool IsVowel(const TRankTable& rank, char c) {
    const std::uint32_t r = RankOf(rank, c);
    if (r == UnlistedRank(rank)) return false;
    for (char v : std::string_view("aeiouAEIOU"))
        if (RankOf(rank, v) == r) return true;
    return false;
}

bool IsConsonant(const TRankTable& rank, char c) {
    const std::uint32_t r = RankOf(rank, c);
    if (r == UnlistedRank(rank) || IsVowel(rank, c)) return false;
    for (int b = 0; b < 256; ++b)
        if (rank[b] == r && IsCp1250Letter(static_cast<unsigned char>(b))) return true;
    return false;
}

}  // namespace vrk
