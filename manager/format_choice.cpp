#include "manager/format_choice.h"

#include <QFileInfo>

namespace {

TOlderFormat FormatOf(const QString& code) {
    if (code == QLatin1String("VRK")) return TOlderFormat::kSecondGen;
    if (code == QLatin1String("CSV")) return TOlderFormat::kCsv;
    return TOlderFormat::kFirstGen;
}

}  // namespace

TOlderFormat ImportFormat(const QString& path) {
    return path.size() < 3 ? TOlderFormat::kFirstGen : FormatOf(path.right(3).toUpper());
}

TOlderFormat ExportFormat(const QString& path) {
    return FormatOf(QFileInfo(path).suffix().toUpper());
}
