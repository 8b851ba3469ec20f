// vrk3tool commands on one dictionary: create, info, dump, add, delete,
// picture.
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
};

int RunCreate(const TCreateArgs& a) {
    // Convert every text first, so that a refused text changes nothing.
    const bool withInfo = a.name || a.author || a.notes || a.password || a.flags;
    const std::string name = ToCp1250(a.name.value_or(""), "--name");
    const std::string author = ToCp1250(a.author.value_or(""), "--author");
    const std::string notes = ToCp1250(a.notes.value_or(""), "--notes");
    const std::string password = ToCp1250(a.password.value_or(""), "--password");
    if (!CreateEmpty(a.dict)) return Fail(a.dict, "cannot create the dictionary");
    if (withInfo && !OpenDictionary(a.dict)->SetInfo(
                        name, author, notes, password,
                        a.flags.value_or(kFlagChangesAllowed | kFlagExportAllowed)))
        return Fail(a.dict, "cannot write the dictionary data");
    return kExitOk;
}

int RunInfo(const std::string& dict) {
    auto file = OpenDictionary(dict);
    std::string name, author, notes, password;
    const std::int32_t count = file->GetEntryCount();
    if (count < 0 || !file->GetName(name) || !file->GetAuthor(author) || !file->GetNotes(notes) ||
        !file->GetPassword(password))
        return Fail(dict, "cannot read the dictionary (missing or damaged)");
    const std::int32_t flags = file->GetFlags();
    const std::int32_t picture = file->GetPictureSize();
    if (flags < 0 || picture < 0) return Fail(dict, "cannot read the dictionary (damaged)");
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

int RunDump(const std::string& dict) {
    auto file = OpenDictionary(dict);
    const std::int32_t count = file->GetEntryCount();
    if (count < 0) return Fail(dict, "cannot read the dictionary (missing or damaged)");
    std::string record;
    std::string out;
    for (std::int32_t i = 0; i < count; ++i) {
        if (!file->GetEntry(i, record)) return Fail(dict, "cannot read entry " + std::to_string(i));
        out += std::to_string(i) + '\t' + EntryLine(record) + '\n';
        if (out.size() > (1 << 16)) {
            std::cout << out;
            out.clear();
        }
    }
    std::cout << out;
    return kExitOk;
}

struct TAddArgs {
    std::string dict;
    std::string word;
    std::vector<std::string> descriptions;
    bool merge = false;
    std::optional<std::int32_t> replace;
};

int RunAdd(const TAddArgs& a) {
    auto text = [](const std::string& utf8, std::string_view what) {
        std::string bytes = ToCp1250(utf8, what);
        if (bytes.find_first_of(std::string_view("\0\1", 2)) != std::string::npos)
            throw TUsageError(std::string(what) + ": texts cannot hold the bytes 0 and 1");
        return bytes;
    };
    std::string record = text(a.word, "WORD");
    for (const std::string& d : a.descriptions) record += kDescriptionMark + text(d, "DESC");
    auto file = OpenDictionary(a.dict);
    std::int32_t index = a.replace.value_or(-1);
    const bool ok =
        a.merge ? file->StoreEntryMerged(record, index) : file->StoreEntry(record, &index);
    if (!ok) return Fail(a.dict, "cannot store the entry");
    std::cout << index << '\n';
    return kExitOk;
}

int RunDelete(const std::string& dict, std::int32_t index) {
    if (!OpenDictionary(dict)->DeleteEntry(index))
        return Fail(dict, "cannot delete entry " + std::to_string(index));
    return kExitOk;
}

int RunPicture(const std::string& dict, const std::string& setFrom, const std::string& getTo) {
    auto file = OpenDictionary(dict);
    if (!setFrom.empty()) {
        std::ifstream in(setFrom, std::ios::binary);
        if (!in) return Fail(setFrom, "cannot read the picture file");
        const std::string bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        if (!file->SetPicture(bytes)) return Fail(dict, "cannot store the picture");
        return kExitOk;
    }
    const std::int32_t size = file->GetPictureSize();
    std::string bytes;
    if (size < 0 || !file->GetPicture(bytes, static_cast<std::size_t>(size)))
        return Fail(dict, "cannot read the picture");
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
    c->add_option("--flags", create->flags, "security flags (1 password, 2 changes, 4 export)");
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
    a->add_option("--replace", add->replace, "replace the entry with this index")->excludes(merge);
    a->callback([add, &exitCode] { exitCode = RunAdd(*add); });

    auto del = std::make_shared<std::pair<std::string, std::int32_t>>();
    auto* x = app.add_subcommand("delete", "Delete the entry with an index");
    x->add_option("DICT", del->first, "dictionary file")->required();
    x->add_option("INDEX", del->second, "entry index")->required();
    x->callback([del, &exitCode] { exitCode = RunDelete(del->first, del->second); });

    auto pic = std::make_shared<std::array<std::string, 3>>();
    auto* p = app.add_subcommand("picture", "Store or fetch a dictionary's picture");
    p->add_option("DICT", (*pic)[0], "dictionary file")->required();
    auto* set = p->add_option("--set", (*pic)[1], "store this file as the picture");
    auto* get = p->add_option("--get", (*pic)[2], "write the picture to this file");
    set->excludes(get);
    p->callback([pic, &exitCode, set, get] {
        if (set->count() + get->count() != 1)
            throw TUsageError("picture: give --set FILE or --get FILE");
        exitCode = RunPicture((*pic)[0], (*pic)[1], (*pic)[2]);
    });
}

}  // namespace vrk::tool
