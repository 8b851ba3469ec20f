// The two texts a user types for a search, fuzzed: the description terms
// and the known-letters pattern under every syntax. Promises checked: at
// most 100 terms, none empty; a pattern CheckPattern accepts compiles, and
// one it refuses does not parse.
#include "fuzz_util.h"
#include "store/alphabet.h"
#include "store/pattern.h"
#include "store/search_terms.h"
#include "store/word_pattern.h"

using namespace vrk;
using namespace vrk::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = AsText(data, size);
    const std::vector<TSearchTerm> terms = ParseSearchTerms(text);
    VRK3_FUZZ_CHECK(terms.size() <= kMaxSearchTerms);
    for (const TSearchTerm& term : terms) {
        VRK3_FUZZ_CHECK(!term.text.empty());
        (void)FindTerm(text, term.text, term.exact, term.wholeWord, DefaultRankTable());
    }
    for (int s = 0; s < 4; ++s) {
        TPatternSyntax syntax;
        syntax.extended = s & 1;
        syntax.anagram = s & 2;
        const TPatternProblem problem = CheckPattern(text, syntax);
        const bool compiles = TWordPattern::Compile(text, syntax, DefaultRankTable()).has_value();
        VRK3_FUZZ_CHECK(compiles == !problem);
        TPatternProblem parsed;
        (void)ParsePattern(SplitPatternText(text), syntax, parsed);
        VRK3_FUZZ_CHECK(parsed.error == problem.error);
    }
    return 0;
}
