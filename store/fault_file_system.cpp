#include "fault_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "test_util.h"

namespace vrk {

bool TFailingFileSystem::Fails(int error) {
    ++m_calls;
    if (m_calls != m_failAt) return false;
    m_failed = true;
    errno = error;
    return true;
}

int TFailingFileSystem::Open(const char* path, int flags, mode_t mode) {
    return Fails(EIO) ? -1 : TFileSystem::Open(path, flags, mode);
}
int TFailingFileSystem::OpenAt(int folderFd, const char* name, int flags) {
    return Fails(EIO) ? -1 : TFileSystem::OpenAt(folderFd, name, flags);
}
int TFailingFileSystem::Lock(int fd, int operation) {
    return Fails(EIO) ? -1 : TFileSystem::Lock(fd, operation);
}
ssize_t TFailingFileSystem::ReadAt(int fd, void* buffer, std::size_t n, off_t offset) {
    return Fails(EIO) ? -1 : TFileSystem::ReadAt(fd, buffer, n, offset);
}
ssize_t TFailingFileSystem::Read(int fd, void* buffer, std::size_t n) {
    return Fails(EIO) ? -1 : TFileSystem::Read(fd, buffer, n);
}
ssize_t TFailingFileSystem::Write(int fd, const void* data, std::size_t n) {
    return Fails(ENOSPC) ? -1 : TFileSystem::Write(fd, data, n);
}
int TFailingFileSystem::Sync(int fd) {
    return Fails(EIO) ? -1 : TFileSystem::Sync(fd);
}
int TFailingFileSystem::Truncate(int fd, off_t length) {
    return Fails(EIO) ? -1 : TFileSystem::Truncate(fd, length);
}
int TFailingFileSystem::Rename(const char* from, const char* to) {
    return Fails(EIO) ? -1 : TFileSystem::Rename(from, to);
}
int TFailingFileSystem::Link(const char* from, const char* to) {
    return Fails(EIO) ? -1 : TFileSystem::Link(from, to);
}
int TFailingFileSystem::Unlink(const char* path) {
    return Fails(EIO) ? -1 : TFileSystem::Unlink(path);
}
int TFailingFileSystem::UnlinkAt(int folderFd, const char* name) {
    return Fails(EIO) ? -1 : TFileSystem::UnlinkAt(folderFd, name);
}

TCrashFileSystem::TCrashFileSystem(std::string folder, int crashAfter)
    : TFailingFileSystem(crashAfter + 1), m_folder(std::move(folder)) {
    TakeNames();
    for (const auto& [name, inode] : m_names)
        m_content[inode] = ReadWholeFile(m_folder + "/" + name);
}

void TCrashFileSystem::TakeNames() {
    m_names.clear();
    for (const auto& e : std::filesystem::directory_iterator(m_folder)) {
        struct stat st;
        if (::lstat(e.path().c_str(), &st) == 0 && S_ISREG(st.st_mode))
            m_names[e.path().filename().string()] = st.st_ino;
    }
}

bool TCrashFileSystem::Fails(int error) {
    ++m_calls;
    if (m_calls < m_failAt) return false;
    m_failed = true;  // the process is gone: nothing more happens
    errno = error;
    return true;
}

int TCrashFileSystem::Sync(int fd) {
    if (Fails(EIO)) return -1;
    struct stat st, folder;
    if (::fstat(fd, &st) != 0) return -1;
    if (S_ISDIR(st.st_mode)) {
        if (::stat(m_folder.c_str(), &folder) == 0 && folder.st_ino == st.st_ino) TakeNames();
    } else if (S_ISREG(st.st_mode)) {
        std::string bytes(static_cast<std::size_t>(st.st_size), '\0');
        if (::pread(fd, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size()))
            return -1;
        m_content[st.st_ino] = std::move(bytes);
    }
    return 0;
}

void TCrashFileSystem::Crash() {
    for (const auto& e : std::filesystem::directory_iterator(m_folder))
        if (e.is_regular_file() || e.is_symlink()) std::filesystem::remove(e.path());
    for (const auto& [name, inode] : m_names) {
        std::ofstream out(m_folder + "/" + name, std::ios::binary);
        const auto flushed = m_content.find(inode);
        if (flushed != m_content.end()) out << flushed->second;
    }
}

}  // namespace vrk
