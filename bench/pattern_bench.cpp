// Benchmarks of the extended patterns and anagrams on a 1 000 000-entry
// dictionary, each beside GNU grep -c with an equivalent regular expression
// over the same entries as text lines ("word TAB descriptions"), in the same
// run. bench/pattern_bench.sh prepares the files, runs this and prints the
// ratios.
//
// Environment: VRK3_BENCH_DICT (the .vrk3), VRK3_BENCH_TEXT (its entries as
// text lines), VRK3_BENCH_WORK (a scratch folder for the expressions).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "store/alphabet.h"
#include "store/data_file.h"
#include "store/pattern.h"
#include "store/text_codec.h"

namespace {

namespace fs = std::filesystem;

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value) {
        std::cerr << "pattern_bench: set " << name << " (bench/pattern_bench.sh does)\n";
        std::exit(2);
    }
    return value;
}

// A bracket expression of the given bytes: "]" first and "-" last, so that
// neither is read as syntax; the word's end (TAB) and the line's end are
// never among them.
std::string Bracket(std::string bytes, bool negated) {
    std::sort(bytes.begin(), bytes.end());
    bytes.erase(std::unique(bytes.begin(), bytes.end()), bytes.end());
    std::string body;
    if (bytes.find(']') != std::string::npos) body += ']';
    for (char c : bytes)
        if (c != ']' && c != '-' && c != '^' && c != '\t' && c != '\n') body += c;
    if (bytes.find('^') != std::string::npos) body += '^';
    if (negated) body += '\t';
    if (bytes.find('-') != std::string::npos) body += '-';
    return (negated ? "[^" : "[") + body + "]";
}

const vrk::TRankTable& Rank() {
    return vrk::DefaultRankTable();
}

// Every byte of the groups of `letters` (the search folds by group).
std::string Groups(std::string_view letters) {
    std::string bytes;
    for (int b = 2; b < 256; ++b)
        for (char c : letters)
            if (Rank()[b] == vrk::RankOf(Rank(), c)) bytes += static_cast<char>(b);
    return bytes;
}

std::string ClassOf(bool (*test)(const vrk::TRankTable&, char)) {
    std::string bytes;
    for (int b = 2; b < 256; ++b)
        if (test(Rank(), static_cast<char>(b))) bytes += static_cast<char>(b);
    return Bracket(bytes, false);
}

// The grep expression of a pattern without case matching: "*" any byte but
// the word's end, letters and sets by group, classes as the bytes they take,
// "%" any run; a pattern with "%" or the letter count ends at the TAB.
std::string ExtendedExpression(std::string_view pattern) {
    const vrk::TPatternText text = vrk::SplitPatternText(pattern);
    vrk::TPatternProblem problem;
    const auto items = vrk::ParsePattern(text, {true, false}, problem);
    std::string re = "^";
    bool whole = text.countLetters;
    for (const vrk::TPatternItem& item : items) {
        switch (item.kind) {
            case vrk::TPatternItem::Letter:
                re += Bracket(Groups(item.letters), false);
                break;
            case vrk::TPatternItem::Any:
                re += "[^\t]";
                break;
            case vrk::TPatternItem::Vowel:
                re += ClassOf(vrk::IsVowel);
                break;
            case vrk::TPatternItem::Consonant:
                re += ClassOf(vrk::IsConsonant);
                break;
            case vrk::TPatternItem::Set:
                re += Bracket(Groups(item.letters), item.negated);
                break;
            case vrk::TPatternItem::Run:
                re += "[^\t]*";
                whole = true;
                break;
        }
    }
    return whole ? re + "\t" : re;
}

// The anagram as the alternation of every distinct order of its letters.
std::string AnagramExpression(std::string letters) {
    std::sort(letters.begin(), letters.end());
    std::string re = "^(";
    bool first = true;
    do {
        if (!first) re += '|';
        first = false;
        for (char c : letters) re += Bracket(Groups(std::string(1, c)), false);
    } while (std::next_permutation(letters.begin(), letters.end()));
    return re + ")\t";
}

