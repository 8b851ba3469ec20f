#include "settings/library_registry.h"

#include "settings/settings_store.h"

#include "settings/settings_keys.h"
#include "settings/test_env.h"

namespace vrk {
namespace {

class Library : public TSettingsTest {
  protected:
    void SetUp() override {
        TSettingsTest::SetUp();
        groups_ = UserKey(kGroupsKey);
    }
    // The key of the library at `path` (relative to Groups).
    static std::string Lib(std::string_view path) {
        return std::string(kGroupsKey) + "\\" + std::string(path);
    }
    // Creates a library below the key at `parent` (relative to Groups).
    void Make(std::string_view path, std::vector<std::string> members = {}) {
        const std::string keyPath = Lib(path);
        TRegKey key = UserKey(keyPath);
        for (const std::string& m : members)
            ASSERT_EQ(AddLibraryDictionary(keyPath, m), TLibraryResult::kOk) << m;
    }
    std::vector<std::string> Collect(std::string_view name) {
        std::string keyPath, paths;
        if (!FindLibraryKey(name, keyPath)) return {"<no library>"};
        EXPECT_TRUE(CollectLibraryDictionaries(keyPath, paths));
        return SplitDictionaryList(paths);
    }
    TRegKey groups_;
};

TEST_F(Library, NewLibraryTakesTheFirstFreeNumber) {
    EXPECT_EQ(NewLibraryName(), "Nova Knji\x9Enica");
    std::string name;
    ASSERT_EQ(CreateNewLibrary(kGroupsKey, name), TLibraryResult::kOk);
    EXPECT_EQ(name, "Nova Knji\x9Enica");
    // "(2)" taken deep in another branch still counts.
    Make("A\\B\\Nova Knji\x9Enica (2)");
    Make("nova knji\x9Enica (3)");  // another case is another name
    ASSERT_EQ(CreateNewLibrary(Lib("A"), name), TLibraryResult::kOk);
    EXPECT_EQ(name, "Nova Knji\x9Enica (3)");
    EXPECT_EQ(SubKeys(Lib("A")), (std::vector<std::string>{"B", "Nova Knji\x9Enica (3)"}));
    EXPECT_EQ(NewLibraryName(), "Nova Knji\x9Enica (4)");
}

TEST_F(Library, NamesAreUniqueInTheWholeTreeButCaseMatters) {
    Make("Eno\\Pod");
    Make("Drugo");
    EXPECT_TRUE(LibraryNameExists(kGroupsKey, "Pod"));
    EXPECT_FALSE(LibraryNameExists(kGroupsKey, "pod"));
    EXPECT_EQ(RenameLibrary("Drugo", "Pod"), TLibraryResult::kNameExists);
    EXPECT_EQ(RenameLibrary("Drugo", "POD"), TLibraryResult::kOk);
    EXPECT_EQ(RenameLibrary("Drugo", "X"), TLibraryResult::kNotFound);
    EXPECT_EQ(RenameLibrary("POD", ""), TLibraryResult::kOk);  // nothing changes
    EXPECT_EQ(RenameLibrary("POD", "a\\b"), TLibraryResult::kInvalidName);
    EXPECT_EQ(RenameLibrary("POD", kAllLibraries), TLibraryResult::kInvalidName);
    EXPECT_EQ(CreateLibraryKey(kGroupsKey, "Eno"), TLibraryResult::kNameExists);
    // Taken in another branch: refused too, also below the library of that name.
    EXPECT_EQ(CreateLibraryKey(kGroupsKey, "POD"), TLibraryResult::kNameExists);
    EXPECT_EQ(CreateLibraryKey(Lib("Eno\\Pod"), "Eno"), TLibraryResult::kNameExists);
    EXPECT_EQ(RenameLibraryKey(Lib("Eno"), "POD"), TLibraryResult::kNameExists);
    // Names fit a 1000-byte buffer with their terminator.
    EXPECT_EQ(CreateLibraryKey(kGroupsKey, std::string(1000, 'n')), TLibraryResult::kInvalidName);
    EXPECT_EQ(CreateLibraryKey(kGroupsKey, std::string(999, 'n')), TLibraryResult::kOk);
    std::vector<std::string> names;
    ASSERT_TRUE(ListLibraryNames(names));
    EXPECT_EQ(names, (std::vector<std::string>{"Eno", "Pod", "POD", std::string(999, 'n')}));
}

TEST_F(Library, RenameKeepsSubLibrariesMembersAndPlace) {
    Make("Prva", {"/d/p.vrk3"});
    Make("Stara", {"/d/s1.vrk3", "/d/s2.vrk3"});
    Make("Stara\\Pod", {"/d/pod.vrk3"});
    Make("Stara\\Pod\\Globlje", {"/d/g.vrk3"});
    Make("Zadnja");
    // To its own name: nothing changes.
    EXPECT_EQ(RenameLibrary("Stara", "Stara"), TLibraryResult::kOk);
    EXPECT_EQ(RenameLibraryKey(Lib("Stara\\Pod"), "Pod"), TLibraryResult::kOk);
    EXPECT_EQ(SubKeys(kGroupsKey), (std::vector<std::string>{"Prva", "Stara", "Zadnja"}));
    EXPECT_EQ(Collect("Stara"),
              (std::vector<std::string>{"/d/s1.vrk3", "/d/s2.vrk3", "/d/pod.vrk3", "/d/g.vrk3"}));
    ASSERT_EQ(RenameLibrary("Stara", "Nova"), TLibraryResult::kOk);
    EXPECT_EQ(SubKeys(kGroupsKey), (std::vector<std::string>{"Prva", "Nova", "Zadnja"}));
    EXPECT_EQ(Collect("Nova"),
              (std::vector<std::string>{"/d/s1.vrk3", "/d/s2.vrk3", "/d/pod.vrk3", "/d/g.vrk3"}));
    EXPECT_EQ(Collect("Stara"), std::vector<std::string>{"<no library>"});

    ASSERT_EQ(RenameLibrary("Globlje", "Najgloblje"), TLibraryResult::kOk);
    std::string keyPath;
    ASSERT_TRUE(FindLibraryKey("Najgloblje", keyPath));
    EXPECT_EQ(keyPath, Lib("Nova\\Pod\\Najgloblje"));
}

TEST_F(Library, CollectionTakesOwnMembersThenSubLibrariesInOrder) {
    Make("Knj");
    Make("Knj\\Prva", {"/d/a.vrk3"});
    Make("Knj\\Druga", {"/d/b.vrk3"});
    Make("Druga knj", {"/d/c.vrk3", "/d/a.vrk3"});
    ASSERT_EQ(AddLibraryDictionary(kGroupsKey, "/d/top.vrk3"), TLibraryResult::kOk);
    ASSERT_EQ(AddLibraryDictionary(Lib("Knj"), "/d/own.vrk3"), TLibraryResult::kOk);

    EXPECT_EQ(Collect("Knj"), (std::vector<std::string>{"/d/own.vrk3", "/d/a.vrk3", "/d/b.vrk3"}));
    // A dictionary directly under Groups is searched only with all libraries,
    // and one in two libraries is searched twice then.
    EXPECT_EQ(Collect(kAllLibraries),
              (std::vector<std::string>{"/d/top.vrk3", "/d/own.vrk3", "/d/a.vrk3", "/d/b.vrk3",
                                        "/d/c.vrk3", "/d/a.vrk3"}));
    std::string paths;
    ASSERT_TRUE(CollectLibraryDictionaries(Lib("Knj\\Druga"), paths));
    EXPECT_EQ(paths, "/d/b.vrk3\"");
}

// Only a string with a name and empty data is a member. A value whose data
// does not fit the one-byte buffer stops the search's collection of that
// key's members (not of its sub-libraries), as does a name too long for the
// buffer; the display lists every member.
TEST_F(Library, OnlyNamedStringsWithEmptyDataAreCollected) {
    Make("K", {"/d/1.vrk3"});
    TRegKey key = UserKey(Lib("K"));
    // Empty binary data fits the buffer but is no member; nor is a string
    // without a name. Neither stops the collection.
    ASSERT_EQ(key.SetValue("/d/bin.vrk3", TValueType::kBinary, ""), TRegResult::kOk);
    ASSERT_EQ(key.SetString("", ""), TRegResult::kOk);
    ASSERT_EQ(key.SetString("/d/2.vrk3", ""), TRegResult::kOk);
    // One byte of string data needs two with its terminator.
    ASSERT_EQ(key.SetString("/d/stop.vrk3", "x"), TRegResult::kOk);
    ASSERT_EQ(key.SetString("/d/3.vrk3", ""), TRegResult::kOk);
    Make("K\\Sub", {"/d/4.vrk3"});
    EXPECT_EQ(Collect("K"), (std::vector<std::string>{"/d/1.vrk3", "/d/2.vrk3", "/d/4.vrk3"}));
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
    EXPECT_EQ(tree.children[0].children[0].name, "Sub");
    EXPECT_EQ(tree.children[0].children[0].dictionaries,
              (std::vector<std::string>{"/d/4.vrk3", "/d/5.vrk3", "/d/6.vrk3"}));
}

TEST_F(Library, FindIsDepthFirstAndTheFirstMatchWins) {
    // Duplicate names happen only when the store was changed by other means.
    Make("A\\B\\Twin", {"/d/deep.vrk3"});
    Make("Twin", {"/d/top.vrk3"});
    EXPECT_EQ(Collect("Twin"), std::vector<std::string>{"/d/deep.vrk3"});
    std::string keyPath;
    EXPECT_FALSE(FindLibraryKey("twin", keyPath));
    ASSERT_TRUE(FindLibraryKey(kAllLibraries, keyPath));
    EXPECT_EQ(keyPath, kGroupsKey);

    // Without Groups there are no libraries.
    ASSERT_EQ(UserKey("Software\\Tavro\\Verbatrakon III").DeleteSubTree("Groups"), TRegResult::kOk);
    std::vector<std::string> names;
    TLibraryNode tree;
    EXPECT_FALSE(ListLibraryNames(names));
    EXPECT_FALSE(FindLibraryKey(kAllLibraries, keyPath));
    EXPECT_EQ(ReadLibraryTree(tree), TRegResult::kNotFound);
}

TEST_F(Library, MembersAreAddedOnceAndPathsAreChecked) {
    Make("L");
    const std::string lib = Lib("L");
    EXPECT_EQ(AddLibraryDictionary(lib, "/d/a.vrk3"), TLibraryResult::kOk);
    EXPECT_EQ(AddLibraryDictionary(lib, "/d/a.vrk3"), TLibraryResult::kAlreadyMember);
    EXPECT_EQ(AddLibraryDictionary(lib, "/d/\"quoted\".vrk3"), TLibraryResult::kInvalidName);
    EXPECT_EQ(AddLibraryDictionary(lib, "/" + std::string(999, 'x')), TLibraryResult::kInvalidName);
    EXPECT_EQ(AddLibraryDictionary(lib + "\\Missing", "/d/a.vrk3"), TLibraryResult::kNotFound);
    EXPECT_EQ(ValueNames(lib), std::vector<std::string>{"/d/a.vrk3"});
    EXPECT_EQ(RemoveLibraryDictionary(lib, "/d/a.vrk3"), TLibraryResult::kOk);
    EXPECT_EQ(RemoveLibraryDictionary(lib, "/d/a.vrk3"), TLibraryResult::kNotFound);
}

// Removing a library takes everything below it, so that one made again
// under the same names starts empty.
TEST_F(Library, RemovingALibraryTakesEverythingBelowIt) {
    Make("Ostane", {"/d/k.vrk3"});
    Make("Gre", {"/d/g.vrk3"});
    Make("Gre\\Pod", {"/d/p.vrk3"});
    Make("Gre\\Pod\\Pod2", {"/d/x.vrk3", "/d/y.vrk3"});
    EXPECT_EQ(RemoveLibrary("Pod2"), TLibraryResult::kOk);
    EXPECT_EQ(SubKeys(Lib("Gre\\Pod")), std::vector<std::string>{});
    EXPECT_EQ(RemoveLibrary("Gre"), TLibraryResult::kOk);
    EXPECT_EQ(RemoveLibrary("Gre"), TLibraryResult::kNotFound);
    EXPECT_EQ(RemoveLibrary(kAllLibraries), TLibraryResult::kNotFound);
    std::vector<std::string> names;
    ASSERT_TRUE(ListLibraryNames(names));
    EXPECT_EQ(names, std::vector<std::string>{"Ostane"});
    EXPECT_EQ(Collect(kAllLibraries), std::vector<std::string>{"/d/k.vrk3"});
    CloseSettingsStore();
    EXPECT_EQ(
        Sql(dir_ + "/user.db", "SELECT count(*) FROM vals WHERE key NOT IN (SELECT id FROM keys)"),
        "0\n");

    Make("Gre\\Pod\\Pod2");
    EXPECT_EQ(Collect("Gre"), std::vector<std::string>{});
    TLibraryNode tree;
    ASSERT_EQ(ReadLibraryTree(tree), TRegResult::kOk);
    ASSERT_EQ(tree.children.size(), 2u);
    EXPECT_TRUE(tree.children[1].dictionaries.empty());
    ASSERT_EQ(tree.children[1].children.size(), 1u);
    EXPECT_TRUE(tree.children[1].children[0].dictionaries.empty());
}

TEST_F(Library, MoveRefusesAnExistingTargetAndKeepsTheSource) {
    Make("Src\\Child", {"/d/c.vrk3"});
    Make("Dst");
    Make("Dst\\Src");
    EXPECT_FALSE(MoveLibraryKey(kGroupsKey, "Src", Lib("Dst"), "Src"));
    EXPECT_EQ(Collect("Child"), std::vector<std::string>{"/d/c.vrk3"});
    EXPECT_TRUE(MoveLibraryKey(kGroupsKey, "Src", Lib("Dst"), "Moved"));
    std::string keyPath;
    ASSERT_TRUE(FindLibraryKey("Child", keyPath));
    EXPECT_EQ(keyPath, Lib("Dst\\Moved\\Child"));
    EXPECT_FALSE(MoveLibraryKey(kGroupsKey, "Gone"));
}

}  // namespace
}  // namespace vrk
