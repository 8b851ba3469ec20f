// The QString side of the Windows-1250 conversion; the code page's table
// itself is the engine's (store/text_codec_test.cpp).
#include "ui/cp1250_text.h"

#include <gtest/gtest.h>

#include <QString>
#include <string>

namespace vrk {
namespace {

TEST(Cp1250Text, EveryByteSurvivesRoundTripAndSloveneLettersAreSingleBytes) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    const QString text = FromCp1250(all);
    ASSERT_EQ(text.size(), 256);
    bool lossless = false;
    EXPECT_EQ(ToCp1250(text, &lossless), all);
    EXPECT_TRUE(lossless);
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
