// The library layout in the per-user settings store, the contract between the
// finder and the manager. A library is a key below kGroupsKey named as the
// user sees it (sub-libraries are keys below it, to any depth); a member
// dictionary is a string value of the library's key, named by the file's full
// path, with empty data. Library names are Windows-1250 bytes and unique in
// the whole tree; dictionary paths are file-system bytes.
//
// Key paths here are sub-key paths of the per-user root, such as
// "Software\Tavro\Verbatrakon III\Groups\Slovarji".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "settings/reg_types.h"

namespace vrk {

// The pseudo-library that stands for the Groups key with everything below it.
inline constexpr std::string_view kAllLibraries = "-- Vse Knji\x9Enice --";
// The name a new library gets, and the format when that one is taken.
inline constexpr std::string_view kNewLibraryName = "Nova Knji\x9Enica";
inline constexpr const char* kNewLibraryFormat = "Nova Knji\x9Enica (%d)";
// Library names and member paths are read with buffers of this size, so
// neither may be longer than kLibraryNameBuffer - 1 bytes.
inline constexpr std::size_t kLibraryNameBuffer = 1000;
// Separates the paths of a collected dictionary list; it cannot occur in a
// member path (AddLibraryDictionary refuses such paths).
inline constexpr char kDictionarySeparator = '"';

// ---- Reading ----

// The names of all libraries at every depth, depth first in enumeration order.
// False when Groups cannot be opened or a key cannot be enumerated (the names
// read are kept).
[[nodiscard]] bool ListLibraryNames(std::vector<std::string>& names);

// The key path of the first library named `name` (exactly), depth first in
// pre-order; kAllLibraries gives the Groups key. False when there is none.
[[nodiscard]] bool FindLibraryKey(std::string_view name, std::string& keyPath);

// The dictionaries a search of the library at `keyPath` visits: the key's own
// string values with non-empty names, then each sub-key's collection in
// enumeration order. A key's values are read up to the first one whose data
// is not empty. Each path is followed by kDictionarySeparator. False when the
// key cannot be opened.
[[nodiscard]] bool CollectLibraryDictionaries(std::string_view keyPath, std::string& paths);
// The paths of a collected list, in order.
std::vector<std::string> SplitDictionaryList(std::string_view paths);

// A library with its member dictionaries (string values with non-empty
// names, in enumeration order) and its sub-libraries.
struct TLibraryNode {
    std::string name;
    std::vector<std::string> dictionaries;
    std::vector<TLibraryNode> children;
};
// Reads the whole tree below Groups into `groups` (whose own members are the
// values directly under Groups). A key whose sub-keys cannot be enumerated
// keeps what was read; the result is the first such error (to be shown as
// "Napaka pri branju knjižnice [k%d]" with ResultCode), or kOk.
[[nodiscard]] TRegResult ReadLibraryTree(TLibraryNode& groups);

// "Nova Knjižnica", or "Nova Knjižnica (n)" with the first n from 2 whose name
// no library has.
std::string NewLibraryName();

// ---- Changing ----

enum class TLibraryResult {
    kOk,
    kNotFound,       // no such library (or key)
    kNameExists,     // a library of that name exists somewhere in the tree
    kAlreadyMember,  // the library already holds that dictionary
    kInvalidName,    // empty, too long, holds "\" (names) or '"' (paths), or the pseudo-name
    kStoreFailure,   // the store refused the change
};

// Creates the library `name` under the key at `parentKeyPath`. kNameExists
// when any library in the whole tree has that name; the check and the
// creation are one settings transaction, so that two programs creating
// libraries at once never make two of one name.
[[nodiscard]] TLibraryResult CreateLibraryKey(std::string_view parentKeyPath,
                                              std::string_view name);
// Creates a library named by NewLibraryName under `parentKeyPath` and
// returns its name; when another program takes that name first, the next
// free one is taken.
[[nodiscard]] TLibraryResult CreateNewLibrary(std::string_view parentKeyPath, std::string& name);

// Moves the key `sourceName` under `sourceParentPath`, with everything below
// it, to `targetName` under `targetParentPath`, in one transaction. False
// when the source is missing or the target exists.
[[nodiscard]] bool MoveLibraryKey(std::string_view sourceParentPath, std::string_view sourceName,
                                  std::string_view targetParentPath, std::string_view targetName);
// Without a target: deletes the key with everything below it, in one
// transaction.
[[nodiscard]] bool MoveLibraryKey(std::string_view sourceParentPath, std::string_view sourceName);

// Renames a library, keeping its sub-libraries and members and its place.
// An empty new name or the old one changes nothing (kOk); a name that any
// library has is refused (kNameExists), checked in the same transaction as
// the rename.
[[nodiscard]] TLibraryResult RenameLibrary(std::string_view oldName, std::string_view newName);
// The same for the library at `keyPath` (a key below Groups).
[[nodiscard]] TLibraryResult RenameLibraryKey(std::string_view keyPath, std::string_view newName);
// Removes a library with its sub-libraries; the dictionary files stay.
[[nodiscard]] TLibraryResult RemoveLibrary(std::string_view name);

// Adds a member dictionary to the library at `keyPath`.
[[nodiscard]] TLibraryResult AddLibraryDictionary(std::string_view keyPath,
                                                  std::string_view dictionaryPath);
// Removes a member dictionary; kNotFound when it is no member.
[[nodiscard]] TLibraryResult RemoveLibraryDictionary(std::string_view keyPath,
                                                     std::string_view dictionaryPath);

// The key path of the parent of the key at `keyPath` and the key's own name.
void SplitLibraryKeyPath(std::string_view keyPath, std::string_view& parentPath,
                         std::string_view& name);

}  // namespace vrk
