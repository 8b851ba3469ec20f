// The same-file test: two names lead to one file when they lead to the same
// device and inode, however they are spelled (through a symbolic link, with
// "..", or as a second hard link). An empty name, or one that leads to no
// file, is never the same as anything.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <unordered_map>

namespace vrk {

// Where a file is: its device and inode.
struct TFileId {
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const TFileId&) const = default;
};

// Compares one name with many: `path` is looked up once, and each other
// name once (the answers are kept), so that one change can test every
// reference cheaply. Make one after the change, when the file is in its new
// place.
class TSameFile {
  public:
    explicit TSameFile(const std::string& path);

    [[nodiscard]] bool operator()(const std::string& other) const;

  private:
    std::optional<TFileId> m_id;
    mutable std::unordered_map<std::string, bool> m_seen;
};

// The same test for one pair of names.
[[nodiscard]] bool IsSameFile(const std::string& a, const std::string& b);
// True when the open file `fd` is the file `path` leads to.
[[nodiscard]] bool IsSameFile(int fd, const std::string& path);

}  // namespace vrk
