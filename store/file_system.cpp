#include "file_system.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdio>

namespace vrk {

int TFileSystem::Open(const char* path, int flags, mode_t mode) {
    return ::open(path, flags, mode);
}

int TFileSystem::OpenAt(int folderFd, const char* name, int flags) {
    return ::openat(folderFd, name, flags);
}

int TFileSystem::Lock(int fd, int operation) {
    return ::flock(fd, operation);
}

ssize_t TFileSystem::ReadAt(int fd, void* buffer, std::size_t n, off_t offset) {
    return ::pread(fd, buffer, n, offset);
}

ssize_t TFileSystem::Read(int fd, void* buffer, std::size_t n) {
    return ::read(fd, buffer, n);
}

ssize_t TFileSystem::Write(int fd, const void* data, std::size_t n) {
    return ::write(fd, data, n);
}

int TFileSystem::Sync(int fd) {
    return ::fsync(fd);
}

int TFileSystem::Truncate(int fd, off_t length) {
    return ::ftruncate(fd, length);
}

int TFileSystem::Rename(const char* from, const char* to) {
    return ::rename(from, to);
}

int TFileSystem::Link(const char* from, const char* to) {
    return ::link(from, to);
}

int TFileSystem::Unlink(const char* path) {
    return ::unlink(path);
}

int TFileSystem::UnlinkAt(int folderFd, const char* name) {
    return ::unlinkat(folderFd, name, 0);
}

int TFileSystem::Close(int fd) {
    return ::close(fd);
}

TFileSystem& PosixFileSystem() {
    static TFileSystem posix;
    return posix;
}

}  // namespace vrk
