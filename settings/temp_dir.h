// The temporary directory: the folder in which dictionary operations keep
// their scratch files. It is looked up, in this order, from
//   1. the user's own choice, the per-user string "BackupDir" of the program
//      root (stored by the temporary-directory dialog);
//   2. the per-machine string "BackupDir" (set by the administrator);
//   3. the user's cache folder, $XDG_CACHE_HOME/vrk3 (by default
//      ~/.cache/vrk3).
// A folder of 1 or 2 is used as it is when it belongs to the user and no one
// else may write it; otherwise a private folder "vrk3-<login>" (mode 0700)
// below it is used, so that two users never share, replace or block each
// other's scratch files. A folder that cannot be used is passed over. The
// user interface shows its dialog only when none of the three can be used.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vrk {

// "BackupDir" is read with a buffer of this many bytes.
inline constexpr std::size_t kBackupDirBuffer = 260;

// The folder for the scratch files, made when it is missing; false when no
// folder can be used.
[[nodiscard]] bool TReadBackupDir(std::string& dir);
// Stores the user's own choice (per-user "BackupDir"), creating the key and
// overwriting without asking.
[[nodiscard]] bool TWriteBackupDir(std::string_view dir);
// The user's own choice as stored; false when there is none.
[[nodiscard]] bool TReadUserBackupDir(std::string& dir);
// The folder the scratch files go to when `base` is chosen: `base` itself or
// the user's private folder below it, made when missing; false when neither
// can be used.
[[nodiscard]] bool TScratchFolderIn(const std::string& base, std::string& dir);

// Why a chosen folder cannot hold the scratch files.
enum class TScratchProblem {
    kNone,
    kNotAFolder,              // missing, not a folder, or not an absolute path
    kTooLong,                 // kBackupDirBuffer bytes or more: it could not be read back
    kNotWritable,             // the user may not write it
    kSharedWithoutStickyBit,  // others may write it, and could remove the user's folder
    kPrivateFolderUnusable,   // "vrk3-<login>" below it is taken or cannot be made
};
// Checks `base` by the rule TScratchFolderIn uses (making the private folder
// when it is missing, as using the folder would).
[[nodiscard]] TScratchProblem TCheckScratchFolder(const std::string& base);
// `dir` without one trailing "/", then "/" and `fileName`.
std::string TScratchPath(std::string_view dir, std::string_view fileName);

}  // namespace vrk
