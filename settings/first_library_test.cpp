#include "settings/first_library.h"

#include <sys/stat.h>

#include <filesystem>

#include "settings/library_registry.h"
#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "settings/test_env.h"
#include "store/data_file.h"
#include "store/format.h"

namespace vrk {
namespace {

class FirstLibraryTest : public TSettingsTest {
  protected:
    void SetUp() override {
        TSettingsTest::SetUp();
        install_ = dir_ + "/install";
        EnsureFinderKeys();
    }
    // Puts the dictionary (by default "Slovenske besede") where the install would.
    std::string InstallDictionary(std::string_view file = kWordListInInstall) {
        const std::string path = InstalledPath(install_, file);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        EXPECT_TRUE(CreateEmpty(path));
        return path;
    }
    std::vector<std::string> Members() {
        std::string keyPath, paths;
        EXPECT_TRUE(FindLibraryKey(kWordListLibrary, keyPath));
        EXPECT_TRUE(CollectLibraryDictionaries(keyPath, paths));
        return SplitDictionaryList(paths);
    }
    // The own dictionary in the test's data folder (XDG_DATA_HOME).
    std::string OwnDictionary() { return dir_ + "/data/vrk3/moje-besede.vrk3"; }
    std::string ActiveLib() {
        std::string name;
        return TGetRegistryString(kFinderPath, "ActiveLib", name) ? name : "(none)";
    }
    std::string install_;
};

// The first start makes one library: the own dictionary first, then those
// of descriptions, the bare words last; the other program's start (still
// before "Run") adds nothing more.
TEST_F(FirstLibraryTest, FirstStartMakesTheLibraryWithTheInstalledDictionaries) {
    const std::string words = InstallDictionary();
    const std::string names = InstallDictionary(kNamesInInstall);
    const std::string thesaurus = InstallDictionary(kThesaurusInInstall);
    TOwnDictionaryProblem problem;
    EXPECT_EQ(CreateFirstLibrary(install_ + "/", &problem), TFirstLibrary::kCreated);
    EXPECT_FALSE(problem) << problem.path;
    EXPECT_EQ(SubKeys(kGroupsKey), std::vector<std::string>({"Slovenske besede"}));
    EXPECT_EQ(Members(), std::vector<std::string>({OwnDictionary(), thesaurus, names, words}));
    EXPECT_EQ(ActiveLib(), "Slovenske besede");
    EXPECT_EQ(CreateFirstLibrary(install_), TFirstLibrary::kLibrariesExist);
    // The own dictionary is empty, named, and open to changes and export, in
    // a folder of the user's own.
    TDataFile own(OwnDictionary(), dir_ + "/t1", dir_ + "/t2", dir_ + "/t3");
    std::string name;
    EXPECT_EQ(own.GetEntryCount(), 0);
    EXPECT_TRUE(own.GetName(name));
    EXPECT_EQ(name, kOwnDictionaryName);
    EXPECT_EQ(own.GetFlags(), kFlagChangesAllowed | kFlagExportAllowed);
    struct stat st {};
    ASSERT_EQ(::stat((dir_ + "/data/vrk3").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

// Without the installed dictionary, or after any earlier start (the user
// may have removed every library on purpose), nothing is made.
TEST_F(FirstLibraryTest, WithoutTheDictionaryOrOnALaterStartNothingIsMade) {
    EXPECT_EQ(CreateFirstLibrary(install_), TFirstLibrary::kNoDictionary);
    // A file the user may not read is none either (root reads it all the same).
    const std::string dictionary = InstallDictionary();
    ::chmod(dictionary.c_str(), 0);
    if (geteuid() != 0) {
        EXPECT_EQ(CreateFirstLibrary(install_), TFirstLibrary::kNoDictionary);
    }
    ::chmod(dictionary.c_str(), 0644);
    ASSERT_TRUE(TSetRegistryNumber(kUserRootPath, "Run", 1, kRegCreateKey | kRegOverwrite));
    EXPECT_EQ(CreateFirstLibrary(install_), TFirstLibrary::kNotFirstStart);
    EXPECT_TRUE(SubKeys(kGroupsKey).empty());
    EXPECT_EQ(ActiveLib(), "(none)");
}

// An own dictionary there already, and a stored active library, are kept.
TEST_F(FirstLibraryTest, AnOwnDictionaryAndActiveLibraryThereAlreadyAreKept) {
    const std::string words = InstallDictionary();
    ASSERT_TRUE(
        TSetRegistryString(kFinderPath, "ActiveLib", kAllLibraries, kRegCreateKey | kRegOverwrite));
    std::filesystem::create_directories(dir_ + "/data/vrk3");
    TDataFile own(OwnDictionary(), dir_ + "/t1", dir_ + "/t2", dir_ + "/t3");
    ASSERT_TRUE(own.CreateEmpty() && own.SetInfo("Stari", "", "", "", kFlagExportAllowed));
    const std::string before = ReadWholeFile(OwnDictionary());
    EXPECT_EQ(CreateFirstLibrary(install_), TFirstLibrary::kCreated);
    EXPECT_EQ(Members(), std::vector<std::string>({OwnDictionary(), words}));
    EXPECT_EQ(ReadWholeFile(OwnDictionary()), before);
    EXPECT_EQ(ActiveLib(), kAllLibraries);
}

// The own dictionary's folder follows XDG_DATA_HOME when it is absolute. One
// that cannot be written: the library is made all the same, without the own
// dictionary, and the caller learns what was not made.
TEST_F(FirstLibraryTest, AnUnwritableDataFolderLeavesOutOnlyTheOwnDictionary) {
    EXPECT_EQ(UserDataFolder(), dir_ + "/data/vrk3");
    setenv("HOME", (dir_ + "/home").c_str(), 1);
    setenv("XDG_DATA_HOME", "relative/data", 1);
    EXPECT_EQ(UserDataFolder(), dir_ + "/home/.local/share/vrk3");

    const std::string words = InstallDictionary();
    WriteWholeFile(dir_ + "/file", "x");
    setenv("XDG_DATA_HOME", (dir_ + "/file/data").c_str(), 1);  // below a file: even for root
    TOwnDictionaryProblem problem;
    EXPECT_EQ(CreateFirstLibrary(install_, &problem), TFirstLibrary::kCreated);
    EXPECT_EQ(problem.path, dir_ + "/file/data/vrk3/moje-besede.vrk3");
    EXPECT_NE(problem.failure, TFailure::None);
    EXPECT_EQ(Members(), std::vector<std::string>({words}));
    EXPECT_EQ(ActiveLib(), "Slovenske besede");
}

// Only a start the store records counts as the first: a store that cannot
// record it (here a damaged one) would make every start the first.
TEST_F(FirstLibraryTest, OnlyARecordedStartIsTheFirst) {
    EXPECT_TRUE(RecordFirstStart());
    EXPECT_FALSE(RecordFirstStart());
    CloseSettingsStore();
    WriteWholeFile(dir_ + "/user.db", std::string(4096, 'x'));
    EXPECT_FALSE(RecordFirstStart());
}

}  // namespace
}  // namespace vrk
