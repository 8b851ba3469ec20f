// vrk3tool commands that search dictionaries and convert them: search,
// import, export (the older formats), merge and remap. Long operations show
// a progress bar on stderr when it is a terminal; Ctrl+C asks them to stop,
// which leaves the dictionary unchanged.
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <thread>

#include "settings/alphabet_rows.h"
#include "store/file_io.h"
#include "store/format.h"
#include "store/pattern.h"
#include "store/progress.h"
#include "store/search_terms.h"
#include "store/word_list.h"
#include "tool_common.h"
#include "word_source.h"

namespace vrk::tool {
namespace {

// While alive: a bar drawn from the progress values is shown on stderr when
// stderr is a terminal. A stop signal (StopOnSignals) that came before the
// operation started still stops it.
class TProgressScope {
  public:
    explicit TProgressScope(std::string label)
        : m_label(std::move(label)), m_draw(::isatty(STDERR_FILENO) != 0) {
        ToolProgress().Reset();
        if (StopSignalled()) ToolProgress().RequestStop();
        m_drawer = std::thread([this] { Watch(); });
    }
    ~TProgressScope() {
        {
            std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_wake.notify_all();
        m_drawer.join();
        if (m_draw)
            std::cerr << '\r' << std::string(m_label.size() + 40, ' ') << '\r' << std::flush;
    }
    TProgressScope(const TProgressScope&) = delete;
    TProgressScope& operator=(const TProgressScope&) = delete;

  private:
    void Watch() {
        std::unique_lock lock(m_mutex);
        while (!m_wake.wait_for(lock, std::chrono::milliseconds(100), [this] { return m_done; })) {
            if (StopSignalled()) ToolProgress().RequestStop();
            if (!m_draw) continue;
            const double total = ToolProgress().Total();
            const double pos = ToolProgress().Pos();
            const int percent = total > 0 ? static_cast<int>(std::min(1.0, pos / total) * 100) : 0;
            const int filled = percent * 30 / 100;
            std::cerr << '\r' << m_label << " [" << std::string(filled, '#')
                      << std::string(30 - filled, '.') << "] " << percent << "%" << std::flush;
        }
    }

    std::string m_label;
    bool m_draw;
    std::thread m_drawer;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_done = false;
};

// The exit status of a long operation: a stop is reported as such.
int Finish(bool ok, const TDataFile& file, std::string_view what) {
    if (ok) return kExitOk;
    if (file.LastFailure() == TFailure::Stopped || ToolProgress().StopRequested())
        return Fail(file.path(), "stopped; the dictionary is unchanged");
    return Fail(file, what);
}

// The row a reader takes from the settings store: `stored` (the search's
// or the export's rule), unless --alphabet gives one.
void UseAlphabet(TDataFile& file, const TAlphabetRow& stored, const std::optional<std::string>& row,
                 const std::optional<std::string>& rowSeparator) {
    if (rowSeparator && !row) throw TUsageError("--alphabet-separator needs --alphabet");
    if (!row) {
        file.SetAlphabet(stored.text, stored.separator);
        return;
    }
    if (row->empty()) throw TUsageError("--alphabet: give the row; an empty one orders nothing");
    const char separator =
        rowSeparator ? ToCp1250Char(*rowSeparator, "--alphabet-separator") : kDefaultSeparator;
    file.SetAlphabet(ToCp1250(*row, "--alphabet"), separator);
}

// --- search

struct TSearchArgs {
    bool countLetters = false;
    bool matchCase = false;
    bool extended = false;
    bool anagram = false;
    std::int32_t max = 500;
    std::string pattern, terms;
    std::vector<std::string> dicts;
    std::optional<std::string> alphabet;
    std::optional<std::string> alphabetSeparator;
};

// One match as printed: path, index, hits, word and each description.
void PrintMatch(const std::string& path, std::int32_t index, std::int32_t hits,
                std::string_view record) {
    std::string line = Escaped(path) + '\t' + std::to_string(index) + '\t' + std::to_string(hits);
    std::size_t start = 0;
    while (true) {
        const std::size_t mark = record.find(kDescriptionMark, start);
        line += '\t';
        line += Printable(record.substr(start, mark - start));
        if (mark == std::string_view::npos) break;
        start = mark + 1;
    }
    std::cout << line << '\n';
}

// Searches one dictionary for up to `want` matches, growing the output
// buffer until every match found fits. Returns the match count or -1.
std::int32_t SearchOne(TDataFile& file, const std::string& pattern, TPatternSyntax syntax,
                       const std::string& terms, std::int32_t want, std::vector<char>& text,
                       std::vector<std::int32_t>& index, std::vector<std::int32_t>& hits) {
    index.assign(static_cast<std::size_t>(want), 0);
    hits.assign(static_cast<std::size_t>(want), 0);
    const std::size_t enough = static_cast<std::size_t>(want) * (MAX_RECORD + 1) + 2;
    std::size_t size = std::min<std::size_t>(enough, 1 << 20);
    while (true) {
        text.assign(size, '\0');
        const std::int32_t n = file.Search(pattern, terms, text, index, hits, want, syntax);
        if (n < 0 || text.back() != 'X' || size >= enough) return n;
        size = std::min(enough, size * 4);
    }
}

// What is wrong with a malformed pattern, and where (characters from 1).
std::string DescribeProblem(const TPatternProblem& problem) {
    const std::string at = " at character " + std::to_string(problem.position + 1);
    switch (problem.error) {
        case TPatternError::UnclosedSet:
            return "PATTERN: the set opened by \"[\"" + at + " has no \"]\"";
        case TPatternError::EmptySet:
            return "PATTERN: the set" + at + " holds no letter";
        case TPatternError::UnopenedSet:
            return "PATTERN: \"]\"" + at + " closes no set";
        case TPatternError::RunWithCount:
            return "PATTERN: \"%\"" + at +
                   " lets the word be longer; it cannot go with --count-letters";
        case TPatternError::None:
            break;
    }
    return "PATTERN: malformed";
}

int RunSearch(const TSearchArgs& a) {
    if (a.max < 0) throw TUsageError("--max: give 0 or more");
    const std::string pattern =
        ToCp1250(a.pattern, "PATTERN") + (a.countLetters ? '1' : '0') + (a.matchCase ? '1' : '0');
    const TPatternSyntax syntax{a.extended, a.anagram};
    if (const TPatternProblem problem = CheckPattern(pattern, syntax))
        throw TUsageError(DescribeProblem(problem));
    const std::string terms = ToCp1250(a.terms, "TERMS");
    if (const TEmptyTerm empty = FindEmptyTerm(terms))
        throw TUsageError("TERMS: the term \"" + Printable(empty.typed) + "\" at character " +
                          std::to_string(empty.position + 1) + " has no text");
    // Every dictionary is searched with the row the finder would use.
    const TAlphabetRow row = a.alphabet ? TAlphabetRow{} : ReadAlphabetForSearch();
    TProgressScope progress("search");
    int status = kExitOk;
    std::int32_t found = 0;
    bool limited = false;
    std::vector<char> text;
    std::vector<std::int32_t> index, hits;
    for (const std::string& path : a.dicts) {
        auto file = OpenDictionary(path);
        UseAlphabet(*file, row, a.alphabet, a.alphabetSeparator);
        // One match more than still wanted tells whether the limit cut the
        // list; a dictionary never has more matches than entries.
        const std::int32_t remaining = a.max - found;
        const std::int32_t count = file->GetEntryCount();
        const std::int32_t n = count < 0
                                   ? -1
                                   : SearchOne(*file, pattern, syntax, terms,
                                               std::min(remaining, count) + 1, text, index, hits);
        if (n < 0 && ToolProgress().StopRequested()) {
            status = Fail(path, "search stopped");
            break;
        }
        if (n < 0) {
            status = Fail(*file, "cannot search the dictionary");
            continue;
        }
        std::size_t start = 0;
        for (std::int32_t i = 0; i < std::min(n, remaining); ++i) {
            const std::size_t end =
                std::string_view(text.data(), text.size()).find(kResultSeparator, start);
            PrintMatch(path, index[i], hits[i], std::string_view(text.data() + start, end - start));
            start = end + 1;
        }
        found += std::min(n, remaining);
        if (n > remaining) {
            limited = true;
            break;
        }
    }
    std::cout << std::flush;
    if (limited) std::cerr << "vrk3tool: search stopped at the limit of " << a.max << " results\n";
    return status;
}

// --- import and export

struct TConvertArgs {
    std::string kind;  // vrk, text, csv or words (import only)
    std::string dict, other;
    std::optional<std::string> separator;
    std::optional<std::string> encoding;
    bool withInfo = false;
    std::optional<std::string> alphabet;
    std::optional<std::string> alphabetSeparator;
    bool force = false;
};

// What `import words` did with the list's lines, on stdout.
void PrintWordCounts(const TWordListCounts& c) {
    std::cout << "words: " << c.added << " added, " << c.present << " already there, " << c.repeated
              << " repeated; skipped: " << c.empty << " empty lines, " << c.unfit
              << " not words Windows-1250 can hold, " << c.control << " with control characters, "
              << c.tooLong << " longer than 99999 bytes\n";
}

// What an import or a merge did with the entries it read, on stdout.
void PrintConvertCounts(const TConvertCounts& c) {
    std::cout << "entries: " << c.entries << " read, " << c.cut << " cut to 99999 bytes; "
              << c.separators << " bytes 0x02 made spaces\n";
}

int RunImport(const TConvertArgs& a) {
    const bool words = a.kind == "words";
    if ((a.kind == "csv" || words) && a.separator)
        throw TUsageError("--separator applies to vrk and text");
    if (a.kind != "vrk" && a.withInfo) throw TUsageError("--with-info applies to vrk only");
    if (!words && a.encoding) throw TUsageError("--encoding applies to words only");
    const char separator =
        a.separator ? ToCp1250Char(*a.separator, "--separator") : (a.kind == "vrk" ? '\x02' : ';');
    // A word list is read whole before the dictionary is locked, so that a
    // slow writer on standard input never keeps the dictionary from others.
    std::unique_ptr<TWordDecoder> decoder;
    std::string list;
    if (words) {
        decoder = MakeWordDecoder(a.encoding.value_or("UTF-8"));
        int error = 0;
        if (!ReadWordList(a.other, list, error))
            return Fail(
                a.other == "-" ? "standard input" : a.other,
                "cannot read the word list: " + DescribeFailure(FailureFromErrno(error), error));
    }
    auto file = OpenDictionary(a.dict);
    TWordListCounts counts;
    bool ok = true;
    // A missing dictionary is made beside its name, with the flags `create`
    // gives, and takes the name only once the import is complete: a failed,
    // stopped or killed import leaves no dictionary there.
    std::error_code ec;
    const bool create = !std::filesystem::exists(std::filesystem::symlink_status(a.dict, ec));
    std::string made;
    std::unique_ptr<TDataFile> fresh;
    TDataFile* target = file.get();
    {
        // Ctrl+C stops the import also while it waits for the dictionary.
        TProgressScope progress("import");
        if (create) {
            if (!file->CreateEmptyBeside(made)) return Fail(*file, "cannot create the dictionary");
            fresh = OpenDictionary(made);
            target = fresh.get();
            ok = fresh->SetInfo("", "", "", "", kFlagChangesAllowed | kFlagExportAllowed);
        } else if (const int refused = CheckChangesAllowed(*file, a.force)) {
            return refused;  // an existing one must allow changes
        }
        if (ok && words)
            ok = target->ImportWords(list, *decoder, counts);
        else if (ok && a.kind == "vrk")
            ok = target->ImportSecondGen(a.other, separator, a.withInfo);
        else if (ok && a.kind == "text")
            ok = target->ImportFirstGen(a.other, separator);
        else if (ok)
            ok = target->ImportCsv(a.other);
        if (ok && create && !file->ReplaceWith(made)) {
            ok = false;
            target = file.get();
        }
    }
    if (create && !ok) RemoveFile(made);
    if (create && !ok && ToolProgress().StopRequested())
        return Fail(a.dict, "stopped; no dictionary was made");
    if (ok && words) PrintWordCounts(counts);
    if (ok && !words) PrintConvertCounts(target->ConvertCounts());
    return Finish(ok, *target, "cannot import " + (a.other == "-" ? "standard input" : a.other));
}

int RunExport(const TConvertArgs& a) {
    if (a.withInfo) throw TUsageError("--with-info applies to import only");
    const char separator =
        a.separator ? ToCp1250Char(*a.separator, "--separator") : (a.kind == "csv" ? ',' : ';');
    auto file = OpenDictionary(a.dict);
    // The manager's export takes the stored row only when it is whole.
    UseAlphabet(*file, a.alphabet ? TAlphabetRow{} : ReadAlphabetBothOrDefault(), a.alphabet,
                a.alphabetSeparator);
    const std::int32_t flags = file->GetFlags();
    if (flags < 0) return Fail(*file, "cannot read the dictionary");
    if (!(flags & kFlagExportAllowed) && !a.force)
        return Fail(a.dict, "the dictionary does not allow export (use --force)");
    bool ok;
    {
        TProgressScope progress("export");
        if (a.kind == "vrk")
            ok = file->ExportSecondGen(a.other, separator);
        else if (a.kind == "text")
            ok = file->ExportFirstGen(a.other, separator);
        else
            ok = file->ExportCsv(a.other, separator);
    }
    // The target may be standard output: the count of changed texts goes
    // to stderr, and only when there is one.
    if (ok && file->ConvertCounts().lineBreaks > 0)
        std::cerr << "vrk3tool: " << file->ConvertCounts().lineBreaks
                  << " line breaks inside texts written as spaces\n";
    if (!ok && (file->LastFailure() == TFailure::Stopped || ToolProgress().StopRequested()))
        return Fail(a.other, "stopped; nothing was written");
    if (!ok && file->LastFailure() == TFailure::RecordTooLong)
        return Fail(a.dict, "cannot export: a text is longer than 65535 bytes");
    return Finish(ok, *file, "cannot export");
}

// --- merge and remap

int RunMerge(const std::string& dict, const std::string& source, bool force) {
    auto file = OpenDictionary(dict);
    bool ok;
    {
        TProgressScope progress("merge");
        if (const int refused = CheckChangesAllowed(*file, force)) return refused;
        ok = file->MergeFile(source);
    }
    if (ok) PrintConvertCounts(file->ConvertCounts());
    return Finish(ok, *file, "cannot merge " + source);
}

int RunRemap(const std::string& dict, const std::string& from, const std::string& to) {
    const char f = ToCp1250Char(from, "FROM");
    const char t = ToCp1250Char(to, "TO");
    if (f == kTerminator || f == kDescriptionMark || t == kTerminator || t == kDescriptionMark)
        throw TUsageError("the bytes 0 and 1 cannot be remapped");
    auto file = OpenDictionary(dict);
    bool ok;
    {
        TProgressScope progress("remap");
        ok = file->RemapLetter(f, t);
    }
    return Finish(ok, *file, "cannot remap the letter");
}

void AddConvertOptions(CLI::App* c, TConvertArgs& a, bool import) {
    if (import)
        c->add_option("KIND", a.kind,
                      "vrk (second generation), text (first generation), csv, or words (one "
                      "word per line, no descriptions)")
            ->required()
            ->check(CLI::IsMember({"vrk", "text", "csv", "words"}));
    else
        c->add_option("KIND", a.kind, "vrk (second generation), text (first generation) or csv")
            ->required()
            ->check(CLI::IsMember({"vrk", "text", "csv"}));
    if (import) {
        c->add_option("SOURCE", a.other, "file to read (words: - reads standard input)")
            ->required();
        c->add_option("DICT", a.dict, "dictionary to merge into (created when missing)")
            ->required();
        c->add_option("--separator", a.separator,
                      "character that divides descriptions (vrk: byte 2, text: ;)");
        c->add_flag("--with-info", a.withInfo,
                    "vrk: also take name, author, notes, password, flags");
        c->add_option("--encoding", a.encoding,
                      "words: the list's encoding, e.g. ISO-8859-2 (default UTF-8)");
        c->add_flag("--force", a.force, "import even when the dictionary does not allow changes");
    } else {
        c->add_option("DICT", a.dict, "dictionary to export")->required();
        c->add_option("TARGET", a.other, "older-format file to write")->required();
        c->add_option("--separator", a.separator,
                      "divides descriptions (vrk, text: ;) or CSV fields (csv: ,)");
        c->add_option("--alphabet", a.alphabet,
                      "alphabet row that decides the sort order (default: the stored row)");
        c->add_option("--alphabet-separator", a.alphabetSeparator, "group separator of the row");
        c->add_flag("--force", a.force, "export even when the dictionary does not allow it");
    }
}

}  // namespace

void RegisterFormatCommands(CLI::App& app, int& exitCode) {
    auto search = std::make_shared<TSearchArgs>();
    auto* s = app.add_subcommand("search", "Find entries by known letters and description words");
    s->add_flag("--count-letters", search->countLetters, "the word has exactly that many letters");
    s->add_flag("--match-case", search->matchCase, "letters must match byte for byte");
    s->add_flag("--extended", search->extended,
                "also [abc] one of these letters, [^abc] none of them, @ a vowel, # a "
                "consonant, % any run of letters (a pattern with % describes the whole word)");
    s->add_flag("--anagram", search->anagram,
                "the word holds exactly these letters in any order, * any one letter");
    s->add_option("--max", search->max, "at most this many results in all (default 500)");
    s->add_option("PATTERN", search->pattern, "known letters, * for an unknown one")->required();
    s->add_option("TERMS", search->terms,
                  "description words (+required -excluded =exact \"whole\")")
        ->required();
    s->add_option("DICT", search->dicts, "dictionaries, searched in order")->required();
    s->add_option("--alphabet", search->alphabet,
                  "alphabet row that folds letters (default: the stored row)");
    s->add_option("--alphabet-separator", search->alphabetSeparator, "group separator of the row");
    s->callback([search, &exitCode] { exitCode = RunSearch(*search); });

    auto import = std::make_shared<TConvertArgs>();
    auto* i =
        app.add_subcommand("import", "Merge an older-format file or a word list into a dictionary");
    AddConvertOptions(i, *import, true);
    i->callback([import, &exitCode] { exitCode = RunImport(*import); });

    auto exp = std::make_shared<TConvertArgs>();
    auto* e = app.add_subcommand("export", "Write a dictionary, sorted, in an older format");
    AddConvertOptions(e, *exp, false);
    e->callback([exp, &exitCode] { exitCode = RunExport(*exp); });

    struct TMergeArgs {
        std::string dict, source;
        bool force = false;
    };
    auto merge = std::make_shared<TMergeArgs>();
    auto* m = app.add_subcommand("merge", "Merge every entry of another dictionary into DICT");
    m->add_option("DICT", merge->dict, "dictionary to merge into")->required();
    m->add_option("SOURCE_DICT", merge->source, "dictionary to read")->required();
    m->add_flag("--force", merge->force, "merge even when DICT does not allow changes");
    m->callback(
        [merge, &exitCode] { exitCode = RunMerge(merge->dict, merge->source, merge->force); });

    auto remap = std::make_shared<std::array<std::string, 3>>();
    auto* r = app.add_subcommand("remap", "Replace one letter by another in every entry");
    r->add_option("DICT", (*remap)[0], "dictionary")->required();
    r->add_option("FROM", (*remap)[1], "letter to replace")->required();
    r->add_option("TO", (*remap)[2], "its replacement")->required();
    r->callback([remap, &exitCode] { exitCode = RunRemap((*remap)[0], (*remap)[1], (*remap)[2]); });
}

}  // namespace vrk::tool
