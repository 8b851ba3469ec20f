#include "settings/reg_key.h"

#include "settings/test_env.h"

namespace vrk {
namespace {

using Key = TSettingsTest;

TEST_F(Key, RootNamesAreExactAndOnlyUserAndMachineHoldKeys) {
    EXPECT_EQ(RootFromName("HKEY_CURRENT_USER"), TRoot::kCurrentUser);
    EXPECT_EQ(RootFromName("HKEY_LOCAL_MACHINE"), TRoot::kLocalMachine);
    for (const char* known : {"HKEY_CLASSES_ROOT", "HKEY_USERS", "HKEY_PERFORMANCE_DATA",
                              "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA"}) {
        const auto root = RootFromName(known);
        ASSERT_TRUE(root) << known;
        TRegKey key;
        EXPECT_EQ(TRegKey::Open(*root, "", TAccess::kRead, key), TRegResult::kNotFound);
        EXPECT_NE(TRegKey::Create(*root, "Software", key), TRegResult::kOk);
    }
    for (const char* unknown : {"hkey_current_user", "HKEY_CURRENT_USER ", "", "HKCU"})
        EXPECT_FALSE(RootFromName(unknown)) << unknown;

    // The two stores are separate trees.
    UserKey("Software\\X");
    TRegKey key;
    EXPECT_EQ(TRegKey::Open(TRoot::kLocalMachine, "Software\\X", TAccess::kRead, key),
              TRegResult::kNotFound);
}

TEST_F(Key, EnumerationFollowsCreationOrderAndNamesAreExact) {
    TRegKey top = UserKey("T");
    TRegKey sub;
    for (const char* name : {"b", "a", "C", "c", "\x8a\x9a"})
        ASSERT_EQ(top.CreateSub(name, sub), TRegResult::kOk);
    EXPECT_EQ(SubKeys("T"), (std::vector<std::string>{"b", "a", "C", "c", "\x8a\x9a"}));

    ASSERT_EQ(top.SetString("z", "1"), TRegResult::kOk);
    ASSERT_EQ(top.SetString("a", "2"), TRegResult::kOk);
    ASSERT_EQ(top.SetString("A", "3"), TRegResult::kOk);
    ASSERT_EQ(top.SetString("a", "overwritten"), TRegResult::kOk);  // keeps its place
    ASSERT_EQ(top.DeleteValue("z"), TRegResult::kOk);
    ASSERT_EQ(top.SetString("z", "again"), TRegResult::kOk);  // a new value comes last
    EXPECT_EQ(ValueNames("T"), (std::vector<std::string>{"a", "A", "z"}));

    // Indices asked out of order give the same answers as stepping.
    std::string name;
    ASSERT_EQ(top.EnumKey(3, name), TRegResult::kOk);
    EXPECT_EQ(name, "c");
    ASSERT_EQ(top.EnumKey(1, name), TRegResult::kOk);
    EXPECT_EQ(name, "a");
    ASSERT_EQ(top.EnumKey(2, name), TRegResult::kOk);
    EXPECT_EQ(name, "C");
    EXPECT_EQ(top.EnumKey(5, name), TRegResult::kNoMoreItems);

    // Values too, by position in creation order, asked in any order.
    TRegValue v;
    TRegKey fresh = UserKey("T");  // no enumeration under way yet
    for (std::uint32_t i : {1u, 0u, 2u, 1u}) {
        ASSERT_EQ(fresh.EnumValue(i, v), TRegResult::kOk);
        EXPECT_EQ(v.name, (std::vector<std::string>{"a", "A", "z"})[i]);
    }
    EXPECT_EQ(v.data, "3");
    EXPECT_EQ(fresh.EnumValue(3, v), TRegResult::kNoMoreItems);
}

TEST_F(Key, BufferSizesCountTheTerminator) {
    TRegKey key = UserKey("B");
    ASSERT_EQ(key.SetString("abc", "xyz"), TRegResult::kOk);
    ASSERT_EQ(key.SetString("empty", ""), TRegResult::kOk);
    ASSERT_EQ(key.SetNumber("n", -7), TRegResult::kOk);
    TRegValue v;
    EXPECT_EQ(key.QueryValue("abc", v, 4), TRegResult::kOk);
    EXPECT_EQ(key.QueryValue("abc", v, 3), TRegResult::kMoreData);
    EXPECT_EQ(key.QueryValue("empty", v, 1), TRegResult::kOk);
    EXPECT_EQ(key.QueryValue("n", v, 4), TRegResult::kOk);
    EXPECT_EQ(key.QueryValue("n", v, 1), TRegResult::kMoreData);
    std::int32_t n = 0;
    ASSERT_TRUE(DecodeNumber(v, n));
    EXPECT_EQ(n, -7);
    EXPECT_EQ(key.QueryValue("ABC", v), TRegResult::kNotFound);

    // Enumeration reports an entry that does not fit, and goes on after it.
    ASSERT_EQ(key.EnumValue(0, v, 4, 1), TRegResult::kMoreData);
    EXPECT_EQ(v.name, "abc");
    EXPECT_EQ(key.EnumValue(0, v, 3, 4), TRegResult::kMoreData);
    EXPECT_EQ(key.EnumValue(1, v, 6, 1), TRegResult::kOk);
    EXPECT_EQ(key.EnumValue(2, v, 2, 4), TRegResult::kOk);
    TRegKey sub;
    ASSERT_EQ(key.CreateSub("long", sub), TRegResult::kOk);
    std::string name;
    EXPECT_EQ(key.EnumKey(0, name, 4), TRegResult::kMoreData);
    EXPECT_EQ(key.EnumKey(0, name, 5), TRegResult::kOk);
}

// Malformed paths and names are refused, and so is a write through a handle
// opened for reading.
TEST_F(Key, PathsNamesAndReadHandlesAreChecked) {
    std::vector<std::string> names;
    EXPECT_TRUE(SplitKeyPath("a\\b\\", names));
    EXPECT_EQ(names, (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(SplitKeyPath("", names));
    EXPECT_TRUE(names.empty());
    EXPECT_FALSE(SplitKeyPath("\\a", names));
    EXPECT_FALSE(SplitKeyPath("a\\\\b", names));

    TRegKey top = UserKey("P"), key;
    EXPECT_EQ(TRegKey::Open(TRoot::kCurrentUser, "P\\", TAccess::kRead, key), TRegResult::kOk);
    EXPECT_EQ(top.CreateSub("x\\\\y", key), TRegResult::kInvalidName);
    EXPECT_EQ(top.SetValue("n", TValueType::kNumber, "12345"), TRegResult::kInvalidName);
    TRegKey target = UserKey("Q");
    ASSERT_EQ(top.CreateSub("child", key), TRegResult::kOk);
    EXPECT_EQ(top.MoveSubKey("child", target, "a\\b"), TRegResult::kInvalidName);

    ASSERT_EQ(TRegKey::Open(TRoot::kCurrentUser, "Q", TAccess::kRead, key), TRegResult::kOk);
    EXPECT_EQ(key.SetString("v", "x"), TRegResult::kAccessDenied);
    EXPECT_EQ(key.CreateSub("s", target), TRegResult::kAccessDenied);
    EXPECT_EQ(key.DeleteValue("v"), TRegResult::kAccessDenied);
    EXPECT_TRUE(ValueNames("Q").empty());
}

TEST_F(Key, DeletingAndMovingKeepTheTreeWhole) {
    TRegKey top = UserKey("D"), sub;
    ASSERT_EQ(top.CreateSub("a\\b\\c", sub), TRegResult::kOk);
    ASSERT_EQ(sub.SetString("deep", ""), TRegResult::kOk);
    ASSERT_EQ(top.CreateSub("z", sub), TRegResult::kOk);
    EXPECT_EQ(top.DeleteSubKey("a"), TRegResult::kNotEmpty);

    // A key cannot move below itself; a taken name is refused.
    TRegKey a, inner;
    ASSERT_EQ(top.OpenSub("a", TAccess::kFull, a), TRegResult::kOk);
    ASSERT_EQ(top.OpenSub("a\\b", TAccess::kFull, inner), TRegResult::kOk);
    EXPECT_EQ(top.MoveSubKey("a", inner, "a2"), TRegResult::kInvalidName);
    EXPECT_EQ(top.MoveSubKey("a", top, "z"), TRegResult::kAlreadyExists);

    // Renaming keeps the key's place and everything below it.
    ASSERT_EQ(top.MoveSubKey("a", top, "A"), TRegResult::kOk);
    EXPECT_EQ(SubKeys("D"), (std::vector<std::string>{"A", "z"}));
    EXPECT_EQ(ValueNames("D\\A\\b\\c"), std::vector<std::string>{"deep"});

    ASSERT_EQ(top.DeleteSubTree("A"), TRegResult::kOk);
    EXPECT_EQ(SubKeys("D"), std::vector<std::string>{"z"});
    // A handle whose key was deleted finds nothing and cannot write.
    EXPECT_EQ(a.SetString("v", ""), TRegResult::kNotFound);
    std::string name;
    EXPECT_EQ(a.EnumKey(0, name), TRegResult::kNoMoreItems);
    EXPECT_EQ(top.DeleteSubKey("z"), TRegResult::kOk);
    EXPECT_EQ(top.DeleteSubKey("z"), TRegResult::kNotFound);

    // Deleting the first child again and again empties the key; the ids of
    // deleted keys are not handed out again, so a handle to a deleted key
    // never writes into one made after it.
    TRegKey last;
    for (const char* name : {"1", "2", "3"}) ASSERT_EQ(top.CreateSub(name, last), TRegResult::kOk);
    std::vector<std::string> seen;
    while (top.EnumKey(0, name) == TRegResult::kOk) {
        seen.push_back(name);
        ASSERT_EQ(top.DeleteSubKey(name), TRegResult::kOk);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"1", "2", "3"}));
    ASSERT_EQ(top.CreateSub("4", sub), TRegResult::kOk);
    EXPECT_EQ(last.SetString("v", ""), TRegResult::kNotFound);
    EXPECT_TRUE(ValueNames("D\\4").empty());
}

TEST_F(Key, BytesAreKeptExactly) {
    TRegKey key = UserKey("Bytes\\\x8e\x9e");
    const std::string binary("\0\x01\xff\0", 4);
    ASSERT_EQ(key.SetValue("\x9a", TValueType::kBinary, binary), TRegResult::kOk);
    ASSERT_EQ(key.SetValue("", TValueType::kString, "default"), TRegResult::kOk);
    TRegValue v;
    ASSERT_EQ(key.QueryValue("\x9a", v), TRegResult::kOk);
    EXPECT_EQ(v.type, TValueType::kBinary);
    EXPECT_EQ(v.data, binary);
    ASSERT_EQ(key.QueryValue("", v), TRegResult::kOk);
    EXPECT_EQ(v.data, "default");
    EXPECT_EQ(SubKeys("Bytes"), std::vector<std::string>{"\x8e\x9e"});
}

}  // namespace
}  // namespace vrk
