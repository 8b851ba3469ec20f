// A new user's first start: the installed Slovene words become the active
// library, and the first search finds real words in them.
#include <QMdiSubWindow>
#include <QTreeWidget>
#include <filesystem>

#include "finder/child_frame.h"
#include "finder/main_frame.h"
#include "finder/search_bar.h"
#include "finder/search_bar_options.h"
#include "finder/search_test_util.h"
#include "finder/vrk3_app.h"
#include "finder/vrk3mpg_view.h"
#include "settings/first_library.h"
#include "settings/library_registry.h"
#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"
#include "store/data_file.h"
#include "store/word_list.h"

namespace vrk {
namespace {

class FirstStartTest : public TSearchTest {
  protected:
    void SetUp() override {
        TSearchTest::SetUp();
        install_ = folder_ + "/install";
        ASSERT_TRUE(TSetRegistryString(kMachineRootPath, "InstallPath", install_,
                                       kRegCreateKey | kRegOverwrite));
    }
    // The installed dictionary, made from a word list as the build makes it.
    std::string InstallWords(std::string_view list) {
        const std::string path = InstalledWordListPath(install_);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        TDataFile dictionary(path, folder_ + "/temp/w1", folder_ + "/temp/w2",
                             folder_ + "/temp/w3");
        TUtf8WordDecoder utf8;
        TWordListCounts counts;
        EXPECT_TRUE(dictionary.CreateEmpty() &&
                    dictionary.SetInfo("Slovenske besede", "", "", "", kFlagExportAllowed) &&
                    dictionary.ImportWords(list, utf8, counts));
        return path;
    }
    std::string install_;
};

TEST_F(FirstStartTest, TheFirstSearchFindsTheInstalledWords) {
    const std::string words = InstallWords("karta\nKirka\nkorma\nKrka\nkarat\n");
    CVrk3App::InitApplication();
    CVrk3App app;
    ASSERT_TRUE(app.InitInstance(false));
    CMainFrame* frame = app.MainFrame();
    EXPECT_EQ(frame->ActiveLibrary().Name(), kWordListLibrary);
    // The user's own dictionary comes first.
    EXPECT_EQ(frame->ActiveLibrary().Dictionaries(), UserDataFolder() + "/moje-besede.vrk3" +
                                                         kDictionarySeparator + words +
                                                         kDictionarySeparator);

    ASSERT_TRUE(ToggleSearchOption("CountLetters"));
    frame->SearchBar()->SetClueText("K*R*A");
    QMdiSubWindow* window = frame->RunSearch();
    ASSERT_NE(window, nullptr);
    QTreeWidget* list = qobject_cast<CChildFrame*>(window)->View()->List();
    QStringList found;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        found << list->topLevelItem(i)->text(CVrk3mpgView::kColWord);
    found.sort();
    EXPECT_EQ(found, QStringList({"Kirka", "karta", "korma"}));
    frame->close();
}

TEST_F(FirstStartTest, AnExistingLibraryStaysTheOnlyOne) {
    InstallWords("karta\n");
    MakeLibrary("Moji slovarji", {MakeDictionary("m.vrk3", "Moj", {Entry("karta", {"igralna"})})});
    CVrk3App::InitApplication();
    CVrk3App app;
    ASSERT_TRUE(app.InitInstance(false));
    std::vector<std::string> names;
    ASSERT_TRUE(ListLibraryNames(names));
    EXPECT_EQ(names, std::vector<std::string>({"Moji slovarji"}));
    EXPECT_TRUE(app.MainFrame()->ActiveLibrary().Name().empty());
    app.MainFrame()->close();
}

}  // namespace
}  // namespace vrk
