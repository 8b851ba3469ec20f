// The QString side of the Windows-1250 conversion; the code page's table
// itself is the engine's (store/text_codec_test.cpp).
#include "ui/cp1250_text.h"

#include <gtest/gtest.h>

#include <QString>
#include <string>

namespace vrk {
namespace {

// A character the code page cannot hold becomes one replacement, also one
// outside the basic plane, and the caller learns of it.
TEST(Cp1250Text, SloveneLettersAreSingleBytesAndOthersAreReplacedAndReported) {
    bool lossless = false;
    EXPECT_EQ(ToCp1250(QStringLiteral("čšžČŠŽ"), &lossless), "\xE8\x9A\x9E\xC8\x8A\x8E");
    EXPECT_TRUE(lossless);
    EXPECT_EQ(FromCp1250("\xE8rka\x9E"), QStringLiteral("črkaž"));
    EXPECT_EQ(
        ToCp1250(QStringLiteral("a\u4E2D") + QString::fromUcs4(U"\U0001F600") + "b", &lossless),
        "a??b");
    EXPECT_FALSE(lossless);
    // File names keep the file system's bytes.
    EXPECT_EQ(PathBytes(QStringLiteral("čš")), "\xC4\x8D\xC5\xA1");
    EXPECT_EQ(PathText("\xC4\x8D\xC5\xA1"), QStringLiteral("čš"));
}

}  // namespace
}  // namespace vrk
