#include "manager/last_dirs.h"

#include <QFile>
#include <string>

#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"

namespace {

// Folders are read with a buffer of this many bytes.
constexpr std::size_t kDirBuffer = 260;

}  // namespace

QString ReadLastDir(std::string_view name) {
    std::string dir;
    if (!vrk::TGetRegistryString(vrk::kManagerPath, name, dir, kDirBuffer)) return {};
    return QFile::decodeName(QByteArray::fromStdString(dir));
}

void StoreLastDir(std::string_view name, const QString& dir) {
    (void)vrk::TSetRegistryString(vrk::kManagerPath, name, QFile::encodeName(dir).toStdString(),
                                  vrk::kRegCreateKey | vrk::kRegOverwrite);
}
