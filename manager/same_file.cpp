#include "manager/same_file.h"

#include <QFile>
#include <filesystem>
#include <system_error>

bool IsSameFile(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) return false;
    std::error_code ec;
    const bool same = std::filesystem::equivalent(a, b, ec);
    return !ec && same;
}

bool IsSameFile(const QString& a, const QString& b) {
    return IsSameFile(QFile::encodeName(a).toStdString(), QFile::encodeName(b).toStdString());
}
