#include "same_file.h"

#include <sys/stat.h>

namespace vrk {
namespace {

std::optional<TFileId> IdOf(int result, const struct stat& info) {
    if (result != 0) return std::nullopt;
    return TFileId{info.st_dev, info.st_ino};
}

std::optional<TFileId> IdOf(const std::string& path) {
    struct stat info {};
    return path.empty() ? std::nullopt : IdOf(::stat(path.c_str(), &info), info);
}

}  // namespace

TSameFile::TSameFile(const std::string& path) : m_id(IdOf(path)) {}

bool TSameFile::operator()(const std::string& other) const {
    if (!m_id) return false;
    const auto seen = m_seen.find(other);
    if (seen != m_seen.end()) return seen->second;
    const bool same = IdOf(other) == m_id;
    m_seen.emplace(other, same);
    return same;
}

bool IsSameFile(const std::string& a, const std::string& b) {
    return TSameFile(a)(b);
}

bool IsSameFile(int fd, const std::string& path) {
    struct stat info {};
    const std::optional<TFileId> id = IdOf(::fstat(fd, &info), info);
    return id && IdOf(path) == id;
}

}  // namespace vrk
