#include "older_formats.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "coding.h"
#include "format.h"

namespace vrk {
namespace {

inline bool IsBlank(int c) {
    return c == ' ' || c == '\t';
}
inline bool IsLineEnd(int c) {
    return c == '\r' || c == '\n';
}

void TrimTrailingBlanks(std::string& text) {
    while (!text.empty() && IsBlank(text.back())) text.pop_back();
}

void AppendWrap(std::string& out) {
    out += "\r\n";
    out.append(kFirstGenWordColumns, ' ');
}

}  // namespace

void EncodeRunningSum(std::string& bytes) {
    unsigned char sum = 0;
    for (char& c : bytes) {
        sum = static_cast<unsigned char>(sum + static_cast<unsigned char>(c));
        c = static_cast<char>(sum);
    }
}

void DecodeRunningSum(std::string& bytes) {
    for (std::size_t i = bytes.size(); i-- > 1;)
        bytes[i] = static_cast<char>(static_cast<unsigned char>(bytes[i]) -
                                     static_cast<unsigned char>(bytes[i - 1]));
}

bool WriteCounted(std::string& out, std::string_view text) {
    if (text.size() > kMaxCountedLength) return false;
    if (text.size() < 255) {
        out += static_cast<char>(text.size());
    } else {
        char length[2];
        PutFixed16(length, static_cast<std::uint16_t>(text.size()));
        out += '\xff';
        out.append(length, sizeof length);
    }
    out += text;
    return true;
}

// --- TByteReader

bool TByteReader::Fill() {
    if (m_pos < m_end) return true;
    m_pos = m_end = 0;
    if (m_ended) return false;
    ssize_t n;
    do {
        n = m_fs.ReadAt(m_fd, m_buffer.data(), m_buffer.size(), static_cast<off_t>(m_offset));
    } while (n < 0 && errno == EINTR);
    if (n <= 0) {
        if (n < 0) m_error = errno;
        m_ended = true;
        return false;
    }
    m_end = static_cast<std::size_t>(n);
    m_offset += m_end;
    if (m_hook && !m_hook(m_offset)) {
        m_stopped = m_ended = true;
        m_end = 0;
        return false;
    }
    return true;
}

int TByteReader::Get() {
    if (!Fill()) return -1;
    return static_cast<unsigned char>(m_buffer[m_pos++]);
}

int TByteReader::Peek() {
    if (!Fill()) return -1;
    return static_cast<unsigned char>(m_buffer[m_pos]);
}

bool TByteReader::Read(std::size_t n, std::string& out, std::size_t keep) {
    while (n > 0) {
        if (!Fill()) return false;
        const std::size_t chunk = std::min(n, m_end - m_pos);
        const std::size_t kept = std::min(chunk, keep);
        out.append(m_buffer.data() + m_pos, kept);
        keep -= kept;
        m_pos += chunk;
        n -= chunk;
    }
    return true;
}

bool TByteReader::Skip(std::size_t n) {
    std::string none;
    return Read(n, none, 0);
}

bool TByteReader::Rewind() {
    m_pos = m_end = 0;
    m_offset = 0;
    m_ended = m_error != 0 || m_stopped;
    return !m_ended;
}

bool ReadCounted(TByteReader& in, std::string& out, std::size_t limit) {
    out.clear();
    const int first = in.Get();
    if (first < 0) return false;
    std::size_t length = static_cast<std::size_t>(first);
    if (first == 255) {
        std::string bytes;
        if (!in.Read(2, bytes, 2)) return false;
        length = DecodeFixed16(bytes.data());
    }
    return in.Read(length, out, limit);
}

bool ReadFixed32(TByteReader& in, std::uint32_t& value) {
    value = 0;
    std::string bytes;
    if (!in.Read(4, bytes, 4)) return false;
    value = DecodeFixed32(bytes.data());
    return true;
}

std::string WithoutNul(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t nul = std::min(text.find('\0', start), text.size());
        out.append(text.substr(start, nul - start));
        start = nul + 1;
    }
    return out;
}

// --- Record building

