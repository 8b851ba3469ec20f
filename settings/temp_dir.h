// The temporary directory: the per-machine string "BackupDir", the folder in
// which dictionary operations keep their scratch files. The user interface
// shows its dialog while TReadBackupDir fails and the user does not cancel.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vrk {

// "BackupDir" is read with a buffer of this many bytes.
inline constexpr std::size_t kBackupDirBuffer = 260;

// Reads "BackupDir"; false when it is missing or cannot be read.
[[nodiscard]] bool TReadBackupDir(std::string& dir);
// Writes "BackupDir", creating the key and overwriting without asking.
[[nodiscard]] bool TWriteBackupDir(std::string_view dir);
// `dir` without one trailing "/", then "/" and `fileName`.
std::string TScratchPath(std::string_view dir, std::string_view fileName);

}  // namespace vrk
