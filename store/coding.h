// Byte coding of the dictionary format: little-endian integers and the
// record scrambling (FORMAT.md, "Scrambling"). All byte-level encoding of
// .vrk3 files, and the numbers of the older formats (OLDER_FORMATS.md),
// go through here.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "format.h"

namespace vrk {

extern const std::array<std::uint8_t, kKeyTableSize> kRecordKeyTable;

inline void PutFixed32(char* dst, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) dst[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

inline std::uint32_t DecodeFixed32(const char* src) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<std::uint8_t>(src[i]);
    return value;
}

inline void PutFixed16(char* dst, std::uint16_t value) {
    dst[0] = static_cast<char>(value & 0xFF);
    dst[1] = static_cast<char>(value >> 8);
}

inline std::uint16_t DecodeFixed16(const char* src) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(src[0]) |
                                      (static_cast<std::uint8_t>(src[1]) << 8));
}

// The scrambling is its own inverse: a byte that is 0x00 or equal to its key
// stays as it is, every other byte is XORed with the key. 0x00 therefore
// stays 0x00, which lets readers find terminators in scrambled bytes.
inline char ScrambleByte(char b, std::uint64_t offset) {
    const auto k = static_cast<char>(kRecordKeyTable[offset % kKeyTableSize]);
    return (b == 0 || b == k) ? b : static_cast<char>(b ^ k);
}

// Scrambles (or unscrambles) n bytes from src into dst as if they stood at
// absolute offset `offset`. src and dst may be the same buffer.
void ScrambleBytes(const char* src, char* dst, std::size_t n, std::uint64_t offset);

// Turns bytes scrambled at offset `from` into the same text scrambled at
// offset `to`, in one pass. src and dst may be the same buffer.
void RescrambleBytes(const char* src, char* dst, std::size_t n, std::uint64_t from,
                     std::uint64_t to);

// FNV-1a 64 of the key table; pinned by a test so that the table never changes.
std::uint64_t KeyTableChecksum();

}  // namespace vrk
