// Small POSIX file helpers for the dictionary store: locked files, read-only
// views of whole files, and a buffered writer that scrambles records by their
// offset in the file being written. Each takes the file layer its calls go
// through (file_system.h) from the dictionary object that uses it; the forms
// the programs call without one use the POSIX layer.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "file_system.h"

namespace vrk {

struct TProgress;

// How long an operation waits for another process's lock on a dictionary or
// on a set of scratch files before it fails. 5 seconds.
std::chrono::milliseconds LockTimeout();

// For tests: while alive, operations wait `timeout` for a lock; the earlier
// value comes back when it ends, also when the test fails half way.
class TLockTimeoutForTesting {
  public:
    explicit TLockTimeoutForTesting(std::chrono::milliseconds timeout);
    ~TLockTimeoutForTesting();
    TLockTimeoutForTesting(const TLockTimeoutForTesting&) = delete;
    TLockTimeoutForTesting& operator=(const TLockTimeoutForTesting&) = delete;

  private:
    std::chrono::milliseconds m_saved;
};

// How often this process found a lock held by another process and waited
// for it, and how long it waited in all (benchmark figures).
struct TLockWaits {
    std::uint64_t count = 0;
    std::chrono::microseconds waited{0};
};
TLockWaits LockWaits();

// A regular file held open with an advisory lock (flock). Open makes sure
// that the locked file is still the one at `path`: a writer renames a new
// file over a dictionary, and a process that waited on the old file must not
// work on it. Files are opened without blocking, and anything but a regular
// file (a folder, a pipe, a device) is refused, so that a path never makes
// an operation wait on something that may never come.
class TLockedFile {
  public:
    // Read: reading only. ReadWrite: the caller must be allowed to write the
    // file (it is about to replace it). ReadWriteCreate: made when missing.
    enum class Access { Read, ReadWrite, ReadWriteCreate };
    TLockedFile() = default;
    ~TLockedFile() { Close(); }
    TLockedFile(const TLockedFile&) = delete;
    TLockedFile& operator=(const TLockedFile&) = delete;

    // Opens path through `fs` (which must outlive the open file) and locks
    // it (shared or exclusive), waiting at most
    // LockTimeout() (or `bound` when that is shorter), and no longer once
    // `stop` (when given) asks to stop.
    // False when the file cannot be opened or locked; error() then holds the
    // errno (EWOULDBLOCK when the lock was not had in time, ECANCELED when
    // the wait was stopped, EISDIR or ENODEV for a folder or another file
    // that is not regular).
    [[nodiscard]] bool Open(TFileSystem& fs, const std::string& path, Access access, bool exclusive,
                            const TProgress* stop = nullptr,
                            std::chrono::milliseconds bound = std::chrono::milliseconds::max());
    void Close();
    int fd() const { return m_fd; }
    bool IsOpen() const { return m_fd >= 0; }
    int error() const { return m_error; }

  private:
    TFileSystem* m_fs = nullptr;  // the layer the open file was opened through
    int m_fd = -1;
    int m_error = 0;
};

// The whole content of an open file, read into memory. The bytes stay valid
// until Reset, whatever another program does to the file meanwhile: a file
// that is cut short while it is read fails to load (a short read, errno 0)
// rather than faulting later, as a mapping of it would.
class TFileView {
  public:
    TFileView() = default;
    ~TFileView() { Reset(); }
    TFileView(const TFileView&) = delete;
    TFileView& operator=(const TFileView&) = delete;

    [[nodiscard]] bool Load(TFileSystem& fs, int fd);
    void Reset();
    const char* data() const { return m_data; }
    std::uint64_t size() const { return m_size; }
    std::string_view view() const { return {m_data, static_cast<std::size_t>(m_size)}; }

  private:
    const char* m_data = nullptr;
    std::uint64_t m_size = 0;
    char* m_copy = nullptr;  // memory of the view's own, mapped anonymous
    std::size_t m_capacity = 0;
};

// Reads exactly n bytes at offset; false on a short read (errno 0) or an
// error (errno set).
[[nodiscard]] bool ReadAt(TFileSystem& fs, int fd, char* buffer, std::size_t n,
                          std::uint64_t offset);
// Writes all n bytes; false on any error, with errno set.
[[nodiscard]] bool WriteAll(TFileSystem& fs, int fd, const char* data, std::size_t n);
// Opens a file that is not a dictionary (an older-format file to import or
// write) without blocking on a pipe, and refuses anything but a regular file
// when `regularOnly`. Returns the descriptor (in blocking mode) or -1 with
// errno set (EISDIR or ENODEV for a file that is not regular).
[[nodiscard]] int OpenPlainFile(TFileSystem& fs, const std::string& path, int flags,
                                bool regularOnly, mode_t mode = 0666);

// A buffered writer on a file descriptor it does not own. Scrambled writes
// use the writer's own running offset as the key position, which is how both
// the dictionary's records and the scratch change files are stored.
class TScrambledWriter {
  public:
    explicit TScrambledWriter(std::size_t bufferSize = 1 << 20);
    // Writes go to fd through `fs` until Detach.
    void Attach(TFileSystem& fs, int fd, std::uint64_t offset = 0);
    void Attach(int fd, std::uint64_t offset = 0) { Attach(PosixFileSystem(), fd, offset); }
    void Detach() { m_fd = -1; }

    // Plain bytes (magic, header, picture, trailer).
    [[nodiscard]] bool WritePlain(std::string_view bytes);
    // Text that is not scrambled yet; scrambled at the current offset.
    [[nodiscard]] bool WriteScrambled(std::string_view text);
    // Bytes scrambled at `from`, re-scrambled for the current offset.
    [[nodiscard]] bool WriteRescrambled(std::string_view bytes, std::uint64_t from);
    [[nodiscard]] bool Flush();
    // With write-behind, every full buffer written is sent on to the disk at
    // once, and the writer keeps no more than a few megabytes ahead of the
    // disk, so that a final fsync of a large file has little left to do and
    // the work it stood for is done (and counted) while writing. For a file
    // written from its start.
    void SetWriteBehind(bool on) { m_bWriteBehind = on; }
    std::uint64_t offset() const { return m_offset; }
    // The errno of the write that failed, 0 while every write succeeded.
    int error() const { return m_error; }

  private:
    char* Reserve(std::size_t& n);
    void WriteBehind();
    TFileSystem* m_fs = &PosixFileSystem();
    int m_fd = -1;
    std::uint64_t m_offset = 0;
    std::vector<char> m_buffer;
    std::size_t m_used = 0;
    bool m_ok = true;
    int m_error = 0;
    bool m_bWriteBehind = false;
    std::uint64_t m_written = 0;  // write-behind: on the disk up to here
};

// Removes a file; a missing file is not an error.
void RemoveFile(TFileSystem& fs, const std::string& path);
inline void RemoveFile(const std::string& path) {
    RemoveFile(PosixFileSystem(), path);
}

}  // namespace vrk
