#include "settings/first_library.h"

#include <sys/stat.h>

#include <filesystem>

#include "settings/library_registry.h"
#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "settings/test_env.h"
#include "store/data_file.h"

namespace vrk {
namespace {

class FirstLibraryTest : public TSettingsTest {
  protected:
    void SetUp() override {
        TSettingsTest::SetUp();
        install_ = dir_ + "/install";
        EnsureFinderKeys();
    }
    // Puts the dictionary where the install would.
    std::string InstallDictionary() {
        const std::string path = InstalledWordListPath(install_);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        EXPECT_TRUE(CreateEmpty(path));
        return path;
    }
    std::string ActiveLib() {
        std::string name;
        return TGetRegistryString(kFinderPath, "ActiveLib", name) ? name : "(none)";
    }
    std::string install_;
};

TEST_F(FirstLibraryTest, FirstStartMakesTheLibraryWithTheInstalledDictionary) {
    const std::string dictionary = InstallDictionary();
    EXPECT_EQ(CreateFirstLibrary(install_ + "/"), TFirstLibrary::kCreated);
    EXPECT_EQ(dictionary, install_ + "/dictionaries/slovenske-besede.vrk3");
    EXPECT_EQ(SubKeys(kGroupsKey), std::vector<std::string>({"Slovenske besede"}));
    std::string keyPath, paths;
    ASSERT_TRUE(FindLibraryKey("Slovenske besede", keyPath));
    ASSERT_TRUE(CollectLibraryDictionaries(keyPath, paths));
    EXPECT_EQ(SplitDictionaryList(paths), std::vector<std::string>({dictionary}));
    EXPECT_EQ(ActiveLib(), "Slovenske besede");

    // The other program's start (still before "Run") adds nothing more.
    EXPECT_EQ(CreateFirstLibrary(install_), TFirstLibrary::kLibrariesExist);
    EXPECT_EQ(SubKeys(kGroupsKey).size(), 1u);
}

TEST_F(FirstLibraryTest, WithoutTheInstalledDictionaryNothingIsMade) {
    EXPECT_EQ(CreateFirstLibrary(install_), TFirstLibrary::kNoDictionary);
    // A folder of that name, or a file the user may not read, is none either.
    std::filesystem::create_directories(InstalledWordListPath(install_));
    EXPECT_EQ(CreateFirstLibrary(install_), TFirstLibrary::kNoDictionary);
    std::filesystem::remove(InstalledWordListPath(install_));
    const std::string dictionary = InstallDictionary();
    ::chmod(dictionary.c_str(), 0);
    if (geteuid() != 0) {  // root reads it all the same
        EXPECT_EQ(CreateFirstLibrary(install_), TFirstLibrary::kNoDictionary);
    }
    ::chmod(dictionary.c_str(), 0644);

    EXPECT_TRUE(SubKeys(kGroupsKey).empty());
    EXPECT_EQ(ActiveLib(), "(none)");
}

TEST_F(FirstLibraryTest, ALaterStartOrAnyLibraryKeepsTheTreeAsItIs) {
    InstallDictionary();
    // One of the programs has started before: the user may have removed
    // every library on purpose.
    ASSERT_TRUE(TSetRegistryNumber(kUserRootPath, "Run", 1, kRegCreateKey | kRegOverwrite));
    EXPECT_EQ(CreateFirstLibrary(install_), TFirstLibrary::kNotFirstStart);

    TRegKey root = UserKey(kUserRootKey);
    ASSERT_EQ(root.DeleteValue("Run"), TRegResult::kOk);
    // An empty library of the user's own.
    ASSERT_EQ(CreateLibraryKey(kGroupsKey, "Moja"), TLibraryResult::kOk);
    EXPECT_EQ(CreateFirstLibrary(install_), TFirstLibrary::kLibrariesExist);
    EXPECT_EQ(SubKeys(kGroupsKey), std::vector<std::string>({"Moja"}));
    ASSERT_TRUE(MoveLibraryKey(kGroupsKey, "Moja"));

    // A dictionary directly below Groups, in no library.
    ASSERT_EQ(AddLibraryDictionary(kGroupsKey, "/home/ana/moj.vrk3"), TLibraryResult::kOk);
    EXPECT_EQ(CreateFirstLibrary(install_), TFirstLibrary::kLibrariesExist);
    EXPECT_TRUE(SubKeys(kGroupsKey).empty());
    EXPECT_EQ(ActiveLib(), "(none)");
}

TEST_F(FirstLibraryTest, AStoredActiveLibraryIsKept) {
    InstallDictionary();
    ASSERT_TRUE(
        TSetRegistryString(kFinderPath, "ActiveLib", kAllLibraries, kRegCreateKey | kRegOverwrite));
    EXPECT_EQ(CreateFirstLibrary(install_), TFirstLibrary::kCreated);
    EXPECT_EQ(ActiveLib(), kAllLibraries);
}

// Only a start the store records counts as the first: a store that cannot
// record it (here a damaged one) would make every start the first.
TEST_F(FirstLibraryTest, OnlyARecordedStartIsTheFirst) {
    EXPECT_TRUE(RecordFirstStart());
    EXPECT_FALSE(RecordFirstStart());
    CloseSettingsStore();
    WriteFileBytes(dir_ + "/user.db", std::string(4096, 'x'));
    EXPECT_FALSE(RecordFirstStart());
    EXPECT_FALSE(RecordFirstStart());
    EXPECT_EQ(ReadFileBytes(dir_ + "/user.db"), std::string(4096, 'x'));
}

}  // namespace
}  // namespace vrk
