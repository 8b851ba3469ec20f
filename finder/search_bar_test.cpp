#include "finder/search_bar.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTreeWidget>

#include "finder/finder_texts.h"
#include "finder/main_frame.h"
#include "finder/main_frame_ids.h"
#include "finder/search_bar_library.h"
#include "finder/search_bar_options.h"
#include "settings/library_registry.h"
#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"
#include "ui/commands.h"
#include "ui/test_ui.h"

namespace {

using vrk::kGroupsKey;

class SearchBarTest : public vrk::TUiTest {
  protected:
    void SetUp() override {
        TUiTest::SetUp();
        vrk::EnsureFinderKeys();
    }

    // Groups: a value "/d0", "Alfa" (/a1) with "Beta" (/b1) below it,
    // "Gama" (/g1, /a1).
    void MakeLibraries() {
        (void)UserKey(kGroupsKey).SetString("/d0.vrk3", "");
        const std::string groups(kGroupsKey);
        ASSERT_EQ(vrk::CreateLibraryKey(groups, "Gama"), vrk::TLibraryResult::kOk);
        ASSERT_EQ(vrk::CreateLibraryKey(groups, "Alfa"), vrk::TLibraryResult::kOk);
        ASSERT_EQ(vrk::CreateLibraryKey(groups + "\\Alfa", "Beta"), vrk::TLibraryResult::kOk);
        ASSERT_EQ(vrk::AddLibraryDictionary(groups + "\\Alfa", "/a1.vrk3"),
                  vrk::TLibraryResult::kOk);
        ASSERT_EQ(vrk::AddLibraryDictionary(groups + "\\Alfa\\Beta", "/b1.vrk3"),
                  vrk::TLibraryResult::kOk);
        ASSERT_EQ(vrk::AddLibraryDictionary(groups + "\\Gama", "/g1.vrk3"),
                  vrk::TLibraryResult::kOk);
        ASSERT_EQ(vrk::AddLibraryDictionary(groups + "\\Gama", "/a1.vrk3"),
                  vrk::TLibraryResult::kOk);
    }

    std::string StoredActiveLibrary() {
        std::string name;
        return vrk::TGetRegistryString(vrk::kFinderPath, "ActiveLib", name) ? name : "<none>";
    }
};

TEST_F(SearchBarTest, RepeatedTextMovesToTopAndKeepsTypedText) {
    CMainFrame frame(false);
    CSearchBar* bar = frame.SearchBar();
    for (const char* text : {"ab*", "c*d", "ef"}) bar->AddClueHistory(QString::fromUtf8(text));
    bar->SetClueText(QStringLiteral("zzz"));
    bar->AddClueHistory(QStringLiteral("c*d"));
    EXPECT_EQ(bar->ClueHistory(), QStringList({"c*d", "ef", "ab*"}));
    EXPECT_EQ(bar->ClueText(), QStringLiteral("zzz"));

    // The text picked from the history stays in the box when it moves up.
    bar->ClueBox()->setCurrentIndex(2);
    bar->AddClueHistory(QStringLiteral("ab*"));
    EXPECT_EQ(bar->ClueHistory(), QStringList({"ab*", "c*d", "ef"}));
    EXPECT_EQ(bar->ClueText(), QStringLiteral("ab*"));

    // The fifty-first text pushes the oldest out.
    for (int i = 1; i <= 51; ++i) bar->AddDescHistory(QStringLiteral("opis %1").arg(i));
    const QStringList history = bar->DescHistory();
    ASSERT_EQ(history.size(), 50);
    EXPECT_EQ(history.first(), QStringLiteral("opis 51"));
    EXPECT_EQ(history.last(), QStringLiteral("opis 2"));
}

TEST_F(SearchBarTest, SearchNeedsTextAndLibraryWithDictionaries) {
    MakeLibraries();
    const std::string groups(kGroupsKey);
    ASSERT_EQ(vrk::CreateLibraryKey(groups, "Prazna"), vrk::TLibraryResult::kOk);
    CMainFrame frame(false);
    QAction* search = frame.Commands()->Action(id::kSearch);
    auto enabled = [&] {
        frame.UpdateCommandStates();
        return search->isEnabled();
    };
    EXPECT_FALSE(enabled());  // nothing typed, no library
    ASSERT_TRUE(frame.ActiveLibrary().Select("Alfa"));
    EXPECT_FALSE(enabled());  // a library, but both boxes empty
    frame.SearchBar()->SetDescText(QStringLiteral("reka"));
    EXPECT_TRUE(enabled());
    ASSERT_TRUE(frame.ActiveLibrary().Select("Prazna"));
    EXPECT_FALSE(enabled());  // a library without dictionaries
}

// Which dictionaries a library collects is the settings' rule
// (library_registry_test); here, a chosen library is remembered (its
// restore at start: the chooser's test), and one that is gone changes
// nothing, stored or chosen.
TEST_F(SearchBarTest, AChosenLibraryIsRememberedAndAGoneOneChangesNothing) {
    MakeLibraries();
    TActiveLibrary library;
    ASSERT_TRUE(library.Select("Beta"));
    EXPECT_FALSE(library.Select("Omega"));
    EXPECT_EQ(library.Name(), "Beta");
    EXPECT_EQ(StoredActiveLibrary(), "Beta");
    ASSERT_TRUE(
        vrk::TSetRegistryString(vrk::kFinderPath, "ActiveLib", "Izbrisana", vrk::kRegOverwrite));
    CMainFrame frame(false);
    EXPECT_TRUE(frame.ActiveLibrary().Name().empty());
    EXPECT_TRUE(frame.ActiveLibrary().Dictionaries().empty());
}

TEST_F(SearchBarTest, ChooserListsLibrariesSortedAfterAllAndChoosing) {
    MakeLibraries();
    ASSERT_TRUE(TActiveLibrary().Select("Beta"));  // stored as the active library
    CMainFrame frame(false);
    EXPECT_EQ(frame.ActiveLibrary().Dictionaries(), "/b1.vrk3\"");
    CActiveLibraryDlg* chooser = frame.ActiveLibraryDlg();
    chooser->ShowAt(QPoint(10, 10));
    ASSERT_TRUE(chooser->isVisible());
    QListWidget* list = chooser->List();
    QStringList shown;
    for (int i = 0; i < list->count(); ++i) shown << list->item(i)->text();
    EXPECT_EQ(shown, QStringList({QStringLiteral("-- Vse Knjižnice --"), "Alfa", "Beta", "Gama"}));
    EXPECT_EQ(list->currentItem()->text(), QStringLiteral("Beta"));

    list->setCurrentRow(3);
    EXPECT_FALSE(chooser->isVisible());
    EXPECT_EQ(frame.ActiveLibrary().Name(), "Gama");
    EXPECT_EQ(frame.ActiveLibrary().Dictionaries(), "/g1.vrk3\"/a1.vrk3\"");

    // The manager adds a dictionary; choosing the active library again reads
    // it again.
    ASSERT_EQ(vrk::AddLibraryDictionary(std::string(kGroupsKey) + "\\Gama", "/g2.vrk3"),
              vrk::TLibraryResult::kOk);
    chooser->ShowAt(QPoint(10, 10));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(chooser));
    ASSERT_EQ(list->currentRow(), 3);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(3)).center());
    EXPECT_FALSE(chooser->isVisible());
    EXPECT_EQ(frame.ActiveLibrary().Dictionaries(), "/g1.vrk3\"/a1.vrk3\"/g2.vrk3\"");
}

