#include "file_io.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <new>
#include <thread>

#include "coding.h"
#include "progress.h"
#include "same_file.h"

namespace vrk {
namespace {

std::atomic<std::int64_t> g_lockTimeoutMs{5000};
std::atomic<std::uint64_t> g_lockWaits{0};
std::atomic<std::int64_t> g_lockWaitedUs{0};

// Counts one wait for a lock and its length when it ends.
class TLockWaitCount {
  public:
    ~TLockWaitCount() {
        if (!m_waiting) return;
        g_lockWaits.fetch_add(1, std::memory_order_relaxed);
        g_lockWaitedUs.fetch_add(std::chrono::duration_cast<std::chrono::microseconds>(
                                     std::chrono::steady_clock::now() - m_start)
                                     .count(),
                                 std::memory_order_relaxed);
    }
    void Waiting() {
        if (!m_waiting) m_start = std::chrono::steady_clock::now();
        m_waiting = true;
    }

  private:
    bool m_waiting = false;
    std::chrono::steady_clock::time_point m_start;
};

// flock with a deadline: polls, since flock itself cannot time out. A stop
// request ends the wait within one pause (at most 20 ms).
bool LockWithin(TFileSystem& fs, int fd, bool exclusive,
                std::chrono::steady_clock::time_point deadline, const TProgress* stop) {
    const int op = (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
    auto pause = std::chrono::milliseconds(1);
    TLockWaitCount count;
    while (fs.Lock(fd, op) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) return false;
        count.Waiting();
        if (stop && stop->StopRequested()) {
            errno = ECANCELED;
            return false;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            errno = EWOULDBLOCK;
            return false;
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(20));
    }
    return true;
}

}  // namespace

TLockWaits LockWaits() {
    return {g_lockWaits.load(), std::chrono::microseconds(g_lockWaitedUs.load())};
}

std::chrono::milliseconds LockTimeout() {
    return std::chrono::milliseconds(g_lockTimeoutMs.load());
}

TLockTimeoutForTesting::TLockTimeoutForTesting(std::chrono::milliseconds timeout)
    : m_saved(LockTimeout()) {
    g_lockTimeoutMs = timeout.count();
}

TLockTimeoutForTesting::~TLockTimeoutForTesting() {
    g_lockTimeoutMs = m_saved.count();
}

namespace {

// 0 for a regular file, else the errno that says what it is.
int NotRegularError(int fd) {
    struct stat st;
    if (fstat(fd, &st) != 0) return errno;
    if (S_ISREG(st.st_mode)) return 0;
    return S_ISDIR(st.st_mode) ? EISDIR : ENODEV;
}

}  // namespace

int OpenPlainFile(TFileSystem& fs, const std::string& path, int flags, bool regularOnly,
                  mode_t mode) {
    // Without O_NONBLOCK, opening a pipe waits for its other end.
    const int fd = fs.Open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, mode);
    if (fd < 0) return -1;
    const int notRegular = regularOnly ? NotRegularError(fd) : 0;
    if (notRegular != 0 || ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        const int error = notRegular != 0 ? notRegular : errno;
        fs.Close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

bool TLockedFile::Open(TFileSystem& fs, const std::string& path, Access access, bool exclusive,
                       const TProgress* stop, std::chrono::milliseconds bound) {
    Close();
    m_fs = &fs;
    m_error = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::min(LockTimeout(), bound);
    const int flags = access == Access::Read        ? O_RDONLY
                      : access == Access::ReadWrite ? O_RDWR
                                                    : O_RDWR | O_CREAT;
    for (;;) {
        const int fd = OpenPlainFile(fs, path, flags, true, 0644);
        if (fd < 0) {
            m_error = errno;
            return false;
        }
        if (!LockWithin(fs, fd, exclusive, deadline, stop)) {
            m_error = errno == EINTR ? EWOULDBLOCK : errno;
            fs.Close(fd);
            return false;
        }
        // Another process may have replaced or removed the file while we
        // waited; then the lock we hold guards nothing: start again.
        if (IsSameFile(fd, path)) {
            m_fd = fd;
            return true;
        }
        fs.Close(fd);
        if (std::chrono::steady_clock::now() >= deadline) {
            m_error = EWOULDBLOCK;
            return false;
        }
    }
}

void TLockedFile::Close() {
    if (m_fd >= 0) m_fs->Close(m_fd);  // closing drops the lock
    m_fd = -1;
}

bool ReadAt(TFileSystem& fs, int fd, char* buffer, std::size_t n, std::uint64_t offset) {
    while (n > 0) {
        const ssize_t got = fs.ReadAt(fd, buffer, n, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR) continue;
        if (got == 0) errno = 0;  // the file ended first
        if (got <= 0) return false;
        buffer += got;
        n -= static_cast<std::size_t>(got);
        offset += static_cast<std::uint64_t>(got);
    }
    return true;
}

bool WriteAll(TFileSystem& fs, int fd, const char* data, std::size_t n) {
    while (n > 0) {
        const ssize_t put = fs.Write(fd, data, n);
        if (put < 0 && errno == EINTR) continue;
        if (put == 0) errno = ENOSPC;  // nothing written: no room
        if (put <= 0) return false;
        data += put;
        n -= static_cast<std::size_t>(put);
    }
    return true;
}

bool TFileView::Load(TFileSystem& fs, int fd) {
    Reset();
    struct stat st;
    if (fstat(fd, &st) != 0 || st.st_size < 0) return false;
    const auto size = static_cast<std::uint64_t>(st.st_size);
    if (size == 0) {
        m_data = "";
        return true;
    }
    // A large file goes into huge pages where the system has them: reading
    // it then costs a few hundred page faults rather than one per 4 KB.
    constexpr std::size_t kHuge = 2 << 20;
    const std::size_t capacity = size < kHuge ? size : (size + kHuge - 1) / kHuge * kHuge;
    void* memory =
        ::mmap(nullptr, capacity, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) {
        errno = ENOMEM;
        return false;
    }
    if (capacity >= kHuge) (void)::madvise(memory, capacity, MADV_HUGEPAGE);
    m_copy = static_cast<char*>(memory);
    m_capacity = capacity;
    // A file that another program cuts short meanwhile ends early: a short
    // read, which the callers report as damaged.
    if (!ReadAt(fs, fd, m_copy, size, 0)) {
        const int error = errno;
        Reset();
        errno = error;
        return false;
    }
    m_data = m_copy;
    m_size = size;
    return true;
}

void TFileView::Reset() {
    if (m_copy) ::munmap(m_copy, m_capacity);
    m_copy = nullptr;
    m_capacity = 0;
    m_data = nullptr;
    m_size = 0;
}

TScrambledWriter::TScrambledWriter(std::size_t bufferSize) : m_buffer(bufferSize) {}

void TScrambledWriter::Attach(TFileSystem& fs, int fd, std::uint64_t offset) {
    m_fs = &fs;
    m_fd = fd;
    m_offset = offset;
    m_written = offset;
    m_used = 0;
    m_ok = true;
    m_error = 0;
}

char* TScrambledWriter::Reserve(std::size_t& n) {
    if (m_used == m_buffer.size() && !Flush()) return nullptr;
    n = std::min(n, m_buffer.size() - m_used);
    return m_buffer.data() + m_used;
}

bool TScrambledWriter::WritePlain(std::string_view bytes) {
    while (m_ok && !bytes.empty()) {
        std::size_t n = bytes.size();
        char* dst = Reserve(n);
        if (!dst) break;
        std::memcpy(dst, bytes.data(), n);
        m_used += n;
        m_offset += n;
        bytes.remove_prefix(n);
    }
    return m_ok;
}

bool TScrambledWriter::WriteScrambled(std::string_view text) {
    while (m_ok && !text.empty()) {
        std::size_t n = text.size();
        char* dst = Reserve(n);
        if (!dst) break;
        ScrambleBytes(text.data(), dst, n, m_offset);
        m_used += n;
        m_offset += n;
        text.remove_prefix(n);
    }
    return m_ok;
}

bool TScrambledWriter::WriteRescrambled(std::string_view bytes, std::uint64_t from) {
    while (m_ok && !bytes.empty()) {
        std::size_t n = bytes.size();
        char* dst = Reserve(n);
        if (!dst) break;
        RescrambleBytes(bytes.data(), dst, n, from, m_offset);
        m_used += n;
        m_offset += n;
        from += n;
        bytes.remove_prefix(n);
    }
    return m_ok;
}

void TScrambledWriter::WriteBehind() {
    // What was just written goes to the disk now; what was written a window
    // earlier is waited for, so that no more than the window is left for the
    // final fsync. Both are hints: where the system cannot, the final fsync
    // does it all, as without them.
    constexpr std::uint64_t kWindow = 8 << 20;
    (void)::sync_file_range(m_fd, static_cast<off_t>(m_offset - m_used), static_cast<off_t>(m_used),
                            SYNC_FILE_RANGE_WRITE);
    if (m_offset - m_written <= kWindow) return;
    const std::uint64_t end = m_offset - kWindow;
    (void)::sync_file_range(
        m_fd, static_cast<off_t>(m_written), static_cast<off_t>(end - m_written),
        SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER);
    m_written = end;
}

bool TScrambledWriter::Flush() {
    if (m_ok && m_fd < 0) m_error = EBADF;
    if (!m_ok || m_fd < 0) return m_ok = false;
    if (m_used > 0 && !WriteAll(*m_fs, m_fd, m_buffer.data(), m_used)) {
        m_ok = false;
        m_error = errno;
    }
    if (m_ok && m_bWriteBehind && m_used > 0) WriteBehind();
    m_used = 0;
    return m_ok;
}

void RemoveFile(TFileSystem& fs, const std::string& path) {
    if (!path.empty()) fs.Unlink(path.c_str());
}

}  // namespace vrk
