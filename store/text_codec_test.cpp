#include "text_codec.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <map>

namespace vrk {
namespace {

TEST(Cp1250, EveryCodePointOfTheTableHasItsByteAndNoOtherHasOne) {
    std::map<char32_t, unsigned char> byteOf;
    for (int b = 0; b < 256; ++b) byteOf[Cp1250ToUnicode(static_cast<unsigned char>(b))] = b;
    for (char32_t c = 0; c < 0x11000; ++c) {
        const auto it = byteOf.find(c);
        const auto byte = UnicodeToCp1250(c);
        ASSERT_EQ(byte.has_value(), it != byteOf.end()) << std::uint32_t{c};
        if (byte) {
            ASSERT_EQ(*byte, it->second) << std::uint32_t{c};
        }
    }
}

TEST(Cp1250, AgreesWithTheSystemConverterOnDefinedBytes) {
    iconv_t cd = iconv_open("UTF-8", "CP1250");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    for (int b = 1; b < 256; ++b) {
        char in = static_cast<char>(b);
        char out[8];
        char* pin = &in;
        char* pout = out;
        std::size_t nin = 1, nout = sizeof out;
        if (iconv(cd, &pin, &nin, &pout, &nout) == static_cast<std::size_t>(-1)) continue;
        EXPECT_EQ(Cp1250ToUtf8(std::string(1, in)), std::string(out, pout)) << b;
    }
    iconv_close(cd);
}

TEST(Cp1250, RefusesWhatItCannotHold) {
    // clang-format off
    EXPECT_EQ(*Utf8ToCp1250("\xc4\x8d\x61\xc5\xa1\xc5\xbe"), "\xe8" "a\x9a\x9e");  // čašž
    // clang-format on
    EXPECT_FALSE(Utf8ToCp1250("\xe6\x97\xa5").has_value());  // 日
    EXPECT_FALSE(Utf8ToCp1250("\xc4").has_value());          // cut sequence
    EXPECT_FALSE(Utf8ToCp1250("\xc0\x80").has_value());      // overlong 0
}

}  // namespace
}  // namespace vrk
