#include "manager/picture_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

// Reads up to `size` bytes at the file's position; the count read, -1 on an
// error.
long long ReadUpTo(int fd, char* data, std::uint64_t size) {
    std::uint64_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, data + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return -1;
        if (n == 0) break;
        done += static_cast<std::uint64_t>(n);
    }
    return static_cast<long long>(done);
}

bool ReadOpenFile(int fd, std::string& bytes) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return false;
    const auto size = static_cast<std::uint64_t>(st.st_size);
    if (size > kMaxPictureBytes) return false;
    bytes.resize(size);
    if (ReadUpTo(fd, bytes.data(), size) != static_cast<long long>(size)) return false;
    // A file that grew while it was read is not read whole.
    char more = 0;
    return ReadUpTo(fd, &more, 1) == 0;
}

}  // namespace

bool ReadPictureFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    // Without blocking, so that a pipe is refused rather than waited on.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ReadOpenFile(fd, bytes);
    ::close(fd);
    if (!ok) bytes.clear();
    return ok;
}
