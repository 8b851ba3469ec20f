// Helpers for the three older dictionary formats the manager converts from
// and to: the second-generation binary file (counted strings, running-sum
// coding), the first-generation fixed-column text and CSV text.
// OLDER_FORMATS.md beside this file describes the formats with examples.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "file_system.h"

namespace vrk {

// Second-generation file constants.
inline constexpr std::string_view kSecondGenFormatName = "Verbatrakon 2.0 slovar";
inline constexpr std::string_view kSecondGenLibraryName = "Exported Library";
// A counted string holds at most this many bytes (the three-byte length form).
inline constexpr std::size_t kMaxCountedLength = 65535;
// First-generation text: the word fills columns 1-29, text starts at column
// 30, export wraps lines at column 80.
inline constexpr std::size_t kFirstGenWordColumns = 29;
inline constexpr std::size_t kFirstGenLineEnd = 80;

// Running-sum coding, in place: each stored byte is the sum (mod 256) of all
// plain bytes up to and including it. Decoding undoes it.
void EncodeRunningSum(std::string& bytes);
void DecodeRunningSum(std::string& bytes);

// Appends a counted string: one length byte (0-254), or 0xFF and a 16-bit
// little-endian length (255-65 535), then the bytes. False (nothing
// appended) when the text is longer than 65 535 bytes.
[[nodiscard]] bool WriteCounted(std::string& out, std::string_view text);

// A buffered reader over a file descriptor it does not own, reading through
// a file layer (file_system.h; the POSIX layer unless given) from the start
// of the file. Every
// read reports whether all requested bytes were there; nothing is ever
// allocated by a length read from the file.
class TByteReader {
  public:
    TByteReader(TFileSystem& fs, int fd) : m_fs(fs), m_fd(fd) {}
    explicit TByteReader(int fd) : TByteReader(PosixFileSystem(), fd) {}
    // Next byte, or -1 at the end of the file (or on a read error).
    int Get();
    // The next byte without consuming it, or -1.
    int Peek();
    // Reads n bytes, appending at most `keep` of them to out (the rest are
    // read and dropped). False when the file ends first.
    [[nodiscard]] bool Read(std::size_t n, std::string& out, std::size_t keep);
    [[nodiscard]] bool Skip(std::size_t n);
    // Back to the start of the file; false after a failed read or a stop.
    [[nodiscard]] bool Rewind();
    // The errno of a failed read (which reads as the end of the file), 0
    // when none failed.
    int error() const { return m_error; }
    // Called with the bytes read so far after each block is read; when it
    // returns false the reading ends as at the end of the file, and
    // stopped() is true.
    void SetBlockHook(std::function<bool(std::uint64_t)> hook) { m_hook = std::move(hook); }
    bool stopped() const { return m_stopped; }

  private:
    bool Fill();
    TFileSystem& m_fs;
    int m_fd;
    std::vector<char> m_buffer = std::vector<char>(1 << 16);
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
    std::uint64_t m_offset = 0;  // of the byte after the buffer
    bool m_ended = false;        // the last read found the end (or failed)
    int m_error = 0;
    bool m_stopped = false;
    std::function<bool(std::uint64_t)> m_hook;
};

// Reads a counted string into out (replacing it), keeping at most `limit`
// bytes; bytes beyond the limit are read and dropped. False on a short read.
[[nodiscard]] bool ReadCounted(TByteReader& in, std::string& out, std::size_t limit);

// Reads a 32-bit little-endian number. False on a short read.
[[nodiscard]] bool ReadFixed32(TByteReader& in, std::uint32_t& value);

// A text read from an older-format file as the word or description text of
// a record: its bytes without any 0x00 (a record never holds 0x00).
std::string WithoutNul(std::string_view text);

// The entry record for a word and a description text in which `separator`
// divides the descriptions: word, 0x01, then the text with each separator
// turned into 0x01, blanks at the start of a description dropped, and
// blanks before a separator dropped (a blank separator is no such blank).
// Never longer than 99 999 bytes; *cut, when given, tells whether the word
// and text did not fit.
std::string BuildRecord(std::string_view word, std::string_view text, char separator,
                        bool* cut = nullptr);

// One CSV line as an entry record: "," and ";" outside double quotes divide
// the fields (0x01); a double quote opens a quoted section in which "" is one
// quote and a single quote closes it. The first field is the word.
std::string CsvLineToRecord(std::string_view line);
// An entry record as one CSV line (no line end): the word and each
// description as fields divided by separator; a field holding a double
// quote, the separator, "," or ";" is quoted, with its quotes doubled.
std::string RecordToCsvLine(std::string_view record, char separator);

// Appends one entry in first-generation layout, with CR LF line ends: the
// word cut and padded to 29 columns, then the descriptions (joined by
// separator and a space) wrapped at column 80 onto lines indented by 29
// spaces. A word without descriptions stands alone on its line, cut too.
void AppendFirstGenEntry(std::string& out, std::string_view record, char separator);

// Reads first-generation entries one at a time.
class TFirstGenReader {
  public:
    explicit TFirstGenReader(TByteReader& in) : m_in(in) {}
    // The next entry's word and description text (continuation lines joined
    // with one space). False at the end of the file.
    [[nodiscard]] bool Next(std::string& word, std::string& text);
    // True when the entry Next read last had to be cut to fit a record.
    bool cut() const { return m_cut; }
    // Counts the entries left from the current position (the file position
    // moves to the end); used for the progress total.
    static std::int64_t CountEntries(TByteReader& in);

  private:
    // Consumes a line end (CR LF, CR or LF) whose first byte was c.
    void FinishLineEnd(int c);
    TByteReader& m_in;
    bool m_cut = false;
};

// Reads the next CSV line without its line end (LF, CR or CR LF), keeping at
// most 99 999 bytes of it (*cut, when given, tells whether it was longer).
// False at the end of the file.
[[nodiscard]] bool ReadCsvLine(TByteReader& in, std::string& line, bool* cut = nullptr);
// The number of lines ReadCsvLine will return from the current position (the
// file position moves to the end).
std::int64_t CountCsvLines(TByteReader& in);

}  // namespace vrk
