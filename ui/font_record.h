// The stored font: a 60-byte record with the fields of a logical font
// description, kept as a binary settings value (TFontValue of
// settings/registry_helpers.h), and its conversion to and from QFont.
//
// Layout, little-endian: height, width, escapement, orientation, weight (five
// signed 32-bit numbers at offsets 0, 4, 8, 12, 16); italic, underline,
// strike-out, character set, output precision, clipping precision, quality,
// pitch and family (one byte each at 20..27); face name (32 bytes at 28,
// Windows-1250, zero-terminated).
#pragma once

#include <QFont>
#include <array>
#include <cstdint>
#include <string_view>

#include "settings/registry_helpers.h"

namespace vrk {

struct TFontRecord {
    std::int32_t height = 0;  // < 0: character height in pixels; > 0: cell height
    std::int32_t width = 0;   // average character width; 0 lets the face decide
    std::int32_t escapement = 0;
    std::int32_t orientation = 0;
    std::int32_t weight = 0;  // 0 default, 400 normal, 700 bold, up to 1000
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = 0;
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0;
    std::array<char, 32> faceName{};  // zero-terminated

    std::string_view FaceName() const;
    // Sets the face, cut to 31 bytes.
    void SetFaceName(std::string_view bytes);

    bool operator==(const TFontRecord&) const = default;
};

// The character set that fonts made here carry: Central European.
inline constexpr std::uint8_t kEastEuropeCharSet = 238;

TFontValue EncodeFontRecord(const TFontRecord& record);
// Every 60-byte value decodes; a face name without a terminator is cut at 31
// bytes.
TFontRecord DecodeFontRecord(const TFontValue& value);

// The font a record describes. A weight above 1000 is the heaviest weight; a
// width is shown as a stretch of the face; escapement and orientation are not
// shown. An empty face name gives the application's font with the other
// fields applied.
QFont FontFromRecord(const TFontRecord& record);
// The record of a font: its size as a negative pixel height (a point size is
// converted at the screen's resolution), weight, style, face and family.
// FontFromRecord(RecordFromFont(f)) shows the same font as f.
TFontRecord RecordFromFont(const QFont& font);

// Reads the font value `name` under the full key path; false when it is
// missing or not exactly 60 bytes of binary data (`font` is then unchanged).
[[nodiscard]] bool ReadFontSetting(std::string_view keyPath, std::string_view name, QFont& font);
// Stores `font` as the value `name`, creating the key and overwriting.
[[nodiscard]] bool WriteFontSetting(std::string_view keyPath, std::string_view name,
                                    const QFont& font);
// The stored font, or `current` when none can be read; `current` is then
// stored, so that from then on the stored value is used.
QFont ReadFontOrStore(std::string_view keyPath, std::string_view name, const QFont& current);

}  // namespace vrk
