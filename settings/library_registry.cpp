#include "settings/library_registry.h"

#include <cstdio>
#include <unordered_set>

#include "settings/key_walk.h"
#include "settings/reg_key.h"
#include "settings/settings_keys.h"

namespace vrk {

namespace {

// Appends the key's dictionaries to `paths` under the collection rule: string
// values with non-empty names, up to the first value that does not fit a
// one-byte data buffer (an empty string is the only data that does).
void CollectOwnValues(TRegKey& key, std::string& paths) {
    TRegValue value;
    for (std::uint32_t i = 0; key.EnumValue(i, value, kLibraryNameBuffer, 1) == TRegResult::kOk;
         ++i) {
        if (value.type == TValueType::kString && !value.name.empty()) {
            paths += value.name;
            paths += kDictionarySeparator;
        }
    }
}

// Every string value with a non-empty name, for display.
void ReadMembers(TRegKey& key, std::vector<std::string>& dictionaries) {
    TRegValue value;
    for (std::uint32_t i = 0;; ++i) {
        const TRegResult r = key.EnumValue(i, value, kLibraryNameBuffer);
        if (r == TRegResult::kMoreData) continue;
        if (r != TRegResult::kOk) break;
        if (value.type == TValueType::kString && !value.name.empty())
            dictionaries.push_back(value.name);
    }
}

bool OpenForReading(std::string_view keyPath, TRegKey& key) {
    return TRegKey::Open(TRoot::kCurrentUser, keyPath, TAccess::kRead, key) == TRegResult::kOk;
}

}  // namespace

bool ListLibraryNames(std::vector<std::string>& names) {
    TRegKey groups;
    if (!OpenForReading(kGroupsKey, groups)) return false;
    const TRegResult r =
        WalkKeys(groups, kLibraryNameBuffer, [&](int, const std::string& name, TRegKey&) {
            names.push_back(name);
            return TWalkStep::kDescend;
        });
    return r == TRegResult::kOk;
}

bool FindLibraryKey(std::string_view name, std::string& keyPath) {
    TRegKey groups;
    if (!OpenForReading(kGroupsKey, groups)) return false;
    if (name == kAllLibraries) {
        keyPath = kGroupsKey;
        return true;
    }
    // The names from Groups down to the key being visited.
    std::vector<std::string> path;
    bool found = false;
    (void)WalkKeys(groups, kLibraryNameBuffer, [&](int depth, const std::string& key, TRegKey&) {
        path.resize(depth - 1);
        path.push_back(key);
        if (key != name) return TWalkStep::kDescend;
        found = true;
        return TWalkStep::kStop;
    });
    if (!found) return false;
    keyPath = kGroupsKey;
    for (const std::string& level : path) {
        keyPath += '\\';
        keyPath += level;
    }
    return true;
}

bool CollectLibraryDictionaries(std::string_view keyPath, std::string& paths) {
    TRegKey top;
    if (!OpenForReading(keyPath, top)) return false;
    CollectOwnValues(top, paths);
    (void)WalkKeys(top, kLibraryNameBuffer, [&](int, const std::string&, TRegKey& key) {
        CollectOwnValues(key, paths);
        return TWalkStep::kDescend;
    });
    return true;
}

std::vector<std::string> SplitDictionaryList(std::string_view paths) {
    std::vector<std::string> list;
    for (std::size_t cut; (cut = paths.find(kDictionarySeparator)) != std::string_view::npos;) {
        if (cut > 0) list.emplace_back(paths.substr(0, cut));
        paths.remove_prefix(cut + 1);
    }
    return list;
}

TRegResult ReadLibraryTree(TLibraryNode& groups) {
    groups = TLibraryNode();
    groups.name = kAllLibraries;
    TRegKey top;
    if (TRegResult r = TRegKey::Open(TRoot::kCurrentUser, kGroupsKey, TAccess::kRead, top);
        r != TRegResult::kOk)
        return r;
    ReadMembers(top, groups.dictionaries);
    // path[d] is the node whose sub-keys are being read at depth d + 1; only
    // the deepest node's children grow, so the pointers above it stay valid.
    std::vector<TLibraryNode*> path{&groups};
    return WalkKeys(top, kLibraryNameBuffer, [&](int depth, const std::string& name, TRegKey& key) {
        path.resize(depth);
        TLibraryNode& node = path.back()->children.emplace_back();
        node.name = name;
        ReadMembers(key, node.dictionaries);
        path.push_back(&node);
        return TWalkStep::kDescend;
    });
}

std::string NewLibraryName() {
    std::unordered_set<std::string> taken;
    std::vector<std::string> names;
    (void)ListLibraryNames(names);
    taken.insert(names.begin(), names.end());
    std::string name(kNewLibraryName);
    for (int n = 2; taken.count(name) != 0; ++n) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, kNewLibraryFormat, n);
        name = buffer;
    }
    return name;
}

void SplitLibraryKeyPath(std::string_view keyPath, std::string_view& parentPath,
                         std::string_view& name) {
    const std::size_t cut = keyPath.rfind('\\');
    parentPath = cut == std::string_view::npos ? std::string_view() : keyPath.substr(0, cut);
    name = cut == std::string_view::npos ? keyPath : keyPath.substr(cut + 1);
}

}  // namespace vrk
