// A private folder for one test's files (mode 0700), for the tests of every
// folder. A dictionary rewrite and a settings change are each flushed to
// disk; on a RAM-backed file system (/dev/shm) that costs nothing, so test
// folders go there when it can be used, and under the temporary folder
// otherwise. Tests of crashes and of a full disk ask for a real disk.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace vrk {

enum class TTestDisk { kFastest, kReal };

// Makes the folder "<prefix>.XXXXXX" and returns its path; "" when it could
// not be made. The caller removes it.
inline std::string MakeTestFolder(std::string_view prefix, TTestDisk disk = TTestDisk::kFastest) {
    std::error_code ec;
    std::filesystem::path root = std::filesystem::temp_directory_path(ec);
    if (disk == TTestDisk::kFastest && std::filesystem::is_directory("/dev/shm", ec) &&
        access("/dev/shm", W_OK | X_OK) == 0)
        root = "/dev/shm";
    std::string folder = (root / (std::string(prefix) + ".XXXXXX")).string();
    return mkdtemp(folder.data()) != nullptr ? folder : std::string();
}

}  // namespace vrk
