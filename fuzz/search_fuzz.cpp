// Search over a fuzzed dictionary with a fuzzed pattern and terms. The
// input is: a syntax byte ('0' plain, '1' extended, '2' anagram, '3' both),
// the pattern, "\n", the terms, "\n", then the dictionary file. Promises
// checked: the result list holds exactly the reported records, each the
// entry its index names followed by 0x02, and then 0x00, within the buffer;
// indices rise; the buffer is never written past its end.
#include <algorithm>

#include "fuzz_util.h"
#include "store/data_file.h"

using namespace vrk;
using namespace vrk::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input = AsText(data, size);
    if (input.empty()) return 0;
    const int syntaxByte = input[0] & 3;
    input.remove_prefix(1);
    const std::size_t patternEnd = input.find('\n');
    if (patternEnd == std::string_view::npos) return 0;
    const std::string_view pattern = input.substr(0, patternEnd);
    input.remove_prefix(patternEnd + 1);
    const std::size_t termsEnd = input.find('\n');
    if (termsEnd == std::string_view::npos) return 0;
    const std::string_view terms = input.substr(0, termsEnd);
    const std::string_view dictionary = input.substr(termsEnd + 1);

    const std::string path = InFolder("s.vrk3");
    WriteBytes(path, dictionary);
    TDataFile file(path, InFolder("r.tmp"), InFolder("a.tmp"), InFolder("o.tmp"));
    TPatternSyntax syntax;
    syntax.extended = syntaxByte & 1;
    syntax.anagram = syntaxByte & 2;

    // A small buffer, so that the full-buffer stop is reached often; a
    // guard zone after it catches writes past its end.
    constexpr std::size_t kGuard = 16;
    const std::size_t outSize = 64 + dictionary.size() % 512;
    std::vector<char> text(outSize + kGuard, '\x7f');
    constexpr std::int32_t kMax = 20;
    std::vector<std::int32_t> index(kMax, -7), hits(kMax, -7);
    const std::int32_t found = file.Search(pattern, terms, std::span<char>(text.data(), outSize),
                                           index, hits, kMax, syntax);
    for (std::size_t i = outSize; i < text.size(); ++i) VRK3_FUZZ_CHECK(text[i] == '\x7f');
    VRK3_FUZZ_CHECK(found >= -1 && found <= kMax);
    if (found < 0) return 0;
    // Each record is the entry at its index (cut to the record limit); a
    // record may itself hold 0x02, so the list is walked by the entries.
    const std::int32_t count = file.GetEntryCount();
    std::size_t pos = 0;
    std::string entry;
    for (std::int32_t i = 0; i < found; ++i) {
        VRK3_FUZZ_CHECK(index[i] >= 0 && index[i] < count);
        VRK3_FUZZ_CHECK(i == 0 || index[i] > index[i - 1]);
        VRK3_FUZZ_CHECK(hits[i] >= 0);
        VRK3_FUZZ_CHECK(file.GetEntry(index[i], entry));
        VRK3_FUZZ_CHECK(pos + entry.size() + 1 < outSize);
        VRK3_FUZZ_CHECK(std::string_view(text.data() + pos, entry.size()) == entry);
        pos += entry.size();
        VRK3_FUZZ_CHECK(text[pos++] == '\x02');
    }
    VRK3_FUZZ_CHECK(pos < outSize && text[pos] == '\0');
    return 0;
}
