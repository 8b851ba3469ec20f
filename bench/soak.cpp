// soak: the finder's, the manager's and the tool's operations at once on one
// library, for a given time, each kind in its own process:
//   search   the finder: the library's dictionaries collected from the
//            settings store, each searched with a random two-letter pattern;
//   header   the manager: a dictionary's data set anew, now and then a
//            letter remapped in a whole dictionary (q to j and back);
//   import   the tool: a CSV file of 50 new words imported into a dictionary;
//   store    two processes storing new entries and deleting their own
//            earlier ones (only while the entry still has its word);
//   cutter   another program that ignores the locks: it cuts one more
//            dictionary of the library to 4 KB and writes it back every
//            30 ms; the searches meet it cut short and must say so (as
//            damaged), never crash.
// Every writer keeps a ledger of what it committed and of what it tried
// and was told failed. At the end every committed word is present exactly
// once, in its own dictionary; every deleted and every failed one is
// absent; every dictionary reads whole and nothing is left beside it.
//
//   soak [--seconds 600] [--dictionaries 4] [--entries 20000] [--dir DIR]
//
// Prints operations per second per kind, failures by reason, and the lock
// waits (how often a process found a dictionary locked by another, and for
// how long in all). Exits 1 when a check fails.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "settings/library_registry.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "store/data_file.h"
#include "store/file_io.h"
#include "store/test_folder.h"

using namespace vrk;
using Clock = std::chrono::steady_clock;

namespace {

struct TSoakSetup {
    std::string folder;
    std::vector<std::string> dictionaries;
    std::string cutDictionary;  // searched, never written, cut short by the cutter
    std::string libraryKey;
    double seconds = 600;
};

// What one process did, written to its stats file for the parent.
struct TStats {
    std::map<std::string, long> ops;                            // kind -> successful operations
    std::map<std::string, std::map<std::string, long>> failed;  // kind -> reason -> count
    TLockWaits waits;
};

std::unique_ptr<TDataFile> Open(const TSoakSetup& setup, const std::string& path,
                                const std::string& worker) {
    const std::string scratch = setup.folder + "/scratch/" + worker;
    return std::make_unique<TDataFile>(path, scratch + ".r", scratch + ".a", scratch + ".o");
}

void Count(TStats& stats, const std::string& kind, bool ok, const TDataFile& file) {
    if (ok)
        ++stats.ops[kind];
    else
        ++stats.failed[kind][FailureText(file.LastFailure())];
}

// The ledger: one line per word, "+ DICT WORD" committed, "- DICT WORD"
// deleted, "x DICT WORD" reported as failed.
class TLedger {
  public:
    explicit TLedger(const std::string& path) : m_out(path) {}
    void Note(char what, std::size_t dictionary, const std::string& word) {
        m_out << what << ' ' << dictionary << ' ' << word << '\n';
    }