// Each of the four switches toggles its own stored value, by a click on its
// picture or by Space, and a new pop-up shows the stored values.
TEST_F(SearchBarTest, EachOptionTogglesItsOwnValueOnlyInTheImageColumnOrByKey) {
    CMainFrame frame(false);
    CSearchOptionsDlg* options = frame.SearchOptions();
    QTreeWidget* tree = options->Tree();
    options->ShowAt(QPoint(5, 5));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(options));
    QWidget* viewport = tree->viewport();
    const auto rowY = [&](int item) {
        return tree->visualItemRect(tree->topLevelItem(item)).center().y();
    };
    const auto click = [&](int item) {
        QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(5, rowY(item)));
    };

    click(1);
    EXPECT_TRUE(ReadSearchOption("MatchCase"));
    EXPECT_FALSE(ReadSearchOption("CountLetters"));
    // On the text, right of the picture: nothing changes.
    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(60, rowY(1)));
    EXPECT_TRUE(ReadSearchOption("MatchCase"));
    // By keyboard: the pop-up's list has the focus, and Space toggles the
    // switch the arrows went to.
    ASSERT_TRUE(QTest::qWaitFor([tree] { return tree->hasFocus(); }));
    QTest::keyClick(tree, Qt::Key_Home);
    QTest::keyClick(tree, Qt::Key_Down);
    QTest::keyClick(tree, Qt::Key_Space);
    EXPECT_FALSE(ReadSearchOption("MatchCase"));

    click(3);
    EXPECT_TRUE(ReadPatternSyntax().anagram);
    EXPECT_FALSE(ReadPatternSyntax().extended);
    // A screen reader reads each row with its state, which only an image shows.
    EXPECT_EQ(tree->topLevelItem(3)->data(0, Qt::AccessibleTextRole).toString(),
              vrk::texts::kA11yOptionOn.arg(vrk::texts::kOptionAnagram));
    // Stored under our own name, beside the first two.
    std::int32_t stored = 0;
    ASSERT_TRUE(vrk::TGetRegistryNumber(vrk::kFinderPath, "Anagram", stored));
    EXPECT_EQ(stored, 1);
    CMainFrame again(false);
    EXPECT_TRUE(again.SearchOptions()->ShowsOn(3));
    EXPECT_FALSE(again.SearchOptions()->ShowsOn(2));
}

TEST_F(SearchBarTest, OptionStoreFailureShowsMessageAndKeepsValue) {
    CMainFrame frame(false);
    (void)UserKey(vrk::kUserRootKey).DeleteSubTree("Fndr");
    frame.SearchOptions()->Toggle(0);
    ASSERT_EQ(messages_->Shown().size(), 1u);
    EXPECT_EQ(messages_->Shown()[0].text, vrk::texts::kRegistryUnknownError);
    EXPECT_EQ(messages_->Shown()[0].icon, vrk::TMsgIcon::kError);
    EXPECT_FALSE(frame.SearchOptions()->ShowsOn(0));
}

}  // namespace
