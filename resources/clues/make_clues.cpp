// vrk3clues: makes dictionaries of descriptions (clue_sources.h), each in
// one go from its source to the finished dictionary, each on a thread of
// its own:
//   vrk3clues JOB [JOB...]
// where a JOB is one of
//   thesaurus DAT OUT.vrk3 NAME AUTHOR NOTES
//   names JSON_DIR LOCALE_DIR OUT.vrk3 NAME AUTHOR NOTES
// JSON_DIR holds the iso-codes lists (iso_3166-1.json, ...), LOCALE_DIR the
// Slovene catalogues (iso_3166-1.mo, ...). NAME, AUTHOR and NOTES (UTF-8)
// become the dictionary's data; its flags allow export and forbid changes.
// OUT.vrk3 is replaced only by a complete dictionary; the store's scratch
// files are kept in the temporary folder (TMPDIR). Prints on stdout what
// each made, on stderr why one failed (and then exits with 1).
#include <fcntl.h>
#include <malloc.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <optional>
#include <sstream>
#include <thread>

#include "clue_sources.h"
#include "store/text_codec.h"

namespace {

using namespace vrk::clues;

// A source file mapped whole, read-only, for as long as the object lives.
class TSourceFile {
  public:
    explicit TSourceFile(const std::string& path) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        struct stat st {};
        if (fd < 0) return;
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
            m_size = static_cast<std::size_t>(st.st_size);
            void* at = m_size == 0
                           ? nullptr
                           : ::mmap(nullptr, m_size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
            m_ok = m_size == 0 || at != MAP_FAILED;
            if (m_size != 0 && at != MAP_FAILED) m_data = static_cast<const char*>(at);
        }
        ::close(fd);
    }
    ~TSourceFile() {
        if (m_data) ::munmap(const_cast<char*>(m_data), m_size);
    }
    TSourceFile(const TSourceFile&) = delete;
    TSourceFile& operator=(const TSourceFile&) = delete;
    bool ok() const { return m_ok; }
    std::string_view view() const { return {m_data ? m_data : "", m_data ? m_size : 0}; }

  private:
    const char* m_data = nullptr;
    std::size_t m_size = 0;
    bool m_ok = false;
};

bool ReadList(const std::string& dir, const char* name, std::vector<TIsoRecord>& records) {
    const TSourceFile json(dir + "/iso_" + name + ".json");
    return json.ok() && ReadIsoList(json.view(), records);
}

bool ReadNames(const std::string& dir, const char* name, TCatalogue& catalogue) {
    const TSourceFile mo(dir + "/iso_" + name + ".mo");
    return mo.ok() && ReadCatalogue(mo.view(), catalogue);
}

// One dictionary to make, and what became of it.
struct TJob {
    std::string kind;
    std::vector<std::string> inputs;
    std::string out, name, author, notes;
    std::string report;  // what it made, or why it failed
    bool ok = false;
};

// The jobs on the command line; false when they do not make one.
bool ParseJobs(int argc, char** argv, std::vector<TJob>& jobs) {
    for (int at = 1; at < argc;) {
        TJob job;
        job.kind = argv[at++];
        const int inputs = job.kind == "thesaurus" ? 1 : job.kind == "names" ? 2 : -1;
        if (inputs < 0 || argc - at < inputs + 4) return false;
        for (int k = 0; k < inputs; ++k) job.inputs.push_back(argv[at++]);
        job.out = argv[at++];
        job.name = argv[at++];
        job.author = argv[at++];
        job.notes = argv[at++];
        jobs.push_back(std::move(job));
    }
    return !jobs.empty();
}

void Run(TJob& job, const std::string& scratch) {
    TClueInfo info;
    const struct {
        const char* what;
        const std::string& utf8;
        std::string& text;
    } fields[] = {{"name", job.name, info.name},
                  {"author", job.author, info.author},
                  {"notes", job.notes, info.notes}};
    for (const auto& f : fields) {
        std::optional<std::string> text = vrk::Utf8ToCp1250(f.utf8);
        if (!text) {
            job.report = std::string("the ") + f.what + " holds characters Windows-1250 cannot";
            return;
        }
        f.text = std::move(*text);
    }
    TClueList list;
    TClueCounts counts;
    if (job.kind == "thesaurus") {
        const TSourceFile data(job.inputs[0]);
        if (!data.ok()) {
            job.report = "cannot read " + job.inputs[0];
            return;
        }
        std::string error;
        if (!ReadThesaurus(data.view(), list, counts, error)) {
            job.report = job.inputs[0] + ": " + error;
            return;
        }
    } else {
        TNameSources s;
        const std::string& json = job.inputs[0];
        const std::string& locale = job.inputs[1];
        const struct {
            const char* name;
            std::vector<TIsoRecord>& records;
            TCatalogue& catalogue;
        } parts[] = {{"3166-1", s.countries, s.countryNames},
                     {"3166-2", s.subdivisions, s.subdivisionNames},
                     {"639-2", s.languages, s.languageNames},
                     {"4217", s.currencies, s.currencyNames}};
        for (const auto& p : parts) {
            if (!ReadList(json, p.name, p.records)) {
                job.report = "cannot read " + json + "/iso_" + p.name + ".json";
                return;
            }
            if (!ReadNames(locale, p.name, p.catalogue)) {
                job.report = "cannot read " + locale + "/iso_" + p.name + ".mo";
                return;
            }
        }
        MakeNames(s, list, counts);
    }
    std::string error;
    if (!WriteDictionary(list, info, job.out, scratch, error)) {
        job.report = "cannot write " + job.out + ": " + error;
        return;
    }
    std::ostringstream report;
    report << job.name << ": " << list.records().size() << " entries, " << list.descriptionCount()
           << " descriptions; left out: " << counts.untranslated << " untranslated names, "
           << counts.unfit << " words Windows-1250 cannot hold; " << counts.replaced
           << " texts with letters written without their marks";
    job.report = report.str();
    job.ok = true;
}

}  // namespace

int main(int argc, char** argv) {
    // Memory given back is kept for the next use, so that reading and
    // writing share pages: the first touch of each fresh page is a fault
    // the kernel must serve.
    mallopt(M_MMAP_THRESHOLD, 256 << 20);
    mallopt(M_TRIM_THRESHOLD, 512 << 20);
    std::vector<TJob> jobs;
    if (!ParseJobs(argc, argv, jobs)) {
        std::cerr << "usage: vrk3clues JOB [JOB...], a JOB being\n"
                     "  thesaurus DAT OUT.vrk3 NAME AUTHOR NOTES\n"
                     "  names JSON_DIR LOCALE_DIR OUT.vrk3 NAME AUTHOR NOTES\n";
        return 1;
    }
    std::error_code ec;
    const std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
    const std::string scratch = ec ? "/tmp" : temp.string();
    // Each job on a thread of its own, the last on this one.
    std::vector<std::thread> threads;
    for (std::size_t k = 0; k + 1 < jobs.size(); ++k)
        threads.emplace_back(Run, std::ref(jobs[k]), std::cref(scratch));
    Run(jobs.back(), scratch);
    for (std::thread& t : threads) t.join();
    bool ok = true;
    for (const TJob& job : jobs) {
        (job.ok ? std::cout : std::cerr) << (job.ok ? "" : "vrk3clues: ") << job.report << '\n';
        ok &= job.ok;
    }
    return ok ? 0 : 1;
}
