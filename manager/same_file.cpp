#include "manager/same_file.h"

#include <filesystem>
#include <system_error>

#include "ui/cp1250_text.h"

bool IsSameFile(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) return false;
    std::error_code ec;
    const bool same = std::filesystem::equivalent(a, b, ec);
    return !ec && same;
}

bool IsSameFile(const QString& a, const QString& b) {
    return IsSameFile(vrk::PathBytes(a), vrk::PathBytes(b));
}
