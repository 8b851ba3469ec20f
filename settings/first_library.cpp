#include "settings/first_library.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "settings/library_registry.h"
#include "settings/reg_key.h"
#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"
#include "store/data_file.h"
#include "store/format.h"

namespace vrk {
namespace {

// "Run" as the programs read it: a stored number means a start before.
bool HasStartedBefore() {
    TRegKey root;
    TRegValue run;
    std::int32_t number = 0;
    return TRegKey::Open(TRoot::kCurrentUser, kUserRootKey, TAccess::kRead, root) ==
               TRegResult::kOk &&
           root.QueryValue("Run", run) == TRegResult::kOk && DecodeNumber(run, number);
}

// Nothing below Groups: no library, and no dictionary outside a library.
// A Groups key that cannot be read is taken as holding something: nothing
// is added to a tree that cannot be seen.
bool GroupsIsEmpty() {
    TRegKey groups;
    if (TRegKey::Open(TRoot::kCurrentUser, kGroupsKey, TAccess::kRead, groups) != TRegResult::kOk)
        return false;
    std::string name;
    TRegValue value;
    return groups.EnumKey(0, name) == TRegResult::kNoMoreItems &&
           groups.EnumValue(0, value) == TRegResult::kNoMoreItems;
}

bool IsReadableFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec) && ::access(path.c_str(), R_OK) == 0;
}

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') return home;
    const passwd* user = ::getpwuid(::getuid());
    return user != nullptr && user->pw_dir != nullptr ? user->pw_dir : "";
}

// Makes `folder` and its missing parents (mode 0700, as the data folders of
// the desktop are); the errno of the failure, or 0.
int MakeFolders(const std::string& folder) {
    for (std::size_t slash = folder.find('/', 1); slash != std::string::npos;
         slash = folder.find('/', slash + 1))
        ::mkdir(folder.substr(0, slash).c_str(), 0700);
    if (::mkdir(folder.c_str(), 0700) == 0) return 0;
    const int error = errno;
    struct stat st {};
    return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? 0 : error;
}

// The user's own dictionary, made empty with changes and export allowed,
// or kept when a file of its name is there already. The new file is written
// beside its name and takes it only when complete; its scratch files lie in
// the data folder, which has to be writable anyway.
bool MakeOwnDictionary(TOwnDictionaryProblem& problem) {
    const std::string folder = UserDataFolder();
    problem.path = (folder.empty() ? std::string("~/.local/share/vrk3") : folder) + '/' +
                   std::string(kOwnDictionaryFile);
    if (folder.empty()) {
        problem.failure = TFailure::NotFound;
        return false;
    }
    if (const int error = MakeFolders(folder)) {
        problem.failure = FailureFromErrno(error);
        problem.error = error;
        return false;
    }
    std::error_code ec;
    const auto status = std::filesystem::symlink_status(problem.path, ec);
    if (std::filesystem::exists(status)) {
        if (IsReadableFile(problem.path)) return true;
        problem.failure = TFailure::NotRegularFile;
        return false;
    }
    const std::string scratch = folder + "/." + std::string(kOwnDictionaryFile) + ".~";
    TDataFile own(problem.path, scratch + "1", scratch + "2", scratch + "3");
    std::string made;
    bool ok = own.CreateEmptyBeside(made);
    if (ok) {
        TDataFile fresh(made, scratch + "1", scratch + "2", scratch + "3");
        ok =
            fresh.SetInfo(kOwnDictionaryName, "", "", "", kFlagChangesAllowed | kFlagExportAllowed);
        if (!ok) {
            problem.failure = fresh.LastFailure();
            problem.error = fresh.LastErrno();
        }
    }
    if (ok) ok = own.ReplaceWith(made);
    if (!ok && problem.failure == TFailure::None) {
        problem.failure = own.LastFailure();
        problem.error = own.LastErrno();
    }
    if (!made.empty() && !ok) std::filesystem::remove(made, ec);
    return ok;
}

}  // namespace

std::string InstalledPath(std::string_view installPath, std::string_view file) {
    std::string path(installPath);
    if (!path.empty() && path.back() != '/') path += '/';
    return path += file;
}

std::string InstalledWordListPath(std::string_view installPath) {
    return InstalledPath(installPath, kWordListInInstall);
}

std::string UserDataFolder() {
    const char* env = std::getenv("XDG_DATA_HOME");
    std::string data = env != nullptr && env[0] == '/' ? std::string(env) : std::string();
    if (data.empty()) {
        const std::string home = HomeFolder();
        if (home.empty()) return {};
        data = home + "/.local/share";
    }
    while (data.size() > 1 && data.back() == '/') data.pop_back();
    return data + "/vrk3";
}

TFirstLibrary CreateFirstLibrary(std::string_view installPath, TOwnDictionaryProblem* problem) {
    if (problem) *problem = {};
    if (HasStartedBefore()) return TFirstLibrary::kNotFirstStart;
    if (!GroupsIsEmpty()) return TFirstLibrary::kLibrariesExist;
    const std::string words = InstalledWordListPath(installPath);
    if (!IsReadableFile(words)) return TFirstLibrary::kNoDictionary;

    // The other program, started at the same moment, may make it first.
    switch (CreateLibraryKey(kGroupsKey, kWordListLibrary)) {
        case TLibraryResult::kOk:
            break;
        case TLibraryResult::kNameExists:
            return TFirstLibrary::kLibrariesExist;
        default:
            return TFirstLibrary::kStoreFailure;
    }
    std::string keyPath(kGroupsKey);
    (keyPath += '\\') += kWordListLibrary;
    // The library's order is the results' priority: the user's own entries
    // first, then entries with descriptions, then the bare word forms.
    std::vector<std::string> dictionaries;
    TOwnDictionaryProblem own;
    if (MakeOwnDictionary(own))
        dictionaries.push_back(own.path);
    else if (problem)
        *problem = own;
    for (std::string_view file : {kThesaurusInInstall, kNamesInInstall})
        if (const std::string path = InstalledPath(installPath, file); IsReadableFile(path))
            dictionaries.push_back(path);
    dictionaries.push_back(words);
    for (const std::string& dictionary : dictionaries)
        if (AddLibraryDictionary(keyPath, dictionary) != TLibraryResult::kOk)
            return TFirstLibrary::kStoreFailure;
    // The library is there whether or not the finder takes it at once: the
    // user can still choose it.
    std::string active;
    if (!TGetRegistryString(kFinderPath, "ActiveLib", active))
        (void)TSetRegistryString(kFinderPath, "ActiveLib", kWordListLibrary,
                                 kRegCreateKey | kRegNeverOverwrite);
    return TFirstLibrary::kCreated;
}

bool RecordFirstStart() {
    return !HasStartedBefore() &&
           TSetRegistryNumber(kUserRootPath, "Run", 1, kRegCreateKey | kRegOverwrite);
}

}  // namespace vrk
