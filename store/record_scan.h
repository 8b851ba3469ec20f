// Walking the scrambled records of a dictionary held in memory. Terminators
// are stored as 0x00, so records are found without unscrambling; only the
// bytes a caller looks at are unscrambled.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "coding.h"
#include "format.h"

namespace vrk {

// A record inside a file view: its absolute offset and length (without the
// terminator).
struct TRecordSpan {
    std::uint64_t offset = 0;
    std::size_t length = 0;
};

// The record starting at pos, when its terminator lies before end; pos then
// moves past the terminator.
inline bool NextRecord(std::string_view file, std::uint64_t end, std::uint64_t& pos,
                       TRecordSpan& record) {
    if (pos >= end) return false;
    const void* t = std::memchr(file.data() + pos, 0, end - pos);
    if (!t) return false;
    const auto stop = static_cast<std::uint64_t>(static_cast<const char*>(t) - file.data());
    record.offset = pos;
    record.length = stop - pos;
    pos = stop + 1;
    return true;
}

// Moves pos past n records; false when the records end first. Whole blocks
// with fewer terminators than are still to skip are passed over by counting
// their zero bytes, a loop the compiler vectorises.
inline bool SkipRecords(std::string_view file, std::uint64_t end, std::uint64_t& pos,
                        std::int64_t n) {
    constexpr std::size_t kBlock = 256;
    const auto* bytes = reinterpret_cast<const unsigned char*>(file.data());
    while (n > 0 && end >= pos + kBlock) {
        unsigned zeros = 0;
        for (std::size_t i = 0; i < kBlock; ++i) zeros += bytes[pos + i] == 0;
        if (zeros >= n) break;
        n -= zeros;
        pos += kBlock;
    }
    TRecordSpan ignored;
    for (; n > 0; --n)
        if (!NextRecord(file, end, pos, ignored)) return false;
    return true;
}

// The plain text of a record, cut to at most `max` bytes.
inline void UnscrambleRecord(std::string_view file, const TRecordSpan& record, std::string& out,
                             std::size_t max = kMaxRecordText) {
    const std::size_t n = record.length < max ? record.length : max;
    out.resize(n);
    ScrambleBytes(file.data() + record.offset, out.data(), n, record.offset);
}

// The word of a plain record: the bytes before its first 0x01.
inline std::string_view WordOf(std::string_view record) {
    return record.substr(0, record.find(kDescriptionMark));
}

// True when the scrambled record's word equals `word` byte for byte.
inline bool ScrambledWordEquals(std::string_view file, const TRecordSpan& record,
                                std::string_view word) {
    if (record.length < word.size()) return false;
    const char* p = file.data() + record.offset;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (ScrambleByte(p[i], record.offset + i) != word[i]) return false;
    return record.length == word.size() ||
           ScrambleByte(p[word.size()], record.offset + word.size()) == kDescriptionMark;
}

}  // namespace vrk
