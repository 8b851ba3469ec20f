#include "text_codec.h"

#include <algorithm>
#include <array>

namespace vrk {
namespace {

// clang-format off
constexpr std::array<char16_t, 128> kHighHalf = {
    0x20ac, 0x0081, 0x201a, 0x0083, 0x201e, 0x2026, 0x2020, 0x2021,
    0x0088, 0x2030, 0x0160, 0x2039, 0x015a, 0x0164, 0x017d, 0x0179,
    0x0090, 0x2018, 0x2019, 0x201c, 0x201d, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0161, 0x203a, 0x015b, 0x0165, 0x017e, 0x017a,
    0x00a0, 0x02c7, 0x02d8, 0x0141, 0x00a4, 0x0104, 0x00a6, 0x00a7,
    0x00a8, 0x00a9, 0x015e, 0x00ab, 0x00ac, 0x00ad, 0x00ae, 0x017b,
    0x00b0, 0x00b1, 0x02db, 0x0142, 0x00b4, 0x00b5, 0x00b6, 0x00b7,
    0x00b8, 0x0105, 0x015f, 0x00bb, 0x013d, 0x02dd, 0x013e, 0x017c,
    0x0154, 0x00c1, 0x00c2, 0x0102, 0x00c4, 0x0139, 0x0106, 0x00c7,
    0x010c, 0x00c9, 0x0118, 0x00cb, 0x011a, 0x00cd, 0x00ce, 0x010e,
    0x0110, 0x0143, 0x0147, 0x00d3, 0x00d4, 0x0150, 0x00d6, 0x00d7,
    0x0158, 0x016e, 0x00da, 0x0170, 0x00dc, 0x00dd, 0x0162, 0x00df,
    0x0155, 0x00e1, 0x00e2, 0x0103, 0x00e4, 0x013a, 0x0107, 0x00e7,
    0x010d, 0x00e9, 0x0119, 0x00eb, 0x011b, 0x00ed, 0x00ee, 0x010f,
    0x0111, 0x0144, 0x0148, 0x00f3, 0x00f4, 0x0151, 0x00f6, 0x00f7,
    0x0159, 0x016f, 0x00fa, 0x0171, 0x00fc, 0x00fd, 0x0163, 0x02d9,
};
// clang-format on

// The reverse of kHighHalf, made when compiling: a byte for every code
// point below U+0180 (0 where there is none; every such code point above
// U+007F maps to a byte of the high half), and the rest sorted by code point.
constexpr char32_t kLowCodes = 0x180;
constexpr std::array<unsigned char, kLowCodes> kLowBytes = [] {
    std::array<unsigned char, kLowCodes> bytes{};
    for (std::size_t i = 0; i < kHighHalf.size(); ++i)
        if (kHighHalf[i] < kLowCodes) bytes[kHighHalf[i]] = static_cast<unsigned char>(0x80 + i);
    return bytes;
}();
struct TCodeByte {
    char32_t code;
    unsigned char byte;
};
constexpr std::size_t kHighCount = [] {
    std::size_t n = 0;
    for (const char16_t c : kHighHalf) n += c >= kLowCodes;
    return n;
}();
constexpr std::array<TCodeByte, kHighCount> kHighCodes = [] {
    std::array<TCodeByte, kHighCount> codes{};
    std::size_t n = 0;
    for (std::size_t i = 0; i < kHighHalf.size(); ++i)
        if (kHighHalf[i] >= kLowCodes)
            codes[n++] = {kHighHalf[i], static_cast<unsigned char>(0x80 + i)};
    std::sort(codes.begin(), codes.end(),
              [](const TCodeByte& a, const TCodeByte& b) { return a.code < b.code; });
    return codes;
}();

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

char32_t Cp1250ToUnicode(unsigned char byte) {
    return byte < 0x80 ? byte : kHighHalf[byte - 0x80];
}

std::optional<unsigned char> UnicodeToCp1250(char32_t code) {
    if (code < 0x80) return static_cast<unsigned char>(code);
    if (code < kLowCodes) {
        const unsigned char byte = kLowBytes[code];
        if (byte == 0) return std::nullopt;
        return byte;
    }
    // The few punctuation marks and spacing accents above U+017F.
    const auto* end = kHighCodes.end();
    const auto* at = std::lower_bound(kHighCodes.begin(), end, code,
                                      [](const TCodeByte& c, char32_t v) { return c.code < v; });
    if (at == end || at->code != code) return std::nullopt;
    return at->byte;
}

std::optional<char32_t> NextCodePoint(std::string_view s, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(s[i]);
    int extra;
    char32_t c;
    if (lead < 0x80) {
        ++i;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        c = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        c = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        c = lead & 0x07;
    } else {
        return std::nullopt;
    }
    if (i + extra >= s.size()) return std::nullopt;
    for (int k = 1; k <= extra; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) return std::nullopt;
        c = (c << 6) | (b & 0x3F);
    }
    static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (c < kMin[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
    i += extra + 1;
    return c;
}

std::string Cp1250ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (char b : bytes) AppendUtf8(out, Cp1250ToUnicode(static_cast<unsigned char>(b)));
    return out;
}

std::optional<std::string> Utf8ToCp1250(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    if (!AppendUtf8AsCp1250(utf8, out)) return std::nullopt;
    return out;
}

bool AppendUtf8AsCp1250(std::string_view utf8, std::string& out) {
    for (std::size_t i = 0; i < utf8.size();) {
        // Plain ASCII, the most of any word list, needs no decoding.
        if (static_cast<unsigned char>(utf8[i]) < 0x80) {
            out += utf8[i++];
            continue;
        }
        const auto c = NextCodePoint(utf8, i);
        if (!c) return false;
        const auto b = UnicodeToCp1250(*c);
        if (!b) return false;
        out += static_cast<char>(*b);
    }
    return true;
}

}  // namespace vrk