std::string BuildRecord(std::string_view plainWord, std::string_view plainText, char separator,
                        bool* cut) {
    // Only the zero bytes go: a record cannot hold them, the rest is text.
    const std::string cleanWord = WithoutNul(plainWord), cleanText = WithoutNul(plainText);
    const std::string_view word = cleanWord, text = cleanText;
    std::string record(word.substr(0, kMaxRecordText));
    if (record.size() < kMaxRecordText) record += kDescriptionMark;
    // A blank is dropped when a separator follows it after further blanks;
    // the end of the current run of blanks is found once per run, so a long
    // run costs linear time. A blank separator ends such a run.
    std::size_t runEnd = 0;
    auto blank = [&](char c) { return c != separator && IsBlank(c); };
    auto ordinary = [&](char c) { return c != separator && !IsBlank(c); };
    for (std::size_t i = 0; i < text.size() && record.size() < kMaxRecordText; ++i) {
        const char c = text[i];
        if (ordinary(c)) {
            // A run of ordinary characters is copied at once.
            std::size_t end = i + 1;
            while (end < text.size() && ordinary(text[end])) ++end;
            record.append(text.substr(i, std::min(end - i, kMaxRecordText - record.size())));
            i = end - 1;
            continue;
        }
        if (c == separator) {
            record += kDescriptionMark;
            continue;
        }
        if (blank(c)) {
            if (record.back() == kDescriptionMark) continue;
            if (runEnd <= i) {
                runEnd = i;
                while (runEnd < text.size() && blank(text[runEnd])) ++runEnd;
            }
            if (runEnd < text.size() && text[runEnd] == separator) continue;
        }
        record += c;
    }
    if (cut)
        *cut = word.size() + 1 + text.size() > kMaxRecordText && record.size() >= kMaxRecordText;
    return record;
}

std::string CsvLineToRecord(std::string_view rawLine) {
    const std::string clean = WithoutNul(rawLine);
    const std::string_view line = clean;
    std::string record;
    record.reserve(line.size());
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c != '"') {
                record += c;
            } else if (i + 1 < line.size() && line[i + 1] == '"') {
                record += '"';
                ++i;
            } else {
                quoted = false;
            }
        } else if (c == ',' || c == ';') {
            record += kDescriptionMark;
        } else if (c == '"') {
            quoted = true;
        } else {
            record += c;
        }
    }
    return record;
}

std::string RecordToCsvLine(std::string_view record, char separator) {
    std::string line;
    line.reserve(record.size() + 8);
    std::size_t start = 0;
    while (true) {
        const std::size_t mark = std::min(record.find(kDescriptionMark, start), record.size());
        const std::string_view field = record.substr(start, mark - start);
        if (start > 0) line += separator;
        const bool quote =
            field.find_first_of(std::string{'"', ',', ';', separator}) != std::string_view::npos;
        if (!quote) {
            line += field;
        } else {
            line += '"';
            for (char c : field) {
                if (c == '"') line += '"';
                line += c;
            }
            line += '"';
        }
        if (mark == record.size()) break;
        start = mark + 1;
    }
    return line;
}

// --- First-generation layout

void AppendFirstGenEntry(std::string& out, std::string_view record, char separator) {
    const std::size_t mark = record.find(kDescriptionMark);
    // A word alone on its line is cut too: a reader takes column 30 on for
    // the description text.
    if (mark == std::string_view::npos) {
        out += record.substr(0, kFirstGenWordColumns);
        out += "\r\n";
        return;
    }
    const std::string_view word = record.substr(0, std::min(mark, kFirstGenWordColumns));
    out += word;
    out.append(kFirstGenWordColumns - word.size(), ' ');
    const std::string_view text = record.substr(mark + 1);
    std::size_t col = kFirstGenWordColumns;
    // True right after a wrap (line break and indentation): a blank there is
    // dropped so that continuation text starts exactly at column 30.
    bool lineStart = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (col == kFirstGenLineEnd) {
            AppendWrap(out);
            col = kFirstGenWordColumns;
            lineStart = true;
        }
        if (IsBlank(c)) {
            if (lineStart) continue;
            std::size_t next = i + 1;
            while (next < text.size() && !IsBlank(text[next])) ++next;
            const std::size_t n = next - i;
            if (n <= 50 && col + n > kFirstGenLineEnd) {
                AppendWrap(out);
                col = kFirstGenWordColumns;
                lineStart = true;
            } else {
                out += c;
                lineStart = false;
            }
        } else if (c == kDescriptionMark) {
            out += separator;
            if (col >= kFirstGenLineEnd - 1) {
                AppendWrap(out);
                col = kFirstGenWordColumns;
                lineStart = true;
            } else {
                out += ' ';
                lineStart = false;
            }
        } else {
            out += c;
            lineStart = false;
        }
        // The column counts one step per text character, also for a wrap
        // that replaced a blank and for a separator written with its space.
        ++col;
    }
    out += "\r\n";
}

