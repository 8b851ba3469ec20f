// The same-file test of the entry editing: two dictionary paths name one
// dictionary when they lead to the same file (device and inode), however
// they are spelled: through a symbolic link, with "..", or as a second hard
// link. An empty path, or one that leads to no file, is never the same.
#pragma once

#include <sys/types.h>
#include <QHash>
#include <QString>

class TSameDictionary {
  public:
    // Looks `path` up once; the paths compared with it are looked up once
    // each, so that one change can test every reference cheaply. Make one
    // after the change, when the file is in its new place.
    explicit TSameDictionary(const QString& path);

    [[nodiscard]] bool operator()(const QString& other) const;

  private:
    bool m_bKnown = false;
    dev_t m_device = 0;
    ino_t m_inode = 0;
    mutable QHash<QString, bool> m_seen;
};

// The same test for one pair.
[[nodiscard]] bool SameDictionary(const QString& a, const QString& b);
