// The file calls of the dictionary store (open, lock, read, write,
// fsync, truncate, rename, link, unlink, close) behind one small interface,
// so that tests can fail any one of them or simulate a crash that loses what
// was not yet flushed to disk (store/fault_file_system.h). Every such call
// of the store goes through FileSystem(), which is the POSIX calls unless a
// test has installed another for a while.
//
// Each member does what the system call it names does and returns its
// result, with errno set on failure. Thread-safety is that of the system
// calls; installing another file system is not safe while the store is at
// work in another thread.
#pragma once

#include <sys/types.h>

#include <cstddef>

namespace vrk {

class TFileSystem {
  public:
    virtual ~TFileSystem() = default;

    virtual int Open(const char* path, int flags, mode_t mode);                 // open(2)
    virtual int OpenAt(int folderFd, const char* name, int flags);              // openat(2)
    virtual int Lock(int fd, int operation);                                    // flock(2)
    virtual ssize_t ReadAt(int fd, void* buffer, std::size_t n, off_t offset);  // pread(2)
    virtual ssize_t Read(int fd, void* buffer, std::size_t n);                  // read(2)
    virtual ssize_t Write(int fd, const void* data, std::size_t n);             // write(2)
    virtual int Sync(int fd);                                                   // fsync(2)
    virtual int Truncate(int fd, off_t length);                                 // ftruncate(2)
    virtual int Rename(const char* from, const char* to);                       // rename(2)
    virtual int Link(const char* from, const char* to);                         // link(2)
    virtual int Unlink(const char* path);                                       // unlink(2)
    virtual int UnlinkAt(int folderFd, const char* name);  // unlinkat(2), a file
    virtual int Close(int fd);                             // close(2)
};

// The file system the store uses now.
TFileSystem& FileSystem();

// For tests: while alive, the store's file calls go to `fileSystem` (which
// must outlive it); the earlier one comes back when it ends.
class TFileSystemForTesting {
  public:
    explicit TFileSystemForTesting(TFileSystem& fileSystem);
    ~TFileSystemForTesting();
    TFileSystemForTesting(const TFileSystemForTesting&) = delete;
    TFileSystemForTesting& operator=(const TFileSystemForTesting&) = delete;

  private:
    TFileSystem* m_saved;
};

}  // namespace vrk
