#include "settings/reg_key.h"

#include "settings/test_env.h"

namespace vrk {
namespace {

using Key = TSettingsTest;

// Keys and values are listed in the order they were made, whatever their
// Windows-1250 bytes, and a value asked for by position is the same however
// the positions are asked.
TEST_F(Key, EnumerationFollowsCreationOrderAndBytesAreKept) {
    TRegKey top = UserKey("T");
    TRegKey sub;
    for (const char* name : {"b", "a", "C", "c", "\x8a\x9a"})
        ASSERT_EQ(top.CreateSub(name, sub), TRegResult::kOk);
    EXPECT_EQ(SubKeys("T"), (std::vector<std::string>{"b", "a", "C", "c", "\x8a\x9a"}));

    const std::string binary("\0\x01\xff\0", 4);
    ASSERT_EQ(top.SetValue("\x9a", TValueType::kBinary, binary), TRegResult::kOk);
    ASSERT_EQ(top.SetString("a", "2"), TRegResult::kOk);
    ASSERT_EQ(top.SetString("A", "3"), TRegResult::kOk);
    ASSERT_EQ(top.SetString("a", "overwritten"), TRegResult::kOk);  // keeps its place
    ASSERT_EQ(top.DeleteValue("\x9a"), TRegResult::kOk);
    ASSERT_EQ(top.SetValue("\x9a", TValueType::kBinary, binary), TRegResult::kOk);  // comes last
    EXPECT_EQ(ValueNames("T"), (std::vector<std::string>{"a", "A", "\x9a"}));

    TRegValue v;
    TRegKey fresh = UserKey("T");  // no enumeration under way yet
    for (std::uint32_t i : {1u, 0u, 2u, 1u}) {
        ASSERT_EQ(fresh.EnumValue(i, v), TRegResult::kOk);
        EXPECT_EQ(v.name, (std::vector<std::string>{"a", "A", "\x9a"})[i]);
    }
    EXPECT_EQ(v.data, "3");
    EXPECT_EQ(fresh.EnumValue(3, v), TRegResult::kNoMoreItems);
    ASSERT_EQ(top.QueryValue("\x9a", v), TRegResult::kOk);
    EXPECT_EQ(v.data, binary);
}

TEST_F(Key, BufferSizesCountTheTerminator) {
    TRegKey key = UserKey("B");
    ASSERT_EQ(key.SetString("abc", "xyz"), TRegResult::kOk);
    ASSERT_EQ(key.SetNumber("n", -7), TRegResult::kOk);
    TRegValue v;
    EXPECT_EQ(key.QueryValue("abc", v, 4), TRegResult::kOk);
    EXPECT_EQ(key.QueryValue("abc", v, 3), TRegResult::kMoreData);
    EXPECT_EQ(key.QueryValue("n", v, 4), TRegResult::kOk);

    // Enumeration reports an entry that does not fit, and goes on after it.
    EXPECT_EQ(key.EnumValue(0, v, 3, 4), TRegResult::kMoreData);
    EXPECT_EQ(key.EnumValue(0, v, 4, 4), TRegResult::kOk);
    EXPECT_EQ(key.EnumValue(1, v, 2, 4), TRegResult::kOk);
}

// Malformed paths and values are refused, and so is a write through a
// handle opened for reading.
TEST_F(Key, PathsValuesAndReadHandlesAreChecked) {
    TRegKey top = UserKey("P"), key;
    EXPECT_EQ(top.SetValue("n", TValueType::kNumber, "12345"), TRegResult::kInvalidName);
    ASSERT_EQ(top.CreateSub("child", key), TRegResult::kOk);
    EXPECT_EQ(top.MoveSubKey("child", top, "a\\b"), TRegResult::kInvalidName);
    ASSERT_EQ(TRegKey::Open(TRoot::kCurrentUser, "P", TAccess::kRead, key), TRegResult::kOk);
    EXPECT_EQ(key.SetString("v", "x"), TRegResult::kAccessDenied);
    EXPECT_TRUE(ValueNames("P").empty());
}

// A library dragged below itself, or onto a taken name, would be lost.
TEST_F(Key, AKeyMovesNeitherBelowItselfNorOntoATakenName) {
    TRegKey top = UserKey("D"), sub;
    ASSERT_EQ(top.CreateSub("a\\b\\c", sub), TRegResult::kOk);
    ASSERT_EQ(top.CreateSub("z", sub), TRegResult::kOk);
    EXPECT_EQ(top.DeleteSubKey("a"), TRegResult::kNotEmpty);
    TRegKey inner;
    ASSERT_EQ(top.OpenSub("a\\b", TAccess::kFull, inner), TRegResult::kOk);
    EXPECT_EQ(top.MoveSubKey("a", inner, "a2"), TRegResult::kInvalidName);
    EXPECT_EQ(top.MoveSubKey("a", top, "z"), TRegResult::kAlreadyExists);
    EXPECT_EQ(SubKeys("D"), (std::vector<std::string>{"a", "z"}));
    // Ids are not handed out again: a handle to a deleted key never writes
    // into a key made after it.
    ASSERT_EQ(top.DeleteSubKey("z"), TRegResult::kOk);
    ASSERT_EQ(top.CreateSub("y", inner), TRegResult::kOk);
    EXPECT_EQ(sub.SetString("v", ""), TRegResult::kNotFound);
    EXPECT_TRUE(ValueNames("D\\y").empty());
}

}  // namespace
}  // namespace vrk
