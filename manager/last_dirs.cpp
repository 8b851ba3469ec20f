#include "manager/last_dirs.h"

#include <string>

#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"
#include "ui/cp1250_text.h"

namespace {

// Folders are read with a buffer of this many bytes.
constexpr std::size_t kDirBuffer = 260;

}  // namespace

QString ReadLastDir(std::string_view name) {
    std::string dir;
    if (!vrk::TGetRegistryString(vrk::kManagerPath, name, dir, kDirBuffer)) return {};
    return vrk::PathText(dir);
}

void StoreLastDir(std::string_view name, const QString& dir) {
    (void)vrk::TSetRegistryString(vrk::kManagerPath, name, vrk::PathBytes(dir),
                                  vrk::kRegCreateKey | vrk::kRegOverwrite);
}
