// vrk3tool commands on one dictionary: create, info, dump, add, delete,
// picture.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "store/format.h"
#include "tool_common.h"

namespace vrk::tool {
namespace {

struct TCreateArgs {
    std::string dict;
    std::optional<std::string> name, author, notes, password;
    std::optional<std::int32_t> flags;
    bool force = false;
};

int RunCreate(const TCreateArgs& a) {
    // Convert every text first, so that a refused text changes nothing.
    const std::string name = ToCp1250(a.name.value_or(""), "--name");
    const std::string author = ToCp1250(a.author.value_or(""), "--author");
    const std::string notes = ToCp1250(a.notes.value_or(""), "--notes");
    const std::string password = ToCp1250(a.password.value_or(""), "--password");
    auto file = OpenDictionary(a.dict);
    // An existing dictionary is kept unless the user asks for a new one.
    if (!file->CreateEmpty(a.force))
        return file->LastFailure() == TFailure::Exists
                   ? Fail(a.dict, "the file exists already (use --force to replace it)")
                   : Fail(*file, "cannot create the dictionary");
    // Changes and export allowed unless the flags say otherwise, as the
    // manager's new-dictionary wizard starts.
    if (!file->SetInfo(name, author, notes, password,
                       a.flags.value_or(kFlagChangesAllowed | kFlagExportAllowed)))
        return Fail(*file, "cannot write the dictionary data");
    return kExitOk;
}

int RunInfo(const std::string& dict) {
    auto file = OpenDictionary(dict);
    std::string name, author, notes, password;
    const std::int32_t count = file->GetEntryCount();
    if (count < 0 || !file->GetName(name) || !file->GetAuthor(author) || !file->GetNotes(notes) ||
        !file->GetPassword(password))
        return Fail(*file, "cannot read the dictionary");
    const std::int32_t flags = file->GetFlags();
    if (flags < 0) return Fail(*file, "cannot read the dictionary");
    const std::int32_t picture = file->GetPictureSize();
    if (picture < 0 || file->LastFailure() != TFailure::None)
        return Fail(*file, "cannot read the dictionary");
    std::cout << "name: " << Printable(name) << "\nauthor: " << Printable(author)
              << "\nnotes: " << Printable(notes) << "\npassword: " << Printable(password)
              << "\nflags: " << std::hex << std::uppercase << flags << std::dec
              << "\nentries: " << count << "\npicture: " << picture << " bytes\n";
    return kExitOk;
}

// One entry as printed by dump: the word and each description, tab-separated.
std::string EntryLine(std::string_view record) {
    std::string line;
    std::size_t start = 0;
    for (;;) {
        const std::size_t mark = record.find(kDescriptionMark, start);
        line += Printable(record.substr(start, mark - start));
        if (mark == std::string_view::npos) return line;
        line += '\t';
        start = mark + 1;
    }
}

// The entries are read in one pass under one lock, so that the dump is one
// state of the dictionary; they are printed after the lock is given up, so
// that a slow reader of the output never keeps writers waiting.
int RunDump(const std::string& dict) {
    auto file = OpenDictionary(dict);
    std::string out;
    const bool ok = file->ReadAllEntries([&out](std::int32_t i, std::string_view record) {
        out += std::to_string(i);
        out += '\t';
        out += EntryLine(record);
        out += '\n';
        return true;
    });
    if (!ok) return Fail(*file, "cannot read the dictionary");
    std::cout << out << std::flush;
    return kExitOk;
}

// A word or description from the command line, as Windows-1250.
std::string EntryText(const std::string& utf8, std::string_view what) {
    std::string bytes = ToCp1250(utf8, what);
    if (bytes.find_first_of(std::string_view("\0\1", 2)) != std::string::npos)
        throw TUsageError(std::string(what) + ": texts cannot hold the bytes 0 and 1");
    return bytes;
}

// The expectation of --expect WORD: the entry must still have that word.
struct TExpectation {
    std::string word;
    std::optional<TExpectedEntry> Get() const {
        if (word.empty()) return std::nullopt;
        return TExpectedEntry::Word(word);
    }
};

TExpectation ExpectationOf(const std::optional<std::string>& expect) {
    TExpectation e;
    if (expect) e.word = EntryText(*expect, "--expect");
    if (expect && e.word.empty()) throw TUsageError("--expect: give the word");
    return e;
}

struct TAddArgs {
    std::string dict;
    std::string word;
    std::vector<std::string> descriptions;
    bool merge = false;
    std::optional<std::int32_t> replace;
    std::optional<std::string> expect;
    bool force = false;
};

int RunAdd(const TAddArgs& a) {
    std::string record = EntryText(a.word, "WORD");
    for (const std::string& d : a.descriptions) record += kDescriptionMark + EntryText(d, "DESC");
    // 0x02 ends each search result and never enters a record: a space.
    const auto separators = std::count(record.begin(), record.end(), kResultSeparator);
    std::replace(record.begin(), record.end(), kResultSeparator, ' ');
    if (separators > 0) std::cerr << "vrk3tool: " << separators << " bytes 0x02 stored as spaces\n";
    const TExpectation expect = ExpectationOf(a.expect);
    auto file = OpenDictionary(a.dict);
    if (const int refused = CheckChangesAllowed(*file, a.force)) return refused;
    // An index that names no entry is refused, as delete refuses it, rather
    // than taken for "append".
    if (a.replace) {
        const std::int32_t count = file->GetEntryCount();
        if (count < 0) return Fail(*file, "cannot read the dictionary");
        if (*a.replace < 0 || *a.replace >= count)
            return Fail(a.dict, "cannot replace entry " + std::to_string(*a.replace) +
                                    ": there is no such entry");
    }
    std::int32_t index = a.replace.value_or(-1);
    const bool ok = a.merge ? file->StoreEntryMerged(record, index)
                            : file->StoreEntry(record, &index, expect.Get());
    if (!ok) {
        if (file->LastFailure() == TFailure::EntryChanged)
            return Fail(*file, "entry " + std::to_string(*a.replace) + " is no longer \"" +
                                   *a.expect + "\"");
        return Fail(*file, "cannot store the entry");
    }
    std::cout << index << '\n';
    return kExitOk;
}

struct TDeleteArgs {
    std::string dict;
    std::int32_t index = 0;
    std::optional<std::string> expect;
    bool force = false;
};

int RunDelete(const TDeleteArgs& a) {
    const TExpectation expect = ExpectationOf(a.expect);
    auto file = OpenDictionary(a.dict);
    if (const int refused = CheckChangesAllowed(*file, a.force)) return refused;
    if (!file->DeleteEntry(a.index, expect.Get())) {
        if (file->LastFailure() == TFailure::EntryChanged)
            return Fail(*file,
                        "entry " + std::to_string(a.index) + " is no longer \"" + *a.expect + "\"");
        return Fail(*file, "cannot delete entry " + std::to_string(a.index));
    }
    return kExitOk;
}

struct TPictureArgs {
    std::string dict, setFrom, getTo;
    std::optional<std::string> password;
};

// A password-protected dictionary takes a new picture only with its
// password, as the manager asks for it.
int CheckPassword(TDataFile& file, const std::optional<std::string>& given) {
    const std::int32_t flags = file.GetFlags();
    if (flags < 0) return Fail(file, "cannot read the dictionary");
    if (!(flags & kFlagPassword)) return kExitOk;
    if (!given) return Fail(file.path(), "the dictionary is password protected (give --password)");
    std::string stored;
    if (!file.GetPassword(stored)) return Fail(file, "cannot read the dictionary");
    if (ToCp1250(*given, "--password") != stored) return Fail(file.path(), "wrong password");
    return kExitOk;
}

int RunPicture(const TPictureArgs& a) {
    auto file = OpenDictionary(a.dict);
    if (!a.setFrom.empty()) {
        if (const int refused = CheckPassword(*file, a.password)) return refused;
        std::ifstream in(a.setFrom, std::ios::binary);
        if (!in) return Fail(a.setFrom, "cannot read the picture file");
        const std::string bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        if (!file->SetPicture(bytes)) return Fail(*file, "cannot store the picture");
        return kExitOk;
    }
    const std::string& getTo = a.getTo;
    const std::int32_t size = file->GetPictureSize();
    std::string bytes;
    if (size < 0 || file->LastFailure() != TFailure::None ||
        !file->GetPicture(bytes, static_cast<std::size_t>(size)))
        return Fail(*file, "cannot read the picture");
    std::ofstream out(getTo, std::ios::binary | std::ios::trunc);
    if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) || !out.flush())
        return Fail(getTo, "cannot write the picture file");
    return kExitOk;
}

}  // namespace

