// Which older format a file is in, by its name.
#pragma once

#include <QString>

enum class TOlderFormat { kSecondGen, kFirstGen, kCsv };

// The import's rule: the last three characters of the path, upper-cased:
// "VRK" is the second generation, "CSV" is CSV, anything else (a shorter
// path too) the first generation.
[[nodiscard]] TOlderFormat ImportFormat(const QString& path);
// The export's rule: the same for the extension of the chosen file's name.
[[nodiscard]] TOlderFormat ExportFormat(const QString& path);
