// Reading the scrambled records of a dictionary file in order through one
// small buffer that is reused, instead of touching the whole file in memory:
// a search visits every record once, and a buffer that stays in the cache
// makes that pass several times faster than walking a mapping of the file.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "terminator_scan.h"

namespace vrk {

class TFileSystem;

class TRecordStream {
  public:
    // Streams the records in [begin, end) of the open file fd (absolute
    // offsets), read through `fs`. chunk is the size of each read.
    TRecordStream(TFileSystem& fs, int fd, std::uint64_t begin, std::uint64_t end,
                  std::size_t chunk = 1 << 20);

    // The next record's scrambled bytes (without the terminator) and its
    // absolute offset. The bytes stay valid until the next call. False when
    // the records end without a terminator (errno 0), or on a read error.
    [[nodiscard]] bool Next(std::string_view& record, std::uint64_t& offset);

  private:
    // Keeps the unfinished record, reads the next bytes after it.
    bool Refill();

    TFileSystem& m_fs;
    int m_fd;
    std::uint64_t m_end;
    std::vector<char> m_buffer;
    std::uint64_t m_bufferOffset;  // file offset of m_buffer[0]
    std::size_t m_filled = 0;      // bytes of m_buffer holding file data
    std::size_t m_next = 0;        // where the next record starts in m_buffer
    TTerminatorScan m_scan;
};

}  // namespace vrk
