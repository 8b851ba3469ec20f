// Paths the user chose in a file dialog or typed, as the manager uses and
// stores them. A relative name would name another file for the finder, or
// for the manager started in another folder, so every path is made absolute
// against the manager's working folder before it is used.
#pragma once

#include <QString>

// `path` made absolute against the working folder ("." and ".." taken out);
// an empty path stays empty.
[[nodiscard]] QString AbsoluteUserPath(const QString& path);
// The same for a new dictionary: a name without ".vrk3" gets it.
[[nodiscard]] QString DictionaryUserPath(const QString& path);
// The folder of a chosen or typed file: where its file dialog starts next
// time ("AddDFDir", "NewDFDir", "ImportDir", "ExportDir").
[[nodiscard]] QString FolderOf(const QString& path);
