// The file calls of the dictionary store (open, lock, read, write,
// fsync, truncate, rename, link, unlink, close) behind one small interface,
// so that tests can fail any one of them or simulate a crash that loses what
// was not yet flushed to disk (store/fault_file_system.h). The file layer is
// a parameter of what does file work: each dictionary object has its own
// (TDataFile::SetFileSystem) and hands it to every file, reader and writer
// it uses; the POSIX layer when none is set. A test therefore injects faults
// into one dictionary object while others, in other threads too, work on the
// disk undisturbed.
//
// Each member does what the system call it names does and returns its
// result, with errno set on failure. The POSIX layer holds no state, so all
// threads share it; a layer with state (the test versions) serves one
// dictionary object, which one thread uses at a time.
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

// The POSIX calls themselves: the file layer of every dictionary object,
// file and reader that is given no other.
TFileSystem& PosixFileSystem();

}  // namespace vrk
