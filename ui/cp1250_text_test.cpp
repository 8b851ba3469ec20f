#include "ui/cp1250_text.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <QString>
#include <string>

namespace vrk {
namespace {

// The system's own conversion of one Windows-1250 byte to UTF-8; empty when
// the system does not define the byte.
std::string IconvByte(unsigned char byte) {
    iconv_t cd = iconv_open("UTF-8", "CP1250");
    if (cd == reinterpret_cast<iconv_t>(-1)) return {};
    char in[1] = {static_cast<char>(byte)};
    char out[8] = {};
    char* inPtr = in;
    char* outPtr = out;
    size_t inLeft = 1, outLeft = sizeof out;
    const size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (done == static_cast<size_t>(-1)) return {};
    return std::string(out, sizeof out - outLeft);
}

TEST(Cp1250Text, EveryByteSurvivesRoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    const QString text = FromCp1250(all);
    ASSERT_EQ(text.size(), 256);
    bool lossless = false;
    EXPECT_EQ(ToCp1250(text, &lossless), all);
    EXPECT_TRUE(lossless);
}

TEST(Cp1250Text, DefinedBytesAgreeWithTheSystemConversion) {
    int compared = 0;
    for (int b = 0; b < 256; ++b) {
        const std::string expected = IconvByte(static_cast<unsigned char>(b));
        if (expected.empty() && b != 0) continue;  // undefined in Windows-1250
        const std::string one(1, static_cast<char>(b));
        const std::string utf8 = b == 0 ? std::string(1, '\0') : expected;
        EXPECT_EQ(FromCp1250(one).toStdString(), utf8) << "byte " << b;
        EXPECT_EQ(ToCp1250(QString::fromStdString(utf8)), one) << "byte " << b;
        ++compared;
    }
    EXPECT_GE(compared, 251);
}

TEST(Cp1250Text, SloveneLettersAreSingleBytes) {
    EXPECT_EQ(ToCp1250(QStringLiteral("čšžČŠŽ")), "\xE8\x9A\x9E\xC8\x8A\x8E");
    EXPECT_EQ(FromCp1250("\xE8rka"), QStringLiteral("črka"));
    EXPECT_TRUE(FitsCp1250(QStringLiteral("Ćevapčiči in đuveč")));
    // File names keep the file system's bytes.
    EXPECT_EQ(PathBytes(QStringLiteral("čš")), "\xC4\x8D\xC5\xA1");
    EXPECT_EQ(PathText("\xC4\x8D\xC5\xA1"), QStringLiteral("čš"));
}

TEST(Cp1250Text, CharactersOutsideTheCodePageAreReplacedAndReported) {
    bool lossless = true;
    // One replacement per character, also for one outside the basic plane.
    EXPECT_EQ(
        ToCp1250(QStringLiteral("a\u4E2D") + QString::fromUcs4(U"\U0001F600") + "b", &lossless),
        "a??b");
    EXPECT_FALSE(lossless);
    EXPECT_FALSE(FitsCp1250(QStringLiteral("\u00E6")));  // æ is not in Windows-1250
    EXPECT_EQ(ToCp1250(QStringLiteral("\u00E6"), nullptr, '_'), "_");
}

}  // namespace
}  // namespace vrk
