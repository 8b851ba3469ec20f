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

// --- Scratch folders of one process: "PREFIX.XXXXXX" (six random letters
// or digits) in $TMPDIR, or /tmp without it. vrk3tool makes one per run
// (kToolScratchPrefix) and removes it when it ends; one left by a process
// that was killed is removed by the next run of any of the programs.
//
// Each such folder holds a file "owner" with its process's pid, which that
// process holds open under an exclusive lock for as long as it runs: the
// lock ends with the process, however it ends, and cannot be taken over by
// a later process that gets the same pid. A folder whose lock can be taken
// is abandoned; a folder of a running process is never touched.
inline constexpr std::string_view kToolScratchPrefix = "vrk3tool";
// $TMPDIR, or /tmp when it is not set.
std::string TScratchParent();
// Makes a new folder "PREFIX.XXXXXX" with its locked "owner" file; ownerFd
// holds the lock and must stay open while the folder is in use. False (with
// nothing left behind) when the folder cannot be made.
[[nodiscard]] bool TMakeOwnedScratchFolder(std::string_view prefix, std::string& dir, int& ownerFd);
// Removes this user's folders "PREFIX.XXXXXX" whose owner has ended. A
// folder without an "owner" file (made by an older version, or by a process
// killed while making it) is removed once it has been left alone for a
// day: an older version's run still at work must keep it. Returns how many
// folders were removed.
int TRemoveAbandonedScratchFolders(std::string_view prefix = kToolScratchPrefix);

}  // namespace vrk
