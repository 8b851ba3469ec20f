// TNewFile: a new dictionary while it is made beside the one it is to
// replace (TDataFile::CreateEmptyBeside). It is removed unless it was put in
// its place, so that a failure, a cancel or a change of mind leaves
// whatever was there.
#pragma once

#include <string>

#include "store/file_io.h"

class TNewFile {
  public:
    explicit TNewFile(std::string path) : m_path(std::move(path)) {}
    ~TNewFile() {
        if (!m_path.empty()) vrk::RemoveFile(m_path);
    }
    TNewFile(const TNewFile&) = delete;
    TNewFile& operator=(const TNewFile&) = delete;
    // The file took the dictionary's place: nothing to remove.
    void Placed() { m_path.clear(); }

  private:
    std::string m_path;
};
