#include "ui/font_record.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "store/coding.h"
#include "ui/cp1250_text.h"

namespace vrk {
namespace {

// Family bits of the pitch-and-family byte (its high nibble) and the pitch
// bits (its low two bits).
constexpr std::uint8_t kFamilyRoman = 0x10, kFamilySwiss = 0x20, kFamilyModern = 0x30,
                       kFamilyScript = 0x40, kFamilyDecorative = 0x50;
constexpr std::uint8_t kPitchFixed = 1, kPitchVariable = 2;
constexpr std::uint8_t kQualityNonAntialiased = 3, kQualityAntialiased = 4;

// The five numbers of the record are little-endian, coded like every other
// stored number.
void PutInt(TFontValue& value, std::size_t at, std::int32_t number) {
    PutFixed32(reinterpret_cast<char*>(value.data() + at), static_cast<std::uint32_t>(number));
}

std::int32_t GetInt(const TFontValue& value, std::size_t at) {
    return static_cast<std::int32_t>(
        DecodeFixed32(reinterpret_cast<const char*>(value.data() + at)));
}

double ScreenDpi() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchY() : 96.0;
}

QFont::StyleHint HintOfFamily(std::uint8_t family) {
    switch (family & 0xF0) {
        case kFamilyRoman:
            return QFont::Serif;
        case kFamilySwiss:
            return QFont::SansSerif;
        case kFamilyModern:
            return QFont::Monospace;
        case kFamilyScript:
            return QFont::Cursive;
        case kFamilyDecorative:
            return QFont::Decorative;
        default:
            return QFont::AnyStyle;
    }
}

std::uint8_t FamilyOfHint(QFont::StyleHint hint) {
    switch (hint) {
        case QFont::Serif:
            return kFamilyRoman;
        case QFont::SansSerif:
            return kFamilySwiss;
        case QFont::Monospace:
        case QFont::TypeWriter:
            return kFamilyModern;
        case QFont::Cursive:
            return kFamilyScript;
        case QFont::Decorative:
            return kFamilyDecorative;
        default:
            return 0;
    }
}

}  // namespace

std::string_view TFontRecord::FaceName() const {
    return std::string_view(faceName.data(), strnlen(faceName.data(), faceName.size() - 1));
}

void TFontRecord::SetFaceName(std::string_view bytes) {
    faceName.fill('\0');
    bytes = bytes.substr(0, std::min(bytes.find('\0'), faceName.size() - 1));
    std::copy(bytes.begin(), bytes.end(), faceName.begin());
}

TFontValue EncodeFontRecord(const TFontRecord& r) {
    TFontValue value{};
    PutInt(value, 0, r.height);
    PutInt(value, 4, r.width);
    PutInt(value, 8, r.escapement);
    PutInt(value, 12, r.orientation);
    PutInt(value, 16, r.weight);
    const std::uint8_t bytes[8] = {r.italic,       r.underline,     r.strikeOut, r.charSet,
                                   r.outPrecision, r.clipPrecision, r.quality,   r.pitchAndFamily};
    std::copy(std::begin(bytes), std::end(bytes), value.begin() + 20);
    std::copy(r.faceName.begin(), r.faceName.end(), value.begin() + 28);
    value[kFontValueSize - 1] = 0;
    return value;
}

TFontRecord DecodeFontRecord(const TFontValue& value) {
    TFontRecord r;
    r.height = GetInt(value, 0);
    r.width = GetInt(value, 4);
    r.escapement = GetInt(value, 8);
    r.orientation = GetInt(value, 12);
    r.weight = GetInt(value, 16);
    r.italic = value[20];
    r.underline = value[21];
    r.strikeOut = value[22];
    r.charSet = value[23];
    r.outPrecision = value[24];
    r.clipPrecision = value[25];
    r.quality = value[26];
    r.pitchAndFamily = value[27];
    r.SetFaceName(std::string_view(reinterpret_cast<const char*>(value.data() + 28), 32));
    return r;
}

QFont FontFromRecord(const TFontRecord& r) {
    QFont font = QGuiApplication::font();
    if (!r.FaceName().empty()) font.setFamilies({FromCp1250(r.FaceName())});
    // A positive height is the cell height, of which the character itself is
    // about five sixths; without the face's metrics that is the best guess.
    if (r.height < 0) font.setPixelSize(-r.height);
    if (r.height > 0) font.setPixelSize(std::max(1, r.height * 5 / 6));
    if (r.weight > 0) font.setWeight(static_cast<QFont::Weight>(std::clamp(r.weight, 1, 1000)));
    font.setItalic(r.italic != 0);
    font.setUnderline(r.underline != 0);
    font.setStrikeOut(r.strikeOut != 0);
    if (r.width != 0 && r.height != 0) {
        // A face's average character width is about half its height.
        const int stretch =
            static_cast<int>(std::lround(200.0 * std::abs(r.width) / std::abs(r.height)));
        font.setStretch(std::clamp(stretch, 1, 4000));
    }
    if (HintOfFamily(r.pitchAndFamily) != QFont::AnyStyle)
        font.setStyleHint(HintOfFamily(r.pitchAndFamily));
    font.setFixedPitch((r.pitchAndFamily & 3) == kPitchFixed);
    if (r.quality == kQualityNonAntialiased) font.setStyleStrategy(QFont::NoAntialias);
    if (r.quality == kQualityAntialiased) font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

TFontRecord RecordFromFont(const QFont& font) {
    TFontRecord r;
    int pixels = font.pixelSize();
    if (pixels <= 0) pixels = static_cast<int>(std::lround(font.pointSizeF() * ScreenDpi() / 72.0));
    r.height = -std::max(1, pixels);
    if (font.stretch() != QFont::AnyStretch && font.stretch() != QFont::Unstretched)
        r.width = static_cast<std::int32_t>(std::lround(font.stretch() * pixels / 200.0));
    r.weight = font.weight();
    r.italic = font.italic() ? 1 : 0;
    r.underline = font.underline() ? 1 : 0;
    r.strikeOut = font.strikeOut() ? 1 : 0;
    r.charSet = kEastEuropeCharSet;
    if (font.styleStrategy() & QFont::NoAntialias) r.quality = kQualityNonAntialiased;
    if (font.styleStrategy() & QFont::PreferAntialias) r.quality = kQualityAntialiased;
    r.pitchAndFamily = static_cast<std::uint8_t>(
        FamilyOfHint(font.styleHint()) | (font.fixedPitch() ? kPitchFixed : kPitchVariable));
    r.SetFaceName(ToCp1250(font.family()));
    return r;
}

bool ReadFontSetting(std::string_view keyPath, std::string_view name, QFont& font) {
    TFontValue value{};
    if (!TGetRegistryFont(keyPath, name, value)) return false;
    font = FontFromRecord(DecodeFontRecord(value));
    return true;
}

bool WriteFontSetting(std::string_view keyPath, std::string_view name, const QFont& font) {
    return TSetRegistryFont(keyPath, name, EncodeFontRecord(RecordFromFont(font)));
}

QFont ReadFontOrStore(std::string_view keyPath, std::string_view name, const QFont& current) {
    QFont font = current;
    if (ReadFontSetting(keyPath, name, font)) return font;
    (void)WriteFontSetting(keyPath, name, current);
    return current;
}

}  // namespace vrk
