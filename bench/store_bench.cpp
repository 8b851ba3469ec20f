// Benchmarks of the dictionary store's header reads and single-entry
// rewrite, each beside its baseline, on the dictionary named by
// VRK3_BENCH_DICT (bench/store_bench.sh makes it from the corpus).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "store/data_file.h"

namespace {

namespace fs = std::filesystem;

struct TBenchFiles {
    std::string dir;        // scratch folder beside the large dictionary
    std::string large;      // the corpus dictionary, read only
    std::string largeCopy;  // a copy that the rewrite benchmarks change
    std::string empty;
};

const TBenchFiles& Files() {
    static const TBenchFiles files = [] {
        const char* dict = std::getenv("VRK3_BENCH_DICT");
        if (!dict || !fs::exists(dict)) {
            std::cerr << "set VRK3_BENCH_DICT to a large .vrk3 dictionary\n";
            std::exit(2);
        }
        TBenchFiles f;
        f.large = dict;
        f.dir = fs::path(dict).parent_path().string() + "/store_bench";
        fs::create_directories(f.dir);
        f.largeCopy = f.dir + "/copy.vrk3";
        fs::copy_file(f.large, f.largeCopy, fs::copy_options::overwrite_existing);
        f.empty = f.dir + "/empty.vrk3";
        if (!vrk::CreateEmpty(f.empty)) std::exit(1);
        return f;
    }();
    return files;
}

vrk::TDataFile Dictionary(const std::string& path) {
    const std::string& dir = Files().dir;
    return vrk::TDataFile(path, dir + "/s1", dir + "/s2", dir + "/s3");
}

// Everything the manager's list and the save dialog read of a dictionary.
void ReadHeader(benchmark::State& state, const std::string& path) {
    auto file = Dictionary(path);
    std::string text;
    for (auto _ : state) {
        benchmark::DoNotOptimize(file.GetEntryCount());
        if (!file.GetName(text) || !file.GetAuthor(text) || !file.GetNotes(text) ||
            !file.GetPassword(text))
            state.SkipWithError("header read failed");
        benchmark::DoNotOptimize(file.GetFlags());
        benchmark::DoNotOptimize(file.GetPictureSize());
    }
}

void BM_HeaderReadsEmpty(benchmark::State& state) {
    ReadHeader(state, Files().empty);
}
void BM_HeaderReadsLarge(benchmark::State& state) {
    ReadHeader(state, Files().large);
}

// Replacing one entry in the middle: the whole file is rewritten.
void BM_ReplaceOneEntry(benchmark::State& state) {
    auto file = Dictionary(Files().largeCopy);
    const std::int32_t middle = file.GetEntryCount() / 2;
    int round = 0;
    for (auto _ : state) {
        std::int32_t index = middle;
        if (!file.StoreEntry("BENCHWORD\x01opis " + std::to_string(round++), &index))
            state.SkipWithError("store failed");
    }
}

// The baseline: writing a file of the same size from memory and flushing it.
void BM_WriteAndFlushSameSize(benchmark::State& state) {
    std::ifstream in(Files().large, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string path = Files().dir + "/baseline.bin";
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const char* p = bytes.data();
        std::size_t left = bytes.size();
        while (left > 0) {
            const ssize_t n = ::write(fd, p, std::min<std::size_t>(left, 1 << 20));
            if (n <= 0) break;
            p += n;
            left -= static_cast<std::size_t>(n);
        }
        ::fsync(fd);
        ::close(fd);
    }
    fs::remove(path);
}

}  // namespace

BENCHMARK(BM_HeaderReadsEmpty);
BENCHMARK(BM_HeaderReadsLarge);
BENCHMARK(BM_WriteAndFlushSameSize)->UseRealTime()->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_ReplaceOneEntry)->UseRealTime()->Unit(benchmark::kMillisecond)->MinTime(3);

BENCHMARK_MAIN();
