#include "ui/font_record.h"

#include <QFont>

#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"
#include "ui/test_ui.h"

namespace vrk {
namespace {

class FontRecordTest : public TUiTest {};

TFontRecord SampleRecord() {
    TFontRecord r;
    r.height = -17;
    r.width = 9;
    r.escapement = 30;
    r.orientation = -30;
    r.weight = 700;
    r.italic = 1;
    r.underline = 1;
    r.strikeOut = 0;
    r.charSet = kEastEuropeCharSet;
    r.outPrecision = 3;
    r.clipPrecision = 2;
    r.quality = 4;
    r.pitchAndFamily = 0x12;
    r.SetFaceName(
        "\xC8"
        "ebelica");  // "Čebelica" in Windows-1250
    return r;
}

TEST_F(FontRecordTest, RecordKeepsEveryFieldAtItsOffsetAndTheFaceWithin31Bytes) {
    TFontValue value = EncodeFontRecord(SampleRecord());
    EXPECT_EQ(value[0], 0xEF);  // -17, little-endian
    EXPECT_EQ(value[3], 0xFF);
    EXPECT_EQ(value[16], 700 & 0xFF);
    EXPECT_EQ(value[17], 700 >> 8);
    EXPECT_EQ(value[20], 1);     // italic
    EXPECT_EQ(value[23], 238);   // character set
    EXPECT_EQ(value[27], 0x12);  // pitch and family
    EXPECT_EQ(value[28], 0xC8);  // first byte of the face
    EXPECT_EQ(value[36], 0);     // its terminator
    EXPECT_EQ(DecodeFontRecord(value), SampleRecord());

    // A face without its terminator is cut to 31 bytes.
    for (std::size_t i = 28; i < value.size(); ++i) value[i] = 'A';
    EXPECT_EQ(DecodeFontRecord(value).FaceName(), std::string(31, 'A'));
    TFontRecord r;
    r.SetFaceName(std::string(40, 'B'));
    EXPECT_EQ(r.FaceName().size(), 31u);
}

TEST_F(FontRecordTest, FontSurvivesRecordAndBackAndUnusualRecordsGiveUsableFonts) {
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(19);
    font.setWeight(QFont::Bold);
    font.setItalic(true);
    font.setStrikeOut(true);
    font.setStyleHint(QFont::Serif);
    const TFontRecord record = RecordFromFont(font);
    EXPECT_EQ(record.height, -19);
    EXPECT_EQ(record.weight, 700);
    EXPECT_EQ(record.FaceName(), "DejaVu Serif");
    EXPECT_EQ(record.pitchAndFamily & 0xF0, 0x10);

    const QFont back = FontFromRecord(record);
    EXPECT_EQ(back.family(), font.family());
    EXPECT_EQ(back.pixelSize(), 19);
    EXPECT_EQ(back.weight(), QFont::Bold);
    EXPECT_TRUE(back.italic());
    EXPECT_TRUE(back.strikeOut());
    EXPECT_FALSE(back.underline());
    EXPECT_EQ(RecordFromFont(back), record);

    // Unusual records give usable fonts.
    TFontRecord r;
    r.weight = 1024;  // beyond the scale: the heaviest weight
    r.height = 24;    // a cell height
    r.SetFaceName("Courier New");
    EXPECT_EQ(FontFromRecord(r).weight(), 1000);
    EXPECT_EQ(FontFromRecord(r).pixelSize(), 20);
    EXPECT_EQ(FontFromRecord(TFontRecord()).family(),
              QFont().family());  // no face: the application's

    QFont points(QStringLiteral("DejaVu Sans"), 12);
    EXPECT_LT(RecordFromFont(points).height, 0);  // points become pixels
}

TEST_F(FontRecordTest, MissingOrMisshapenValueIsReplacedByTheCurrentFontAndAWrittenOneReadBack) {
    QFont current(QStringLiteral("DejaVu Serif"));
    current.setPixelSize(13);
    ASSERT_TRUE(TSetRegistryBinary(kFinderPath, "Font01", std::string(59, '\0'),
                                   kRegCreateKey | kRegOverwrite));
    QFont read;
    EXPECT_FALSE(ReadFontSetting(kFinderPath, "Font01", read));

    EXPECT_EQ(ReadFontOrStore(kFinderPath, "Font01", current).pixelSize(), 13);
    TFontValue stored{};
    ASSERT_TRUE(TGetRegistryFont(kFinderPath, "Font01", stored));
    EXPECT_EQ(DecodeFontRecord(stored).FaceName(), "DejaVu Serif");
    // Once stored, the stored font wins over the current one.
    EXPECT_EQ(ReadFontOrStore(kFinderPath, "Font01", QFont()).pixelSize(), 13);

    // A font written is read back.
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPixelSize(15);
    ASSERT_TRUE(WriteFontSetting(kFinderPath, "Font04", font));
    ASSERT_TRUE(ReadFontSetting(kFinderPath, "Font04", read));
    EXPECT_EQ(read.family(), font.family());
    EXPECT_EQ(read.pixelSize(), 15);
}

}  // namespace
}  // namespace vrk
