#include "record_stream.h"
#include "file_system.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace vrk {

TRecordStream::TRecordStream(TFileSystem& fs, int fd, std::uint64_t begin, std::uint64_t end,
                             std::size_t chunk)
    : m_fs(fs),
      m_fd(fd),
      m_end(std::max(begin, end)),
      // A small dictionary needs no more than its own size.
      m_buffer(static_cast<std::size_t>(
          std::max<std::uint64_t>(64, std::min<std::uint64_t>(chunk, m_end - begin)))),
      m_bufferOffset(begin),
      m_scan(m_buffer.data(), 0, 0) {}

bool TRecordStream::Next(std::string_view& record, std::uint64_t& offset) {
    std::uint64_t zero = 0;
    while (!m_scan.Next(zero)) {
        if (!Refill()) return false;
    }
    record = std::string_view(m_buffer.data() + m_next, zero - m_next);
    offset = m_bufferOffset + m_next;
    m_next = zero + 1;
    return true;
}

bool TRecordStream::Refill() {
    const std::uint64_t dataEnd = m_bufferOffset + m_filled;
    if (dataEnd >= m_end) {
        errno = 0;  // the records ended without a terminator: not a read error
        return false;
    }
    // The unfinished record moves to the front; a record longer than the
    // buffer (only in a damaged file) makes the buffer grow, which the
    // file's own size bounds.
    const std::size_t tail = m_filled - m_next;
    if (tail == m_buffer.size()) m_buffer.resize(m_buffer.size() * 2);
    std::memmove(m_buffer.data(), m_buffer.data() + m_next, tail);
    m_bufferOffset += m_next;
    m_next = 0;
    m_filled = tail;
    const std::size_t want =
        static_cast<std::size_t>(std::min<std::uint64_t>(m_buffer.size() - tail, m_end - dataEnd));
    std::size_t got = 0;
    while (got < want) {
        const ssize_t n = m_fs.ReadAt(m_fd, m_buffer.data() + tail + got, want - got,
                                      static_cast<off_t>(dataEnd + got));
        if (n < 0 && errno == EINTR) continue;
        if (n == 0) errno = 0;  // the file is shorter than it was
        if (n <= 0) return false;
        got += static_cast<std::size_t>(n);
    }
    m_filled += got;
    // Only the new bytes can hold a terminator.
    m_scan = TTerminatorScan(m_buffer.data(), tail, m_filled);
    return true;
}

}  // namespace vrk
