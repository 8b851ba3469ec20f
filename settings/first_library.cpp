#include "settings/first_library.h"

#include <unistd.h>

#include <filesystem>

#include "settings/library_registry.h"
#include "settings/reg_key.h"
#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"

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

}  // namespace

std::string InstalledWordListPath(std::string_view installPath) {
    std::string path(installPath);
    if (!path.empty() && path.back() != '/') path += '/';
    return path += kWordListInInstall;
}

TFirstLibrary CreateFirstLibrary(std::string_view installPath) {
    if (HasStartedBefore()) return TFirstLibrary::kNotFirstStart;
    if (!GroupsIsEmpty()) return TFirstLibrary::kLibrariesExist;
    const std::string dictionary = InstalledWordListPath(installPath);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(dictionary, ec) ||
        ::access(dictionary.c_str(), R_OK) != 0)
        return TFirstLibrary::kNoDictionary;

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
