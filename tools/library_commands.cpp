// vrk3tool library ...: the library tree in the per-user settings store, as
// the manager writes it and the finder reads it. Library names are converted
// at the edge (UTF-8 outside, Windows-1250 inside); dictionary paths are file
// names and are stored as the file system gives them, made absolute.
#include <filesystem>
#include <iostream>

#include "settings/library_registry.h"
#include "settings/reg_key.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "store/text_codec.h"
#include "tool_common.h"

namespace vrk::tool {
namespace {

constexpr std::string_view kNameTaken =
    "Knji\xC5\xBEnica s tem imenom \xC5\xBE"
    "e obstaja.";
constexpr std::string_view kAlreadyMember =
    "Knji\xC5\xBEnica \xC5\xBE"
    "e vsebuje ta slovar.";

// `what`, and why the per-user store failed when it did.
std::string WithStoreReason(std::string what) {
    const TStoreFailure failure = SettingsStoreFailure(TRoot::kCurrentUser);
    if (failure != TStoreFailure::kNone) (what += ": ") += StoreFailureText(failure);
    return what;
}

// The member path of a dictionary named on the command line.
std::string DictionaryPath(const std::string& given) {
    std::error_code ec;
    const auto path = std::filesystem::absolute(given, ec).lexically_normal();
    if (ec) throw TUsageError(given + ": not a usable path");
    return path.string();
}

// The key path of a library named on the command line ("-- Vse Knjižnice --"
// for the Groups key); empty after reporting when there is none.
std::string LibraryKey(const std::string& utf8Name) {
    std::string keyPath;
    if (!FindLibraryKey(ToCp1250(utf8Name, "library name"), keyPath))
        Fail(utf8Name, WithStoreReason("no such library"));
    return keyPath;
}

int Report(const std::string& what, TLibraryResult r) {
    switch (r) {
        case TLibraryResult::kOk:
            return kExitOk;
        case TLibraryResult::kNotFound:
            return Fail(what, "no such library");
        case TLibraryResult::kNameExists:
            return Fail(what, kNameTaken);
        case TLibraryResult::kAlreadyMember:
            return Fail(what, kAlreadyMember);
        case TLibraryResult::kInvalidName:
            return Fail(what, "not a usable name (empty, too long, or holds \\ or \")");
        case TLibraryResult::kStoreFailure:
            break;
    }
    return Fail(what, WithStoreReason("the settings store refused the change"));
}

// "+ NAME" for a library, "- PATH" for a member, indented two spaces a level;
// members directly under Groups come first, unindented.
void PrintLibrary(const TLibraryNode& node, int depth) {
    if (depth > 0)
        std::cout << std::string(2 * (depth - 1), ' ') << "+ " << Printable(node.name) << '\n';
    const std::string inner(2 * depth, ' ');
    for (const std::string& path : node.dictionaries)
        std::cout << inner << "- " << Escaped(path) << '\n';
    for (const TLibraryNode& child : node.children) PrintLibrary(child, depth + 1);
}

int RunList() {
    TLibraryNode groups;
    const TRegResult r = ReadLibraryTree(groups);
    PrintLibrary(groups, 0);
    if (r == TRegResult::kOk || r == TRegResult::kNotFound) return kExitOk;
    std::cerr << WithStoreReason("Napaka pri branju knji\xC5\xBEnice [k" +
                                 std::to_string(ResultCode(r)) + "]")
              << '\n';
    return kExitFailed;
}

struct TCreateArgs {
    std::optional<std::string> name;
    std::optional<std::string> parent;
};

int RunCreate(const TCreateArgs& a) {
    const std::string name = a.name ? ToCp1250(*a.name, "library name") : std::string();
    // The programs make the Groups key at start-up; the tool may come first.
    TRegKey groups;
    if (TRegKey::Create(TRoot::kCurrentUser, kGroupsKey, groups) != TRegResult::kOk)
        return Fail(std::string(kGroupsKey), WithStoreReason("cannot open the library tree"));
    std::string parentKey(kGroupsKey);
    if (a.parent && (parentKey = LibraryKey(*a.parent)).empty()) return kExitFailed;
    if (!a.name) {
        std::string created;
        const TLibraryResult r = CreateNewLibrary(parentKey, created);
        if (r == TLibraryResult::kOk) std::cout << Printable(created) << '\n';
        return Report(Cp1250ToUtf8(created), r);
    }
    return Report(*a.name, CreateLibraryKey(parentKey, name));
}

int RunRename(const std::string& oldName, const std::string& newName) {
    return Report(oldName,
                  RenameLibrary(ToCp1250(oldName, "library name"), ToCp1250(newName, "new name")));
}

int RunRemove(const std::string& name) {
    return Report(name, RemoveLibrary(ToCp1250(name, "library name")));
}

int RunAdd(const std::string& library, const std::vector<std::string>& dicts) {
    std::vector<std::string> paths;
    for (const std::string& d : dicts) paths.push_back(DictionaryPath(d));
    for (const std::string& p : paths)
        if (!std::filesystem::is_regular_file(p)) return Fail(p, "no such file");
    const std::string key = LibraryKey(library);
    if (key.empty()) return kExitFailed;
    // As in the manager: the first path already there stops the command, and
    // the ones before it stay added.
    for (const std::string& p : paths)
        if (const TLibraryResult r = AddLibraryDictionary(key, p); r != TLibraryResult::kOk)
            return Report(p, r);
    return kExitOk;
}

int RunRemoveDict(const std::string& library, const std::string& dict) {
    const std::string key = LibraryKey(library);
    if (key.empty()) return kExitFailed;
    const std::string path = DictionaryPath(dict);
    const TLibraryResult r = RemoveLibraryDictionary(key, path);
    return r == TLibraryResult::kNotFound ? Fail(path, "not a member of " + library)
                                          : Report(path, r);
}

int RunCollect(const std::string& library) {
    const std::string key = LibraryKey(library);
    std::string paths;
    if (key.empty()) return kExitFailed;
    if (!CollectLibraryDictionaries(key, paths))
        return Fail(library, WithStoreReason("cannot read the library"));
    for (const std::string& p : SplitDictionaryList(paths)) std::cout << Escaped(p) << '\n';
    return kExitOk;
}

}  // namespace

void RegisterLibraryCommands(CLI::App& app, int& exitCode) {
    auto* lib = app.add_subcommand("library", "Libraries of dictionaries (per-user settings)");
    lib->require_subcommand(1);

    lib->add_subcommand("list", "Print the library tree with its dictionaries")
        ->callback([&exitCode] { exitCode = RunList(); });

    auto create = std::make_shared<TCreateArgs>();
    auto* c = lib->add_subcommand("create", "Create a library (without NAME: \"Nova Knjižnica\")");
    c->add_option("NAME", create->name, "name of the new library");
    c->add_option("--parent", create->parent, "create it below this library");
    c->callback([create, &exitCode] { exitCode = RunCreate(*create); });

    auto rename = std::make_shared<std::pair<std::string, std::string>>();
    auto* r = lib->add_subcommand("rename", "Rename a library (sub-libraries and members stay)");
    r->add_option("OLD", rename->first, "library name")->required();
    r->add_option("NEW", rename->second, "new name")->required();
    r->callback([rename, &exitCode] { exitCode = RunRename(rename->first, rename->second); });

    auto remove = std::make_shared<std::string>();
    auto* x = lib->add_subcommand("remove", "Remove a library with its sub-libraries");
    x->add_option("NAME", *remove, "library name")->required();
    x->callback([remove, &exitCode] { exitCode = RunRemove(*remove); });

    auto add = std::make_shared<std::pair<std::string, std::vector<std::string>>>();
    auto* a = lib->add_subcommand("add", "Add dictionaries to a library");
    a->add_option("NAME", add->first, "library name")->required();
    a->add_option("DICT", add->second, "dictionary files")->required();
    a->callback([add, &exitCode] { exitCode = RunAdd(add->first, add->second); });

    auto rd = std::make_shared<std::pair<std::string, std::string>>();
    auto* d = lib->add_subcommand("remove-dict", "Remove a dictionary from a library");
    d->add_option("NAME", rd->first, "library name")->required();
    d->add_option("DICT", rd->second, "dictionary file")->required();
    d->callback([rd, &exitCode] { exitCode = RunRemoveDict(rd->first, rd->second); });

    auto collect = std::make_shared<std::string>();
    auto* k = lib->add_subcommand("collect",
                                  "Print the dictionaries a search of a library visits, in order");
    k->add_option("NAME", *collect, "library name, or \"-- Vse Knjižnice --\" for all")->required();
    k->callback([collect, &exitCode] { exitCode = RunCollect(*collect); });
}

}  // namespace vrk::tool
