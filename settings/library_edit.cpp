// The changing operations of the library layout (library_registry.h).
#include <algorithm>

#include "settings/library_registry.h"
#include "settings/reg_key.h"
#include "settings/settings_keys.h"

namespace vrk {

namespace {

bool ValidLibraryName(std::string_view name) {
    return !name.empty() && name.size() < kLibraryNameBuffer &&
           name.find('\\') == std::string_view::npos && name != kAllLibraries;
}

bool ValidDictionaryPath(std::string_view path) {
    return !path.empty() && path.size() < kLibraryNameBuffer &&
           path.find(kDictionarySeparator) == std::string_view::npos;
}

TLibraryResult FromStore(TRegResult r) {
    switch (r) {
        case TRegResult::kOk:
            return TLibraryResult::kOk;
        case TRegResult::kNotFound:
            return TLibraryResult::kNotFound;
        case TRegResult::kAlreadyExists:
            return TLibraryResult::kNameExists;
        case TRegResult::kInvalidName:
            return TLibraryResult::kInvalidName;
        default:
            return TLibraryResult::kStoreFailure;
    }
}

TRegResult OpenFull(std::string_view keyPath, TRegKey& key) {
    return TRegKey::Open(TRoot::kCurrentUser, keyPath, TAccess::kFull, key);
}

}  // namespace

TLibraryResult CreateLibraryKey(std::string_view parentKeyPath, std::string_view name) {
    if (!ValidLibraryName(name)) return TLibraryResult::kInvalidName;
    TRegKey groups, parent, key;
    if (TRegResult r = OpenFull(kGroupsKey, groups); r != TRegResult::kOk) return FromStore(r);
    if (TRegResult r = OpenFull(parentKeyPath, parent); r != TRegResult::kOk) return FromStore(r);
    return FromStore(parent.CreateUniqueSub(name, groups, key));
}

TLibraryResult CreateNewLibrary(std::string_view parentKeyPath, std::string& name) {
    // Another process may take the chosen name first; then choose again.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = NewLibraryName();
        const TLibraryResult r = CreateLibraryKey(parentKeyPath, candidate);
        if (r == TLibraryResult::kOk) name = candidate;
        if (r != TLibraryResult::kNameExists) return r;
    }
    return TLibraryResult::kNameExists;
}

bool MoveLibraryKey(std::string_view sourceParentPath, std::string_view sourceName,
                    std::string_view targetParentPath, std::string_view targetName) {
    TRegKey source, target;
    if (OpenFull(sourceParentPath, source) != TRegResult::kOk) return false;
    if (OpenFull(targetParentPath, target) != TRegResult::kOk) return false;
    return source.MoveSubKey(sourceName, target, targetName) == TRegResult::kOk;
}

bool MoveLibraryKey(std::string_view sourceParentPath, std::string_view sourceName) {
    TRegKey source;
    if (OpenFull(sourceParentPath, source) != TRegResult::kOk) return false;
    return source.DeleteSubTree(sourceName) == TRegResult::kOk;
}

TLibraryResult RenameLibrary(std::string_view oldName, std::string_view newName) {
    if (newName.empty() || newName == oldName) return TLibraryResult::kOk;
    if (!ValidLibraryName(newName)) return TLibraryResult::kInvalidName;
    std::string keyPath;
    if (oldName == kAllLibraries || !FindLibraryKey(oldName, keyPath))
        return TLibraryResult::kNotFound;
    return RenameLibraryKey(keyPath, newName);
}

TLibraryResult RenameLibraryKey(std::string_view keyPath, std::string_view newName) {
    std::string_view parentPath, name;
    SplitLibraryKeyPath(keyPath, parentPath, name);
    if (newName.empty() || newName == name) return TLibraryResult::kOk;
    if (!ValidLibraryName(newName)) return TLibraryResult::kInvalidName;
    if (keyPath.size() <= kGroupsKey.size() || keyPath.substr(0, kGroupsKey.size()) != kGroupsKey)
        return TLibraryResult::kNotFound;
    TRegKey groups, parent;
    if (TRegResult r = OpenFull(kGroupsKey, groups); r != TRegResult::kOk) return FromStore(r);
    if (TRegResult r = OpenFull(parentPath, parent); r != TRegResult::kOk) return FromStore(r);
    return FromStore(parent.MoveSubKey(name, parent, newName, &groups));
}

TLibraryResult RemoveLibrary(std::string_view name) {
    std::string keyPath;
    if (name == kAllLibraries || !FindLibraryKey(name, keyPath)) return TLibraryResult::kNotFound;
    std::string_view parentPath, own;
    SplitLibraryKeyPath(keyPath, parentPath, own);
    return MoveLibraryKey(parentPath, own) ? TLibraryResult::kOk : TLibraryResult::kStoreFailure;
}

TLibraryResult AddLibraryDictionary(std::string_view keyPath, std::string_view dictionaryPath) {
    if (!ValidDictionaryPath(dictionaryPath)) return TLibraryResult::kInvalidName;
    TRegKey key;
    if (TRegResult r = OpenFull(keyPath, key); r != TRegResult::kOk) return FromStore(r);
    TRegValue existing;
    if (key.QueryValue(dictionaryPath, existing) == TRegResult::kOk &&
        existing.type == TValueType::kString)
        return TLibraryResult::kAlreadyMember;
    return FromStore(key.SetString(dictionaryPath, ""));
}

TLibraryResult RemoveLibraryDictionary(std::string_view keyPath, std::string_view dictionaryPath) {
    TRegKey key;
    if (TRegResult r = OpenFull(keyPath, key); r != TRegResult::kOk) return FromStore(r);
    return FromStore(key.DeleteValue(dictionaryPath));
}

}  // namespace vrk