// The anagram as Perl-style look-aheads: the word has as many letters as the
// pattern and at least as many of each group; the counts then add up
// exactly, since the groups are disjoint.
std::string AnagramLookAheads(std::string_view letters) {
    std::string re = "^(?=[^\t]{" + std::to_string(letters.size()) + "}\t)";
    std::vector<std::pair<std::uint32_t, int>> groups;
    for (char c : letters) {
        const auto at = std::find_if(groups.begin(), groups.end(), [&](const auto& g) {
            return g.first == vrk::RankOf(Rank(), c);
        });
        if (at == groups.end())
            groups.emplace_back(vrk::RankOf(Rank(), c), 1);
        else
            ++at->second;
    }
    for (const auto& [rank, count] : groups) {
        std::string members;
        for (int b = 2; b < 256; ++b)
            if (Rank()[b] == rank) members += static_cast<char>(b);
        re += "(?=(?:[^\t]*?" + Bracket(members, false) + "){" + std::to_string(count) + "})";
    }
    return re;
}

long RunCommand(const std::string& command) {
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return -1;
    long value = -1;
    if (std::fscanf(pipe, "%ld", &value) != 1) value = -1;
    ::pclose(pipe);
    return value;
}

void Search(benchmark::State& state, std::string pattern, vrk::TPatternSyntax syntax) {
    const std::string work = Env("VRK3_BENCH_WORK");
    fs::create_directories(work);
    vrk::TDataFile file(Env("VRK3_BENCH_DICT"), work + "/s1", work + "/s2", work + "/s3");
    const std::int32_t count = file.GetEntryCount();
    // Room for every match, so that the whole dictionary is scanned as grep
    // scans the whole text.
    std::vector<char> text(64 << 20);
    std::vector<std::int32_t> index(count), hits(count);
    std::int32_t found = 0;
    for (auto _ : state) {
        found = file.Search(pattern, "", text, index, hits, count, syntax);
        if (found < 0) state.SkipWithError("search failed");
    }
    state.counters["matches"] = found;
}

void Grep(benchmark::State& state, const std::string& name, const std::string& flags,
          const std::string& expression) {
    const std::string work = Env("VRK3_BENCH_WORK");
    fs::create_directories(work);
    const std::string file = work + "/" + name + ".re";
    std::ofstream(file, std::ios::binary) << expression << '\n';
    const std::string command =
        "LC_ALL=C grep " + flags + " -c -f '" + file + "' '" + Env("VRK3_BENCH_TEXT") + "'";
    long found = 0;
    for (auto _ : state) found = RunCommand(command);
    state.counters["matches"] = static_cast<double>(found);
}

struct TCase {
    const char* name;
    std::string pattern;  // Windows-1250, with the two option characters
    vrk::TPatternSyntax syntax;
};

std::string Cp(std::string_view utf8) {
    return vrk::Utf8ToCp1250(utf8).value();
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<TCase> cases = {
        // Six letters: sets, one of them negated.
        {"Set", Cp("[kp]*[čšž]*[^aeiou]10"), {true, false}},
        // Seven letters, consonants and vowels in turn.
        {"Class", "#@#@#@#10", {true, false}},
        // Every word ending in "ica".
        {"Suffix", "%ica00", {true, false}},
        // The anagrams of a seven-letter word.
        {"Anagram", "karotin00", {false, true}},
    };
    const auto add = [](const std::string& name, auto&&... args) {
        benchmark::RegisterBenchmark(name.c_str(), args...)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(10);
    };
    for (const TCase& c : cases) {
        const std::string letters = c.pattern.substr(0, c.pattern.size() - 2);
        if (c.syntax.anagram) {
            // Two equivalent expressions; the faster one is the baseline.
            add(std::string("BM_Grep") + c.name, Grep, std::string(c.name), std::string("-E"),
                AnagramExpression(letters));
            add(std::string("BM_GrepPerl") + c.name, Grep, std::string(c.name) + "-perl",
                std::string("-P"), AnagramLookAheads(letters));
        } else {
            add(std::string("BM_Grep") + c.name, Grep, std::string(c.name), std::string("-E"),
                ExtendedExpression(c.pattern));
        }
        add(std::string("BM_Search") + c.name, Search, c.pattern, c.syntax);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