void TFirstGenReader::FinishLineEnd(int c) {
    if (c == '\r' && m_in.Peek() == '\n') m_in.Get();
}

namespace {

// Appends the rest of the line to text (keeping at most MAX_RECORD bytes of
// text; cut tells when more were dropped) and consumes its line end.
template <typename FinishLineEnd>
void ReadToLineEnd(TByteReader& in, std::string& text, bool& cut, FinishLineEnd finish) {
    while (true) {
        const int c = in.Get();
        if (c < 0) return;
        if (IsLineEnd(c)) {
            finish(c);
            return;
        }
        if (text.size() < MAX_RECORD)
            text += static_cast<char>(c);
        else
            cut = true;
    }
}

}  // namespace

bool TFirstGenReader::Next(std::string& word, std::string& text) {
    word.clear();
    text.clear();
    m_cut = false;
    if (m_in.Peek() < 0) return false;
    auto finish = [this](int c) { FinishLineEnd(c); };
    bool lineEnded = false;
    for (std::size_t n = 0; n < kFirstGenWordColumns; ++n) {
        const int c = m_in.Get();
        if (c < 0) {
            lineEnded = true;
            break;
        }
        if (IsLineEnd(c)) {
            FinishLineEnd(c);
            lineEnded = true;
            break;
        }
        word += static_cast<char>(c);
    }
    TrimTrailingBlanks(word);
    if (!lineEnded) ReadToLineEnd(m_in, text, m_cut, finish);
    while (true) {
        TrimTrailingBlanks(text);
        if (!IsBlank(m_in.Peek())) return true;
        // A continuation line: skip its indentation (columns 1-29, but never
        // past its line end) and join its text with one space.
        for (std::size_t n = 0; n < kFirstGenWordColumns; ++n) {
            const int c = m_in.Peek();
            if (c < 0 || IsLineEnd(c)) break;
            m_in.Get();
        }
        if (text.size() < MAX_RECORD) text += ' ';
        ReadToLineEnd(m_in, text, m_cut, finish);
    }
}

namespace {

// Counts the lines of the rest of the file: every line end (LF, CR or
// CR LF) whose next byte starts a new line by `startsLine`, plus a last
// line without a line end.
template <class StartsLine>
std::int64_t CountLines(TByteReader& in, StartsLine startsLine) {
    std::int64_t lines = 0;
    int last = -1;
    while (true) {
        const int c = in.Get();
        if (c < 0) break;
        last = c;
        if (!IsLineEnd(c)) continue;
        if (c == '\r' && in.Peek() == '\n') last = in.Get();
        if (startsLine(in.Peek())) ++lines;
    }
    if (last >= 0 && !IsLineEnd(last)) ++lines;
    return lines;
}

}  // namespace

std::int64_t TFirstGenReader::CountEntries(TByteReader& in) {
    // A line that begins with a blank continues the entry before it.
    return CountLines(in, [](int next) { return !IsBlank(next); });
}

// --- CSV lines

bool ReadCsvLine(TByteReader& in, std::string& line, bool* cut) {
    line.clear();
    if (cut) *cut = false;
    int c = in.Get();
    if (c < 0) return false;
    while (c >= 0 && !IsLineEnd(c)) {
        if (line.size() < kMaxRecordText)
            line += static_cast<char>(c);
        else if (cut)
            *cut = true;
        c = in.Get();
    }
    if (c == '\r' && in.Peek() == '\n') in.Get();
    return true;
}

std::int64_t CountCsvLines(TByteReader& in) {
    return CountLines(in, [](int) { return true; });
}

}  // namespace vrk
