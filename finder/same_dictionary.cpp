#include "finder/same_dictionary.h"

#include <sys/stat.h>

#include "ui/cp1250_text.h"

namespace {

bool FileId(const QString& path, dev_t& device, ino_t& inode) {
    if (path.isEmpty()) return false;
    struct stat info {};
    if (::stat(vrk::PathBytes(path).c_str(), &info) != 0) return false;
    device = info.st_dev;
    inode = info.st_ino;
    return true;
}

}  // namespace

TSameDictionary::TSameDictionary(const QString& path) {
    m_bKnown = FileId(path, m_device, m_inode);
}

bool TSameDictionary::operator()(const QString& other) const {
    if (!m_bKnown || other.isEmpty()) return false;
    const auto seen = m_seen.constFind(other);
    if (seen != m_seen.constEnd()) return seen.value();
    dev_t device = 0;
    ino_t inode = 0;
    const bool same = FileId(other, device, inode) && device == m_device && inode == m_inode;
    m_seen.insert(other, same);
    return same;
}

bool SameDictionary(const QString& a, const QString& b) {
    return TSameDictionary(a)(b);
}
