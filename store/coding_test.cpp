#include "coding.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace vrk {
namespace {

TEST(RecordKeyTable, NeverChanges) {
    // Every dictionary ever written depends on these bytes.
    EXPECT_EQ(KeyTableChecksum(), 0xa8d243fe2a68b969ULL);
}

TEST(Scrambling, IsItsOwnInverseForEveryByteAtEveryKeyPosition) {
    for (std::uint64_t offset = 0; offset < 2 * kKeyTableSize; ++offset) {
        const char key = static_cast<char>(kRecordKeyTable[offset % kKeyTableSize]);
        for (int b = 0; b < 256; ++b) {
            const char plain = static_cast<char>(b);
            const char stored = ScrambleByte(plain, offset);
            ASSERT_EQ(ScrambleByte(stored, offset), plain) << offset << " " << b;
            if (plain == 0 || plain == key) {
                ASSERT_EQ(stored, plain);
            }
            // Terminators stay findable: only 0x00 is stored as 0x00.
            ASSERT_EQ(stored == 0, plain == 0);
        }
    }
}

TEST(Scrambling, BulkFunctionsAgreeWithTheByteRule) {
    std::mt19937 rng(7);
    std::string plain(3 * kKeyTableSize + 123, '\0');
    for (char& c : plain) c = static_cast<char>(rng());
    for (std::uint64_t offset : {0ULL, 1ULL, 4095ULL, 4096ULL, 10001ULL}) {
        std::string stored(plain.size(), '\0');
        ScrambleBytes(plain.data(), stored.data(), plain.size(), offset);
        for (std::size_t i = 0; i < plain.size(); ++i)
            ASSERT_EQ(stored[i], ScrambleByte(plain[i], offset + i));
        // Moving the bytes to another offset: same text underneath.
        std::string moved(plain.size(), '\0');
        RescrambleBytes(stored.data(), moved.data(), stored.size(), offset, offset + 77777);
        ScrambleBytes(moved.data(), moved.data(), moved.size(), offset + 77777);
        ASSERT_EQ(moved, plain);
    }
}

// Bytes of 0x80 and above in every place but the last: none may spill
// into the others when read back.
TEST(LittleEndian, LowByteFirst) {
    char buf[4];
    PutFixed32(buf, 0x12FF80ABu);
    EXPECT_EQ(std::string(buf, 4), "\xAB\x80\xFF\x12");
    EXPECT_EQ(DecodeFixed32(buf), 0x12FF80ABu);
}

}  // namespace
}  // namespace vrk
