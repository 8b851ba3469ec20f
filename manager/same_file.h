// Whether two paths name one file (one device and inode, whatever links or
// spellings lead there). An empty or missing path is never the same file.
#pragma once

#include <QString>
#include <string>

[[nodiscard]] bool IsSameFile(const std::string& a, const std::string& b);
[[nodiscard]] bool IsSameFile(const QString& a, const QString& b);
