#include "settings/library_registry.h"

#include <set>

#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "settings/test_env.h"

namespace vrk {
namespace {

class Library : public TSettingsTest {
  protected:
    void SetUp() override {
        TSettingsTest::SetUp();
        (void)UserKey(kGroupsKey);
    }
    // The key of the library at `path` (relative to Groups).
    static std::string Lib(std::string_view path) {
        return std::string(kGroupsKey) + "\\" + std::string(path);
    }
    // Creates the library at `path` (relative to Groups) with these members.
    void Make(std::string_view path, std::vector<std::string> members = {}) {
        (void)UserKey(Lib(path));
        for (const std::string& m : members)
            ASSERT_EQ(AddLibraryDictionary(Lib(path), m), TLibraryResult::kOk) << m;
    }
    // What a search of the library named `name` takes, in order.
    std::vector<std::string> Collect(std::string_view name) {
        std::string keyPath, paths;
        if (!FindLibraryKey(name, keyPath)) return {"<no library>"};
        EXPECT_TRUE(CollectLibraryDictionaries(keyPath, paths));
        return SplitDictionaryList(paths);
    }
};

// Names are unique in the whole tree, case counts, and a name fits a
// 1000-byte buffer with its terminator; a new library takes the first free
// number.
TEST_F(Library, NamesAreUniqueInTheWholeTreeButCaseMatters) {
    std::string name;
    ASSERT_EQ(CreateNewLibrary(kGroupsKey, name), TLibraryResult::kOk);
    EXPECT_EQ(name, "Nova Knji\x9Enica");
    Make("Eno\\Nova Knji\x9Enica (2)");
    Make("Eno\\Pod");
    Make("Drugo");
    ASSERT_EQ(CreateNewLibrary(Lib("Drugo"), name), TLibraryResult::kOk);
    EXPECT_EQ(name, "Nova Knji\x9Enica (3)");
    EXPECT_EQ(RenameLibrary("Drugo", "Pod"), TLibraryResult::kNameExists);
    EXPECT_EQ(RenameLibrary("Drugo", "POD"), TLibraryResult::kOk);
    EXPECT_EQ(RenameLibrary("POD", ""), TLibraryResult::kOk);  // an empty name changes nothing
    EXPECT_EQ(RenameLibrary("POD", "a\\b"), TLibraryResult::kInvalidName);
    EXPECT_EQ(RenameLibrary("POD", kAllLibraries), TLibraryResult::kInvalidName);
    EXPECT_EQ(CreateLibraryKey(kGroupsKey, std::string(1000, 'n')), TLibraryResult::kInvalidName);
    EXPECT_EQ(CreateLibraryKey(kGroupsKey, std::string(999, 'n')), TLibraryResult::kOk);
    std::vector<std::string> names;
    ASSERT_TRUE(ListLibraryNames(names));
    EXPECT_EQ(names,
              (std::vector<std::string>{"Nova Knji\x9Enica", "Eno", "Nova Knji\x9Enica (2)", "Pod",
                                        "POD", "Nova Knji\x9Enica (3)", std::string(999, 'n')}));
}

// Renaming or moving a library keeps its members and sub-libraries.
TEST_F(Library, RenameAndMoveKeepSubLibrariesMembersAndPlace) {
    Make("Prva");
    Make("Stara", {"/d/s1.vrk3", "/d/s2.vrk3"});
    Make("Stara\\Pod\\Globlje", {"/d/g.vrk3"});
    Make("Zadnja");
    EXPECT_EQ(RenameLibrary("Stara", "Stara"), TLibraryResult::kOk);  // changes nothing
    ASSERT_EQ(RenameLibrary("Stara", "Nova"), TLibraryResult::kOk);
    EXPECT_EQ(SubKeys(kGroupsKey), (std::vector<std::string>{"Prva", "Nova", "Zadnja"}));
    EXPECT_EQ(Collect("Nova"), (std::vector<std::string>{"/d/s1.vrk3", "/d/s2.vrk3", "/d/g.vrk3"}));

    ASSERT_EQ(RenameLibrary("Globlje", "Najgloblje"), TLibraryResult::kOk);
    std::string keyPath;
    ASSERT_TRUE(FindLibraryKey("Najgloblje", keyPath));
    EXPECT_EQ(keyPath, Lib("Nova\\Pod\\Najgloblje"));

    EXPECT_TRUE(MoveLibraryKey(kGroupsKey, "Nova", Lib("Prva"), "Moved"));
    ASSERT_TRUE(FindLibraryKey("Najgloblje", keyPath));
    EXPECT_EQ(keyPath, Lib("Prva\\Moved\\Pod\\Najgloblje"));
}

// A search takes the library's own members, then its sub-libraries' in
// order; all libraries take also those directly under Groups, and a
// dictionary in two libraries twice.
TEST_F(Library, CollectionTakesOwnMembersThenSubLibrariesInOrder) {
    Make("Knj\\Prva", {"/d/a.vrk3"});
    Make("Knj\\Druga", {"/d/b.vrk3"});
    Make("Druga knj", {"/d/c.vrk3", "/d/a.vrk3"});
    ASSERT_EQ(AddLibraryDictionary(kGroupsKey, "/d/top.vrk3"), TLibraryResult::kOk);
    ASSERT_EQ(AddLibraryDictionary(Lib("Knj"), "/d/own.vrk3"), TLibraryResult::kOk);
    EXPECT_EQ(Collect("Knj"), (std::vector<std::string>{"/d/own.vrk3", "/d/a.vrk3", "/d/b.vrk3"}));
    EXPECT_EQ(Collect(kAllLibraries),
              (std::vector<std::string>{"/d/top.vrk3", "/d/own.vrk3", "/d/a.vrk3", "/d/b.vrk3",
                                        "/d/c.vrk3", "/d/a.vrk3"}));
}

// Only a string with a name and empty data is a member. A value whose data
// does not fit the one-byte buffer stops the search's collection of that
// key's members (not of its sub-libraries), as does a name too long for the
// buffer; the display lists every member.
TEST_F(Library, OnlyNamedStringsWithEmptyDataAreCollected) {
    Make("K", {"/d/1.vrk3"});
    TRegKey key = UserKey(Lib("K"));
    // Neither stops the collection.
    ASSERT_EQ(key.SetValue("/d/bin.vrk3", TValueType::kBinary, ""), TRegResult::kOk);
    ASSERT_EQ(key.SetString("", ""), TRegResult::kOk);
    ASSERT_EQ(key.SetString("/d/2.vrk3", ""), TRegResult::kOk);
    // One byte of string data needs two with its terminator.
    ASSERT_EQ(key.SetString("/d/stop.vrk3", "x"), TRegResult::kOk);
    ASSERT_EQ(key.SetString("/d/3.vrk3", ""), TRegResult::kOk);
    Make("K\\Sub", {"/d/4.vrk3"});
    std::string paths;
    ASSERT_TRUE(CollectLibraryDictionaries(Lib("K"), paths));
    EXPECT_EQ(paths, "/d/1.vrk3\"/d/2.vrk3\"/d/4.vrk3\"");
    EXPECT_EQ(SplitDictionaryList("a\"\"b\""), (std::vector<std::string>{"a", "b"}));

    TRegKey sub = UserKey(Lib("K\\Sub"));
    ASSERT_EQ(sub.SetString("/" + std::string(1200, 'x'), ""), TRegResult::kOk);
    ASSERT_EQ(sub.SetString("/d/5.vrk3", ""), TRegResult::kOk);
    EXPECT_EQ(Collect("Sub"), std::vector<std::string>{"/d/4.vrk3"});
    // A value of another type under a member's name is no member: adding
    // makes it one.
    ASSERT_EQ(sub.SetNumber("/d/6.vrk3", 7), TRegResult::kOk);
    EXPECT_EQ(AddLibraryDictionary(Lib("K\\Sub"), "/d/6.vrk3"), TLibraryResult::kOk);
    TLibraryNode tree;
    ASSERT_EQ(ReadLibraryTree(tree), TRegResult::kOk);
    ASSERT_EQ(tree.children.size(), 1u);
    EXPECT_EQ(tree.children[0].dictionaries,
              (std::vector<std::string>{"/d/1.vrk3", "/d/2.vrk3", "/d/stop.vrk3", "/d/3.vrk3"}));
    ASSERT_EQ(tree.children[0].children.size(), 1u);
    EXPECT_EQ(tree.children[0].children[0].dictionaries,
              (std::vector<std::string>{"/d/4.vrk3", "/d/5.vrk3", "/d/6.vrk3"}));
}

TEST_F(Library, MembersAreAddedOnceAndPathsAreChecked) {
    const std::string lib = Lib("L");
    Make("L");
    EXPECT_EQ(AddLibraryDictionary(lib, "/d/a.vrk3"), TLibraryResult::kOk);
    EXPECT_EQ(AddLibraryDictionary(lib, "/d/a.vrk3"), TLibraryResult::kAlreadyMember);
    EXPECT_EQ(AddLibraryDictionary(lib, "/d/\"quoted\".vrk3"), TLibraryResult::kInvalidName);
    EXPECT_EQ(AddLibraryDictionary(lib, "/" + std::string(999, 'x')), TLibraryResult::kInvalidName);
    EXPECT_EQ(ValueNames(lib), std::vector<std::string>{"/d/a.vrk3"});
    EXPECT_EQ(RemoveLibraryDictionary(lib, "/d/a.vrk3"), TLibraryResult::kOk);
}

// Removing a library takes its sub-libraries and every member below it.
TEST_F(Library, RemovingALibraryTakesEverythingBelowIt) {
    Make("Ostane", {"/d/k.vrk3"});
    Make("Gre\\Pod\\Pod2", {"/d/x.vrk3", "/d/y.vrk3"});
    Make("Gre\\Pod", {"/d/p.vrk3"});
    EXPECT_EQ(RemoveLibrary("Gre"), TLibraryResult::kOk);
    EXPECT_EQ(RemoveLibrary(kAllLibraries), TLibraryResult::kNotFound);
    EXPECT_EQ(SubKeys(kGroupsKey), std::vector<std::string>{"Ostane"});
    EXPECT_EQ(Collect(kAllLibraries), std::vector<std::string>{"/d/k.vrk3"});
    CloseSettingsStore();
    EXPECT_EQ(
        Sql(dir_ + "/user.db", "SELECT count(*) FROM vals WHERE key NOT IN (SELECT id FROM keys)"),
        "0\n");
}

// Programs making new libraries at the same moment: every one is made and
// takes a name of its own, because the check and the change are one
// settings transaction.
TEST_F(Library, LibrariesMadeAtOnceAreAllMadeWithNamesOfTheirOwn) {
    constexpr int kRounds = 30;
    const auto maker = [] {
        std::string name;
        for (int i = 0; i < kRounds; ++i)
            if (CreateNewLibrary(kGroupsKey, name) != TLibraryResult::kOk) return false;
        return true;
    };
    ASSERT_TRUE(RunInChildren({maker, maker, maker}));
    std::vector<std::string> names;
    ASSERT_TRUE(ListLibraryNames(names));
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), 3u * kRounds);
}

}  // namespace
}  // namespace vrk
