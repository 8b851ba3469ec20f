// The folder each file dialog of the manager last showed, kept under
// "Editor": "AddDFDir", "NewDFDir", "ImageDir", "ImportDir", "ExportDir".
#pragma once

#include <QString>
#include <string_view>

// The stored folder; empty (the working directory) when there is none.
[[nodiscard]] QString ReadLastDir(std::string_view name);
// Stores `dir` (creating the key, replacing the value); failures are
// ignored, as the folder is only a convenience.
void StoreLastDir(std::string_view name, const QString& dir);