void RegisterDictionaryCommands(CLI::App& app, int& exitCode) {
    auto create = std::make_shared<TCreateArgs>();
    auto* c = app.add_subcommand("create", "Create an empty dictionary (and set its data)");
    c->add_option("DICT", create->dict, "dictionary file (.vrk3)")->required();
    c->add_option("--name", create->name, "dictionary name");
    c->add_option("--author", create->author, "author");
    c->add_option("--notes", create->notes, "notes");
    c->add_option("--password", create->password, "password");
    c->add_option("--flags", create->flags, "security flags (1 password, 2 changes, 4 export)")
        ->check(CLI::Range(0, 7));
    c->add_flag("--force", create->force, "replace a file that is there already");
    c->callback([create, &exitCode] { exitCode = RunCreate(*create); });

    auto info = std::make_shared<std::string>();
    auto* i = app.add_subcommand("info", "Print a dictionary's data");
    i->add_option("DICT", *info, "dictionary file")->required();
    i->callback([info, &exitCode] { exitCode = RunInfo(*info); });

    auto dump = std::make_shared<std::string>();
    auto* d = app.add_subcommand("dump", "Print every entry: index, word, descriptions");
    d->add_option("DICT", *dump, "dictionary file")->required();
    d->callback([dump, &exitCode] { exitCode = RunDump(*dump); });

    auto add = std::make_shared<TAddArgs>();
    auto* a = app.add_subcommand("add", "Store an entry; prints its index");
    a->add_option("DICT", add->dict, "dictionary file")->required();
    a->add_option("WORD", add->word, "the word")->required();
    a->add_option("DESC", add->descriptions, "descriptions");
    auto* merge = a->add_flag("--merge", add->merge, "merge into every entry with the same word");
    auto* replace = a->add_option("--replace", add->replace, "replace the entry with this index")
                        ->excludes(merge);
    a->add_option("--expect", add->expect, "only while entry INDEX still has this word")
        ->needs(replace);
    a->add_flag("--force", add->force, "store even when the dictionary does not allow changes");
    a->callback([add, &exitCode] { exitCode = RunAdd(*add); });

    auto del = std::make_shared<TDeleteArgs>();
    auto* x = app.add_subcommand("delete", "Delete the entry with an index");
    x->add_option("DICT", del->dict, "dictionary file")->required();
    x->add_option("INDEX", del->index, "entry index")->required();
    x->add_option("--expect", del->expect, "only while the entry still has this word");
    x->add_flag("--force", del->force, "delete even when the dictionary does not allow changes");
    x->callback([del, &exitCode] { exitCode = RunDelete(*del); });

    auto pic = std::make_shared<TPictureArgs>();
    auto* p = app.add_subcommand("picture", "Store or fetch a dictionary's picture");
    p->add_option("DICT", pic->dict, "dictionary file")->required();
    auto* set = p->add_option("--set", pic->setFrom, "store this file as the picture");
    auto* get = p->add_option("--get", pic->getTo, "write the picture to this file");
    p->add_option("--password", pic->password, "the password of a protected dictionary (--set)");
    set->excludes(get);
    p->callback([pic, &exitCode, set, get] {
        if (set->count() + get->count() != 1)
            throw TUsageError("picture: give --set FILE or --get FILE");
        exitCode = RunPicture(*pic);
    });
}

}  // namespace vrk::tool