  private:
    std::ofstream m_out;
};

void Search(const TSoakSetup& setup, std::mt19937& rng, TStats& stats) {
    std::string paths;
    if (!CollectLibraryDictionaries(setup.libraryKey, paths)) {
        ++stats.failed["search"]["library not read"];
        return;
    }
    std::vector<char> text(1 << 16);
    std::vector<std::int32_t> index(200), hits(200);
    for (const std::string& path : SplitDictionaryList(paths)) {
        auto file = Open(setup, path, "search");
        const std::string pattern = std::string(1, "BSIU"[rng() % 4]) + "*00";
        const bool ok = file->Search(pattern, rng() % 2 ? "opis" : "", text, index, hits, 200) >= 0;
        Count(stats, "search", ok, *file);
    }
}

void Header(const TSoakSetup& setup, std::mt19937& rng, TStats& stats, int round) {
    const std::size_t d = rng() % setup.dictionaries.size();
    auto file = Open(setup, setup.dictionaries[d], "header");
    if (round % 20 == 19) {
        // q and j never occur in the ledger's words.
        const bool there = round / 20 % 2 == 0;
        Count(stats, "remap", file->RemapLetter(there ? 'q' : 'j', there ? 'j' : 'q'), *file);
        return;
    }
    const std::string n = std::to_string(round);
    Count(stats, "header", file->SetInfo("Slovar " + n, "Avtor", "Opombe\r\n" + n, "", 6), *file);
}

void Import(const TSoakSetup& setup, std::mt19937& rng, TStats& stats, TLedger& ledger, int round) {
    const std::size_t d = rng() % setup.dictionaries.size();
    const std::string csv = setup.folder + "/import.csv";
    std::vector<std::string> words;
    {
        std::ofstream out(csv, std::ios::binary);
        for (int i = 0; i < 50; ++i) {
            words.push_back("UVOZ" + std::to_string(round) + "X" + std::to_string(i));
            out << words.back() << ",opis uvoza," << i << "\r\n";
        }
    }
    auto file = Open(setup, setup.dictionaries[d], "import");
    const bool ok = file->ImportCsv(csv);
    std::filesystem::remove(csv);
    Count(stats, "import", ok, *file);
    for (const std::string& w : words) ledger.Note(ok ? '+' : 'x', d, w);
}

void Store(const TSoakSetup& setup, std::mt19937& rng, TStats& stats, TLedger& ledger,
           const std::string& worker, int round,
           std::vector<std::pair<std::size_t, std::string>>& mine) {
    if (!mine.empty() && rng() % 5 == 0) {
        const std::size_t pick = rng() % mine.size();
        const auto [d, word] = mine[pick];
        auto file = Open(setup, setup.dictionaries[d], worker);
        const std::int32_t i = file->FindWord(word);
        // Another process may delete an entry before it between the two
        // steps: the expectation then refuses, and the next round tries again.
        const bool ok = i >= 0 && file->DeleteEntry(i, TExpectedEntry::Word(word));
        Count(stats, "delete", ok, *file);
        if (ok) {
            ledger.Note('-', d, word);
            mine.erase(mine.begin() + static_cast<std::ptrdiff_t>(pick));
        }
        return;
    }
    const std::size_t d = rng() % setup.dictionaries.size();
    const std::string word = "SHRAMBA" + worker + "X" + std::to_string(round);
    auto file = Open(setup, setup.dictionaries[d], worker);
    const bool ok = file->StoreEntry(word + "\x01opis shranjenega");
    Count(stats, "store", ok, *file);
    ledger.Note(ok ? '+' : 'x', d, word);
    if (ok) mine.emplace_back(d, word);
}

// Cuts the dictionary short and writes it back, as a careless program would.
void Cut(const TSoakSetup& setup, TStats& stats) {
    std::ifstream in(setup.cutDictionary, std::ios::binary);
    const std::string whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const int fd = ::open(setup.cutDictionary.c_str(), O_WRONLY);
    if (fd < 0 || ::ftruncate(fd, 4096) != 0) ++stats.failed["cut"]["not cut"];
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (fd >= 0 &&
        ::pwrite(fd, whole.data(), whole.size(), 0) != static_cast<ssize_t>(whole.size()))
        ++stats.failed["cut"]["not written back"];
    else
        ++stats.ops["cut"];
    if (fd >= 0) ::close(fd);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
}

// One worker process: repeats its kind of operation until the time is up.
int Work(const TSoakSetup& setup, const std::string& worker, unsigned seed) {
    CloseSettingsStore();  // each process its own connection
    std::mt19937 rng(seed);
    TStats stats;
    TLedger ledger(setup.folder + "/ledger-" + worker);
    std::vector<std::pair<std::size_t, std::string>> mine;
    const auto end = Clock::now() + std::chrono::duration<double>(setup.seconds);
    for (int round = 0; Clock::now() < end; ++round) {
        if (worker == "search")
            Search(setup, rng, stats);
        else if (worker == "header")
            Header(setup, rng, stats, round);
        else if (worker == "import")
            Import(setup, rng, stats, ledger, round);
        else if (worker == "cutter")
            Cut(setup, stats);
        else
            Store(setup, rng, stats, ledger, worker, round, mine);
    }
    stats.waits = LockWaits();
    std::ofstream out(setup.folder + "/stats-" + worker);
    for (const auto& [kind, n] : stats.ops) out << "ops " << kind << ' ' << n << '\n';
    for (const auto& [kind, reasons] : stats.failed)
        for (const auto& [reason, n] : reasons)
            out << "fail " << kind << ' ' << n << ' ' << reason << '\n';
    out << "waits " << stats.waits.count << ' ' << stats.waits.waited.count() << '\n';
    return 0;
}

bool Prepare(TSoakSetup& setup, int dictionaries, int entries) {
    std::filesystem::create_directories(setup.folder + "/scratch");
    setenv("VRK3_SETTINGS_DIR", (setup.folder + "/settings").c_str(), 1);
    EnsureManagerKeys();
    if (CreateLibraryKey(kGroupsKey, "Soak") != TLibraryResult::kOk) return false;
    setup.libraryKey = std::string(kGroupsKey) + "\\Soak";
    const std::string csv = setup.folder + "/scratch/seed.csv";
    {
        std::ofstream out(csv, std::ios::binary);
        for (int i = 0; i < entries; ++i)
            out << "BESEDA" << i << ",opis " << i << ",quiz " << i << "\r\n";
    }
    for (int d = 0; d < dictionaries; ++d) {
        const std::string path = setup.folder + "/slovar" + std::to_string(d) + ".vrk3";
        auto file = Open(setup, path, "prepare");
        if (!file->CreateEmpty() || !file->SetInfo("Slovar", "", "", "", 6) ||
            !file->ImportCsv(csv) ||
            AddLibraryDictionary(setup.libraryKey, path) != TLibraryResult::kOk)
            return false;
        setup.dictionaries.push_back(path);
    }
    setup.cutDictionary = setup.folder + "/rezan.vrk3";
    auto cut = Open(setup, setup.cutDictionary, "prepare");
    if (!cut->CreateEmpty() || !cut->ImportCsv(csv) ||
        AddLibraryDictionary(setup.libraryKey, setup.cutDictionary) != TLibraryResult::kOk)
        return false;
    std::filesystem::remove(csv);
    CloseSettingsStore();  // not shared with the workers across fork()
    return true;
}

// Checks every dictionary against the ledgers; prints what is wrong.
int Verify(const TSoakSetup& setup, const std::vector<std::string>& writers) {
    int problems = 0;
    // word -> (dictionary, state): '+' present, '-' deleted, 'x' failed
    std::map<std::string, std::pair<std::size_t, char>> expected;
    for (const std::string& w : writers) {
        std::ifstream in(setup.folder + "/ledger-" + w);
        char what;
        std::size_t d;
        std::string word;
        while (in >> what >> d >> word) expected[word] = {d, what};
    }
    for (std::size_t d = 0; d < setup.dictionaries.size(); ++d) {
        auto file = Open(setup, setup.dictionaries[d], "verify");
        const std::int32_t count = file->GetEntryCount();
        std::vector<char> text(static_cast<std::size_t>(count + 1) * 200 + 1000);
        std::vector<std::int32_t> index(count + 1), hits(count + 1);
        const std::int32_t found = file->Search("00", "", text, index, hits, count + 1);
        if (count < 0 || found != count) {
            std::cout << "FAILURE: " << setup.dictionaries[d] << " does not read whole ("
                      << FailureText(file->LastFailure()) << ")\n";
            ++problems;
            continue;
        }
        std::map<std::string, int> seen;
        std::string_view all(text.data(), text.size());
        for (std::size_t pos = 0, i = 0; i < static_cast<std::size_t>(found); ++i) {
            const std::size_t end = all.find('\x02', pos);
            const std::string_view record = all.substr(pos, end - pos);
            ++seen[std::string(record.substr(0, record.find('\x01')))];
            pos = end + 1;
        }
        for (const auto& [word, state] : expected) {
            const int n = seen.count(word) ? seen[word] : 0;
            const int want = state.first == d && state.second == '+' ? 1 : 0;
            if (n != want) {
                std::cout << "FAILURE: " << word << " (" << state.second << ") found " << n
                          << " times in dictionary " << d << '\n';
                ++problems;
            }
        }
    }
    auto cut = Open(setup, setup.cutDictionary, "verify");
    if (cut->GetEntryCount() < 0) {
        std::cout << "FAILURE: the dictionary cut short does not read whole after the cuts\n";
        ++problems;
    }
    for (const auto& e : std::filesystem::directory_iterator(setup.folder)) {
        const std::string name = e.path().filename().string();
        if (name[0] == '.') {
            std::cout << "FAILURE: left beside the dictionaries: " << name << '\n';
            ++problems;
        }
    }
    for (const auto& e : std::filesystem::directory_iterator(setup.folder + "/scratch")) {
        std::cout << "FAILURE: scratch file left: " << e.path().filename().string() << '\n';
        ++problems;
    }
    return problems;
}

void Report(const TSoakSetup& setup, const std::vector<std::string>& workers, double seconds) {
    std::map<std::string, long> ops;
    std::map<std::string, long> failed;
    std::uint64_t waits = 0, waitedUs = 0;
    for (const std::string& w : workers) {
        std::ifstream in(setup.folder + "/stats-" + w);
        std::string line;
        while (std::getline(in, line)) {
            std::istringstream s(line);
            std::string tag, kind;
            long n = 0;
            s >> tag;
            if (tag == "ops") {
                s >> kind >> n;
                ops[kind] += n;
            } else if (tag == "fail") {
                std::string reason;
                s >> kind >> n;
                std::getline(s, reason);
                failed[kind + ":" + reason] += n;
            } else if (tag == "waits") {
                std::uint64_t c = 0, us = 0;
                s >> c >> us;
                waits += c;
                waitedUs += us;
            }
        }
    }
    std::printf("soak: %.0f s, %zu dictionaries in one library\n", seconds,
                setup.dictionaries.size());
    for (const auto& [kind, n] : ops)
        std::printf("  %-8s %8ld operations  %8.1f/s\n", kind.c_str(), n, n / seconds);
    std::printf("  lock waits: %llu, %.1f s waited in all\n",
                static_cast<unsigned long long>(waits), waitedUs / 1e6);
    if (failed.empty()) std::printf("  failures: none\n");
    for (const auto& [what, n] : failed) std::printf("  failed %s: %ld\n", what.c_str(), n);
}

}  // namespace

