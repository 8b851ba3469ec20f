// QString <-> Windows-1250 bytes, the one place where the user interface turns
// the texts of dictionaries and of the settings store into what it shows and
// back. The byte table is store/text_codec.h's; every byte value maps to a
// code point that maps back, so FromCp1250 followed by ToCp1250 returns the
// original bytes for any input. File names are converted here too, but
// never as Windows-1250 (PathBytes, PathText).
#pragma once

#include <QList>
#include <QString>
#include <limits>
#include <string>
#include <string_view>

namespace vrk {

// The text of Windows-1250 bytes. Never fails; a 0x00 byte becomes U+0000.
QString FromCp1250(std::string_view bytes);

// The Windows-1250 bytes of `text`. A character that Windows-1250 cannot hold
// becomes `replacement` (default "?"); `lossless`, when given, tells whether
// every character was held exactly.
std::string ToCp1250(const QString& text, bool* lossless = nullptr, char replacement = '?');

// The characters of `text` that Windows-1250 cannot hold, each once, in the
// order of their first appearance; the first `most` of them.
[[nodiscard]] QList<char32_t> CharactersOutsideCp1250(
    const QString& text, qsizetype most = std::numeric_limits<qsizetype>::max());

// A file name as the file system takes it (the bytes Qt's own file classes
// use), and the text of such bytes, for showing and for Qt's file classes.
[[nodiscard]] std::string PathBytes(const QString& path);
[[nodiscard]] QString PathText(std::string_view bytes);

}  // namespace vrk
