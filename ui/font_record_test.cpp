#include "ui/font_record.h"

#include <QFont>

#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"
#include "ui/test_ui.h"

namespace vrk {
namespace {

class FontRecordTest : public TUiTest {};

// A stored font is a setting of a fixed layout: each field at its offset.
TEST_F(FontRecordTest, RecordKeepsEveryFieldAtItsOffsetAndTheFaceWithin31Bytes) {
    TFontRecord sample;
    sample.height = -17;
    sample.weight = 700;
    sample.italic = 1;
    sample.charSet = kEastEuropeCharSet;
    sample.pitchAndFamily = 0x12;
    sample.SetFaceName(
        "\xC8"
        "ebelica");  // "Čebelica" in Windows-1250
    TFontValue value = EncodeFontRecord(sample);
    EXPECT_EQ(value[0], 0xEF);  // -17, little-endian
    EXPECT_EQ(value[3], 0xFF);
    EXPECT_EQ(value[16], 700 & 0xFF);
    EXPECT_EQ(value[17], 700 >> 8);
    EXPECT_EQ(value[20], 1);     // italic
    EXPECT_EQ(value[23], 238);   // character set
    EXPECT_EQ(value[27], 0x12);  // pitch and family
    EXPECT_EQ(value[28], 0xC8);  // first byte of the face
    EXPECT_EQ(value[36], 0);     // its terminator
    EXPECT_EQ(DecodeFontRecord(value), sample);

    // A face without its terminator is cut to 31 bytes.
    for (std::size_t i = 28; i < value.size(); ++i) value[i] = 'A';
    EXPECT_EQ(DecodeFontRecord(value).FaceName(), std::string(31, 'A'));
}

TEST_F(FontRecordTest, FontSurvivesRecordAndBackAndUnusualRecordsGiveUsableFonts) {
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(19);
    font.setWeight(QFont::Bold);
    font.setItalic(true);
    font.setStyleHint(QFont::Serif);
    const TFontRecord record = RecordFromFont(font);
    EXPECT_EQ(record.height, -19);
    EXPECT_EQ(record.weight, 700);
    EXPECT_EQ(record.FaceName(), "DejaVu Serif");
    EXPECT_EQ(record.pitchAndFamily & 0xF0, 0x10);
    EXPECT_EQ(RecordFromFont(FontFromRecord(record)), record);
    // A font chosen in points is stored in pixels.
    EXPECT_LT(RecordFromFont(QFont(QStringLiteral("DejaVu Sans"), 12)).height, 0);

    // Unusual records give usable fonts: a weight beyond the scale is the
    // heaviest, a positive height is a cell's, no face is the application's.
    TFontRecord r;
    r.weight = 1024;
    r.height = 24;
    EXPECT_EQ(FontFromRecord(r).weight(), 1000);
    EXPECT_EQ(FontFromRecord(r).pixelSize(), 20);
    EXPECT_EQ(FontFromRecord(r).family(), QFont().family());
}

TEST_F(FontRecordTest, MissingOrMisshapenValueIsReplacedByTheCurrentFont) {
    QFont current(QStringLiteral("DejaVu Serif"));
    current.setPixelSize(13);
    ASSERT_TRUE(TSetRegistryBinary(kFinderPath, "Font01", std::string(59, '\0'),
                                   kRegCreateKey | kRegOverwrite));
    EXPECT_EQ(ReadFontOrStore(kFinderPath, "Font01", current).pixelSize(), 13);
    TFontValue stored{};
    ASSERT_TRUE(TGetRegistryFont(kFinderPath, "Font01", stored));
    EXPECT_EQ(DecodeFontRecord(stored).FaceName(), "DejaVu Serif");
    // Once stored, the stored font wins over the current one.
    EXPECT_EQ(ReadFontOrStore(kFinderPath, "Font01", QFont()).pixelSize(), 13);
}

}  // namespace
}  // namespace vrk
