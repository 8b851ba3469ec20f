// Files written beside a dictionary. A change writes the new dictionary
// complete under a hidden name in the dictionary's own folder and renames it
// over the dictionary; the hidden name is ".NAME.~vrk3-XXXXXX", where NAME is
// the dictionary's file name and XXXXXX six letters or digits. The mark
// "~vrk3-" is ours alone: the user's own files beside a dictionary (a
// ".NAME.backup", another program's temporary ".NAME.Ab12Cd") never carry
// it. A writer that was killed before its rename leaves such a file behind;
// the next writer of the same dictionary removes it (RemoveLeftoversBeside).
// The file calls go through the file layer `fs` of the dictionary object at
// work (file_system.h).
#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

namespace vrk {

class TFileSystem;

// The path with every symbolic link resolved, "" (errno set) when it cannot
// be resolved. A change writes beside this path, so that a link keeps
// pointing at the dictionary it named.
std::string RealPathOf(const std::string& path);

// Creates a new hidden file beside `path` with `mode` (less the umask) and
// holds an exclusive lock on it until it is closed, so that no cleaner takes
// it for a leftover. Returns the descriptor and sets tempPath, or -1 with
// errno set. A `tag` goes before the six letters (".NAME.~vrk3-TAGXXXXXX"):
// such a file is no leftover of NAME, so it may outlive its descriptor while
// a longer piece of work (an import into a new dictionary) fills it.
[[nodiscard]] int CreateBeside(TFileSystem& fs, const std::string& path, std::string& tempPath,
                               mode_t mode, std::string_view tag = {});

// The tag of a new dictionary made beside another (TDataFile::CreateEmptyBeside).
inline constexpr std::string_view kNewFileTag = "new-";

// True when `name` is a hidden copy of the dictionary file named
// `dictionaryName`: "." + dictionaryName + ".~vrk3-" + tag + six letters or
// digits.
[[nodiscard]] bool IsLeftoverName(std::string_view name, std::string_view dictionaryName,
                                  std::string_view tag = {});

// Removes the hidden copies beside the dictionary at `path` (a real path)
// that no writer holds: regular files with a leftover's name that are empty
// (a writer killed before it wrote anything) or start with the dictionary
// magic; and new dictionaries made beside it (kNewFileTag) that nothing has
// touched for a day, left by imports that were killed. Only a caller that holds the dictionary's
// exclusive lock may call it: then no writer of this dictionary is at work, and a copy whose lock
// is free was left by one that died.
void RemoveLeftoversBeside(TFileSystem& fs, const std::string& path);

// For tests: while alive, CreateBeside fails with EACCES, as in a folder the
// user may not write (tests run as root, who may write any folder).
class TBesideBlockedForTesting {
  public:
    TBesideBlockedForTesting();
    ~TBesideBlockedForTesting();
    TBesideBlockedForTesting(const TBesideBlockedForTesting&) = delete;
    TBesideBlockedForTesting& operator=(const TBesideBlockedForTesting&) = delete;

  private:
    bool m_saved;
};

// Flushes the folder that holds path, so that a rename in it is on disk.
void SyncFolderOf(TFileSystem& fs, const std::string& path);

}  // namespace vrk
