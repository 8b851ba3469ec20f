// Benchmarks of the search, the imports and the exports on a 1 000 000-entry
// dictionary, each beside its baseline in the same run:
//   search (letters; letters + one required word)  vs  GNU grep -c on the
//       same entries as text lines
//   import of 100 000 entries (second generation, CSV)  vs  one rewrite
//   export (all three formats)  vs  LC_ALL=C sort of the text lines
// bench/formats_bench.sh prepares the files, runs this and prints the ratios.
//
// Environment: VRK3_BENCH_DICT (the .vrk3), VRK3_BENCH_TEXT (its entries as
// "word TAB descriptions" lines), VRK3_BENCH_IMPORT_VRK and
// VRK3_BENCH_IMPORT_CSV (100 000 entries to import), VRK3_BENCH_WORK (a
// scratch folder).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "store/alphabet.h"
#include "store/data_file.h"

namespace {

namespace fs = std::filesystem;

// The searches: a five-letter word with two known letters, then the same
// with one required description word.
constexpr std::string_view kPattern = "*a*e*10";
constexpr std::string_view kTerm = "narod";

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value) {
        std::cerr << "formats_bench: set " << name << " (bench/formats_bench.sh does)\n";
        std::exit(2);
    }
    return value;
}

const std::string& Work() {
    static const std::string dir = [] {
        std::string d = Env("VRK3_BENCH_WORK");
        fs::create_directories(d);
        return d;
    }();
    return dir;
}

vrk::TDataFile Dictionary(const std::string& path) {
    return vrk::TDataFile(path, Work() + "/s1", Work() + "/s2", Work() + "/s3");
}

// A byte as a bracket expression of every byte in its alphabet group, so
// that grep folds letters exactly as the search does.
std::string GroupClass(char c) {
    const vrk::TRankTable& rank = vrk::DefaultRankTable();
    std::string members;
    for (int b = 1; b < 256; ++b)
        if (rank[b] == vrk::RankOf(rank, c)) members += static_cast<char>(b);
    return "[" + members + "]";
}

// The grep expression for the known letters (and the word in the
// descriptions when term is not empty).
std::string GrepExpression(std::string_view pattern, std::string_view term) {
    std::string re = "^";
    for (char c : pattern.substr(0, pattern.size() - 2)) re += c == '*' ? "." : GroupClass(c);
    re += '\t';
    if (!term.empty()) {
        re += ".*";
        for (char c : term) re += GroupClass(c);
    }
    return re;
}

// Runs a shell command and returns its first output line as a number.
long RunCommand(const std::string& command) {
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return -1;
    long value = -1;
    if (std::fscanf(pipe, "%ld", &value) != 1) value = -1;
    ::pclose(pipe);
    return value;
}

void Search(benchmark::State& state, std::string_view terms) {
    auto file = Dictionary(Env("VRK3_BENCH_DICT"));
    const std::int32_t count = file.GetEntryCount();
    // Room for every match, so that the whole dictionary is scanned as grep
    // scans the whole text.
    std::vector<char> text(64 << 20);
    std::vector<std::int32_t> index(count), hits(count);
    std::int32_t found = 0;
    for (auto _ : state) {
        found = file.Search(kPattern, terms, text, index, hits, count);
        if (found < 0) state.SkipWithError("search failed");
    }
    state.counters["matches"] = found;
}

void Grep(benchmark::State& state, std::string_view term) {
    const std::string command = "LC_ALL=C grep -c '" + GrepExpression(kPattern, term) + "' '" +
                                Env("VRK3_BENCH_TEXT") + "'";
    long found = 0;
    for (auto _ : state) found = RunCommand(command);
    state.counters["matches"] = static_cast<double>(found);
}

void BM_SearchLetters(benchmark::State& state) {
    Search(state, "");
}
void BM_GrepLetters(benchmark::State& state) {
    Grep(state, "");
}
void BM_SearchLettersAndWord(benchmark::State& state) {
    Search(state, "+" + std::string(kTerm));
}
void BM_GrepLettersAndWord(benchmark::State& state) {
    Grep(state, kTerm);
}

// A fresh copy of the large dictionary for a benchmark that changes it.
std::string FreshCopy() {
    const std::string copy = Work() + "/copy.vrk3";
    fs::copy_file(Env("VRK3_BENCH_DICT"), copy, fs::copy_options::overwrite_existing);
    return copy;
}

// The baseline of the imports: one rewrite of the dictionary (one entry
// appended).
void BM_RewriteOnce(benchmark::State& state) {
    const std::string copy = FreshCopy();
    auto file = Dictionary(copy);
    for (auto _ : state)
        if (!file.StoreEntry("BENCHWORD\x01opis")) state.SkipWithError("store failed");
}

void Import(benchmark::State& state, const char* sourceVar, bool csv) {
    const std::string source = Env(sourceVar);
    for (auto _ : state) {
        state.PauseTiming();
        const std::string copy = FreshCopy();
        auto file = Dictionary(copy);
        state.ResumeTiming();
        const bool ok = csv ? file.ImportCsv(source) : file.ImportSecondGen(source, ';', false);
        if (!ok) state.SkipWithError("import failed");
    }
}

void BM_ImportSecondGen(benchmark::State& state) {
    Import(state, "VRK3_BENCH_IMPORT_VRK", false);
}
void BM_ImportCsv(benchmark::State& state) {
    Import(state, "VRK3_BENCH_IMPORT_CSV", true);
}

void BM_SortBaseline(benchmark::State& state) {
    const std::string command =
        "LC_ALL=C sort '" + Env("VRK3_BENCH_TEXT") + "' -o '" + Work() + "/sorted.txt'; echo 0";
    for (auto _ : state) RunCommand(command);
}

void Export(benchmark::State& state, int kind) {
    auto file = Dictionary(Env("VRK3_BENCH_DICT"));
    const std::string target = Work() + "/export.out";
    for (auto _ : state) {
        const bool ok = kind == 0   ? file.ExportSecondGen(target, ';')
                        : kind == 1 ? file.ExportFirstGen(target, ';')
                                    : file.ExportCsv(target, ',');
        if (!ok) state.SkipWithError("export failed");
    }
}

void BM_ExportSecondGen(benchmark::State& state) {
    Export(state, 0);
}
void BM_ExportFirstGen(benchmark::State& state) {
    Export(state, 1);
}
void BM_ExportCsv(benchmark::State& state) {
    Export(state, 2);
}

}  // namespace

#define VRK3_TIMED(fn, n) BENCHMARK(fn)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(n)
VRK3_TIMED(BM_GrepLetters, 20);
VRK3_TIMED(BM_SearchLetters, 20);
VRK3_TIMED(BM_GrepLettersAndWord, 20);
VRK3_TIMED(BM_SearchLettersAndWord, 20);
VRK3_TIMED(BM_RewriteOnce, 5);
VRK3_TIMED(BM_ImportSecondGen, 5);
VRK3_TIMED(BM_ImportCsv, 3);
VRK3_TIMED(BM_SortBaseline, 3);
VRK3_TIMED(BM_ExportSecondGen, 3);
VRK3_TIMED(BM_ExportFirstGen, 3);
VRK3_TIMED(BM_ExportCsv, 3);

BENCHMARK_MAIN();
