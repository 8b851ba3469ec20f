// Windows-1250, the byte encoding of every text in dictionaries and in the
// settings store, to and from Unicode. The five bytes that Windows-1250 leaves
// undefined (0x81, 0x83, 0x88, 0x90, 0x98) map to the code points of the same
// number, so every byte value survives a round trip.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vrk {

// The Unicode code point of one Windows-1250 byte.
char32_t Cp1250ToUnicode(unsigned char byte);
// The byte for a code point, or nothing when Windows-1250 cannot hold it.
std::optional<unsigned char> UnicodeToCp1250(char32_t code);

// The code point of the UTF-8 sequence at s[i], advancing i past it; nothing
// (with i unchanged) when the bytes there are not a well-formed character.
std::optional<char32_t> NextCodePoint(std::string_view s, std::size_t& i);

std::string Cp1250ToUtf8(std::string_view bytes);
// Nothing when the text is not valid UTF-8 or holds a character that
// Windows-1250 cannot hold.
std::optional<std::string> Utf8ToCp1250(std::string_view utf8);
// Appends the UTF-8 text to `out` as Windows-1250; false (with `out` holding
// some of it) when Utf8ToCp1250 would give nothing.
[[nodiscard]] bool AppendUtf8AsCp1250(std::string_view utf8, std::string& out);

}  // namespace vrk
