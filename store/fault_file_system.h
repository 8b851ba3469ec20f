// Test versions of the store's file layer (file_system.h), each given to the
// one dictionary object under test (TDataFile::SetFileSystem):
// - TFailingFileSystem counts the calls that can fail (open, lock,
//   read, write, fsync, truncate, rename, link, unlink) and fails the k-th
//   one with EIO (ENOSPC for a write);
// - TCrashFileSystem simulates a crash after the k-th such call: that call
//   and every later one fail without doing anything (the process is gone),
//   and Crash() then leaves one folder as a machine that lost its power
//   would find it: each name there as the folder was last flushed, each
//   file's content as it was last flushed (files never flushed are empty).
// Closing always happens, as it does when a process dies.
#pragma once

#include <map>
#include <string>

#include "file_system.h"

namespace vrk {

class TFailingFileSystem : public TFileSystem {
  public:
    // failAt: the call (from 1) that fails; 0 fails none and only counts.
    explicit TFailingFileSystem(int failAt = 0) : m_failAt(failAt) {}

    // The calls counted so far.
    int calls() const { return m_calls; }
    // True once the chosen call has failed.
    bool failed() const { return m_failed; }

    int Open(const char* path, int flags, mode_t mode) override;
    int OpenAt(int folderFd, const char* name, int flags) override;
    int Lock(int fd, int operation) override;
    ssize_t ReadAt(int fd, void* buffer, std::size_t n, off_t offset) override;
    ssize_t Read(int fd, void* buffer, std::size_t n) override;
    ssize_t Write(int fd, const void* data, std::size_t n) override;
    int Sync(int fd) override;
    int Truncate(int fd, off_t length) override;
    int Rename(const char* from, const char* to) override;
    int Link(const char* from, const char* to) override;
    int Unlink(const char* path) override;
    int UnlinkAt(int folderFd, const char* name) override;

  protected:
    // Counts a call; true (errno set to `error`) when it is to fail.
    virtual bool Fails(int error);
    int m_failAt;
    int m_calls = 0;
    bool m_failed = false;
};

class TCrashFileSystem : public TFailingFileSystem {
  public:
    // Takes the folder's present state as flushed; crashAfter: the number
    // of calls that still happen (0: none).
    TCrashFileSystem(std::string folder, int crashAfter);

    // Puts the folder in the state it would have after the crash. Call it
    // after the operation has returned, when no object uses this file
    // system any more.
    void Crash();

    int Sync(int fd) override;

  protected:
    bool Fails(int error) override;

  private:
    void TakeNames();
    std::string m_folder;
    std::map<std::string, ino_t> m_names;    // the folder as last flushed
    std::map<ino_t, std::string> m_content;  // each file as last flushed
};

}  // namespace vrk