int main(int argc, char** argv) {
    TSoakSetup setup;
    int dictionaries = 4, entries = 20000;
    std::string dir;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string arg = argv[i];
        if (arg == "--seconds")
            setup.seconds = std::atof(argv[i + 1]);
        else if (arg == "--dictionaries")
            dictionaries = std::atoi(argv[i + 1]);
        else if (arg == "--entries")
            entries = std::atoi(argv[i + 1]);
        else if (arg == "--dir")
            dir = argv[i + 1];
        else {
            std::cerr
                << "usage: soak [--seconds 600] [--dictionaries 4] [--entries 20000] [--dir DIR]\n";
            return 2;
        }
    }
    setup.folder = dir.empty() ? MakeTestFolder("vrk3-soak", TTestDisk::kReal) : dir;
    if (setup.folder.empty() || !Prepare(setup, dictionaries, entries)) {
        std::cerr << "soak: the library could not be prepared in " << setup.folder << '\n';
        return 2;
    }
    const std::vector<std::string> workers = {"search", "header", "import", "S1", "S2", "cutter"};
    const auto started = Clock::now();
    std::vector<pid_t> pids;
    for (std::size_t w = 0; w < workers.size(); ++w) {
        const pid_t pid = fork();
        if (pid == 0) _exit(Work(setup, workers[w], 1000 + static_cast<unsigned>(w)));
        pids.push_back(pid);
    }
    int crashed = 0;
    for (pid_t pid : pids) {
        int status = 0;
        waitpid(pid, &status, 0);
        crashed += !(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
    Report(setup, workers, seconds);
    const int problems = Verify(setup, workers) + crashed;
    std::printf("  check: %s\n", problems == 0 ? "every committed entry present once, every "
                                                 "file whole, nothing left behind"
                                               : "FAILED");
    if (dir.empty() && problems == 0) std::filesystem::remove_all(setup.folder);
    return problems == 0 ? 0 : 1;
}
