// The program's start: without an install path it ends with a message,
// an unusable settings store is named with its reason, and at a new user's
// first start the installed Slovene words become the active library, in
// which the first search finds real words.
#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTreeWidget>
#include <filesystem>

#include "finder/child_frame.h"
#include "finder/finder_test_util.h"
#include "finder/finder_texts.h"
#include "finder/main_frame.h"
#include "finder/search_bar.h"
#include "finder/search_bar_options.h"
#include "finder/vrk3_app.h"
#include "finder/vrk3mpg_view.h"
#include "settings/first_library.h"
#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "store/data_file.h"
#include "store/word_list.h"
#include "ui/help.h"

namespace vrk {
namespace {

using Vrk3AppTest = TUiTest;

TEST_F(Vrk3AppTest, MissingInstallPathEndsStartWithMessage) {
    CVrk3App::InitApplication();
    CVrk3App app;
    EXPECT_FALSE(app.InitInstance(false));
    EXPECT_EQ(app.MainFrame(), nullptr);
    ASSERT_EQ(messages_->Shown().size(), 1u);
    EXPECT_EQ(messages_->Shown()[0].text, texts::kInstallMissing);
    EXPECT_EQ(messages_->Shown()[0].icon, TMsgIcon::kError);
}

// A per-user store that cannot be used is named at start with its reason,
// and the first-start help does not open at each start it cannot record.
TEST_F(Vrk3AppTest, UnusableStoreIsReportedWithItsReasonAndNoFirstStartHelp) {
    ASSERT_TRUE(TSetRegistryString(kMachineRootPath, "InstallPath", "/opt/vrk3",
                                   kRegCreateKey | kRegOverwrite));
    std::string garbage;
    for (int i = 0; i < 300; ++i) garbage += "to ni baza nastavitev ";
    WriteWholeFile(dir_ + "/user.db", garbage);
    CloseSettingsStore();
    const QString expected = QStringLiteral(
        "Napaka pri branju knji\u017enice [k8]\n"
        "Datoteka z nastavitvami ni baza nastavitev tega programa.");
    for (int start = 0; start < 2; ++start) {
        CVrk3App::InitApplication();
        CVrk3App app;
        ASSERT_TRUE(app.InitInstance(false));
        QCoreApplication::processEvents();
        app.MainFrame()->close();
        CloseSettingsStore();  // the next start is a new process
    }
    EXPECT_TRUE(helpContexts_.empty());
    ASSERT_EQ(messages_->Shown().size(), 2u);
    for (const TMessage& shown : messages_->Shown()) {
        EXPECT_EQ(shown.text, expected);
        EXPECT_EQ(shown.icon, TMsgIcon::kNone);
    }
    EXPECT_EQ(ReadWholeFile(dir_ + "/user.db"), garbage);
}

class FirstStartTest : public TSearchTest {
  protected:
    void SetUp() override {
        TSearchTest::SetUp();
        install_ = folder_ + "/install";
        ASSERT_TRUE(TSetRegistryString(kMachineRootPath, "InstallPath", install_,
                                       kRegCreateKey | kRegOverwrite));
    }
    // The installed dictionary, made from a word list as the build makes it.
    void InstallWords(std::string_view list) {
        const std::string path = InstalledWordListPath(install_);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        TDataFile dictionary(path, folder_ + "/temp/w1", folder_ + "/temp/w2",
                             folder_ + "/temp/w3");
        TUtf8WordDecoder utf8;
        TWordListCounts counts;
        EXPECT_TRUE(dictionary.CreateEmpty() &&
                    dictionary.SetInfo("Slovenske besede", "", "", "", kFlagExportAllowed) &&
                    dictionary.ImportWords(list, utf8, counts));
    }
    std::string install_;
};

// Which library a first start makes, and when, is the settings' rule
// (first_library_test); here, that the program makes it and searches it,
// shows its first-start help once the frame shows, and counts the start.
TEST_F(FirstStartTest, TheFirstSearchFindsTheInstalledWords) {
    InstallWords("karta\nKirka\nkorma\nKrka\nkarat\n");
    CVrk3App::InitApplication();
    CVrk3App app;
    ASSERT_TRUE(app.InitInstance(false));
    CMainFrame* frame = app.MainFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(frame->MdiArea()->subWindowList().isEmpty());
    EXPECT_TRUE(messages_->Texts().empty());
    QCoreApplication::processEvents();
    EXPECT_EQ(helpContexts_, std::vector<int>({help::kFirstRun}));
    std::int32_t run = 0;
    EXPECT_TRUE(TGetRegistryNumber(kUserRootPath, "Run", run));
    EXPECT_EQ(run, 1);
    EXPECT_EQ(frame->ActiveLibrary().Name(), kWordListLibrary);
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

}  // namespace
}  // namespace vrk
