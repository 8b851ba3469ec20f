#include "settings/temp_dir.h"

#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"

namespace vrk {

bool TReadBackupDir(std::string& dir) {
    return TGetRegistryString(kMachineRootPath, "BackupDir", dir, kBackupDirBuffer);
}

bool TWriteBackupDir(std::string_view dir) {
    return TSetRegistryString(kMachineRootPath, "BackupDir", dir, kRegCreateKey | kRegOverwrite);
}

std::string TScratchPath(std::string_view dir, std::string_view fileName) {
    if (!dir.empty() && dir.back() == '/') dir.remove_suffix(1);
    std::string path(dir);
    path += '/';
    path += fileName;
    return path;
}

}  // namespace vrk
