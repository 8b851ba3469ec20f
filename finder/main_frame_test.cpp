// The main frame (placement, docking, help, fonts, keys, small screens) and
// the search bar (histories, the active library, the option switches).
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <functional>
#include <memory>

#include "finder/entry_window.h"
#include "finder/finder_texts.h"
#include "finder/fonts_dlg.h"
#include "finder/main_frame.h"
#include "finder/main_frame_ids.h"
#include "finder/save_entry_dlg.h"
#include "finder/search_bar.h"
#include "finder/search_bar_library.h"
#include "finder/search_bar_options.h"
#include "finder/undo_list_wnd.h"
#include "settings/library_registry.h"
#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"
#include "settings/temp_dir.h"
#include "ui/commands.h"
#include "ui/font_record.h"
#include "ui/help.h"
#include "ui/test_ui.h"

namespace {

class MainFrameTest : public vrk::TUiTest {
  protected:
    void SetUp() override {
        TUiTest::SetUp();
        vrk::EnsureFinderKeys();
    }

    std::int32_t Number(std::string_view name) {
        std::int32_t value = -12345;
        (void)vrk::TGetRegistryNumber(vrk::kFinderPath, name, value);
        return value;
    }
    void SetNumber(std::string_view name, std::int32_t value) {
        ASSERT_TRUE(vrk::TSetRegistryNumber(vrk::kFinderPath, name, value, vrk::kRegOverwrite));
    }
    static bool Checked(CMainFrame& frame, int command) {
        frame.UpdateCommandStates();
        return frame.Commands()->Action(command)->isChecked();
    }
    static void ShowAndSettle(CMainFrame& frame) {
        frame.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
        QTest::qWait(20);
    }
};

// Stored values that mean nothing here take the first start's defaults; help
// opens by itself at the first start only, and F1 opens the focused part's.
TEST_F(MainFrameTest, FirstStartDefaultsAndHelp) {
    SetNumber("FrameA", 4096);  // no side of ours
    SetNumber("EditV", 7);
    ASSERT_TRUE(vrk::TSetRegistryString(vrk::kFinderPath, "FrameW", "900", vrk::kRegOverwrite));
    EXPECT_EQ(ReadFramePlacement(QRect(0, 0, 1024, 768)).frame, QRect(112, 104, 800, 560));

    CMainFrame frame(false);
    EXPECT_EQ(frame.dockWidgetArea(frame.EntryWindow()), Qt::LeftDockWidgetArea);
    EXPECT_TRUE(helpContexts_.empty());
    ShowAndSettle(frame);
    EXPECT_EQ(helpContexts_, std::vector<int>({vrk::help::kFirstRun}));
    CMainFrame second(false);
    ShowAndSettle(second);
    EXPECT_EQ(helpContexts_.size(), 1u);

    second.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&second));
    second.SearchBar()->ClueBox()->setFocus();
    QTest::keyClick(second.SearchBar()->ClueBox()->lineEdit(), Qt::Key_F1);
    second.Commands()->Action(id::kGuide)->trigger();
    EXPECT_EQ(helpContexts_,
              std::vector<int>({vrk::help::kFirstRun, vrk::help::kSearchBar, vrk::help::kGuide}));
}

// The frame's size and place, the entry window's side (dragged there by its
// title, as the user would) and the fonts come back at the next start.
TEST_F(MainFrameTest, PlacementSideAndFontsComeBackAtTheNextStart) {
    QFont chosen = QApplication::font();
    chosen.setItalic(true);
    ASSERT_TRUE(vrk::WriteFontSetting(vrk::kFinderPath, "Font05", chosen));
    {
        CMainFrame frame(false);
        ShowAndSettle(frame);
        frame.resize(700, 500);
        frame.move(40, 30);
        frame.addDockWidget(Qt::TopDockWidgetArea, frame.EntryWindow());
        EXPECT_TRUE(Checked(frame, id::kDockTop));
        frame.close();
    }
    EXPECT_EQ(Number("FrameM"), kFrameNormal);
    CMainFrame frame(false);
    EXPECT_EQ(frame.size(), QSize(700, 500));
    EXPECT_EQ(frame.pos(), QPoint(Number("FrameX"), Number("FrameY")));
    EXPECT_EQ(frame.dockWidgetArea(frame.EntryWindow()), Qt::TopDockWidgetArea);
    EXPECT_TRUE(frame.SearchBar()->DescBox()->font().italic());
}

// Docked by its command, the entry window keeps its text; closed, it stays
// hidden at the next start until "Lebdeče" brings it back.
TEST_F(MainFrameTest, EntryWindowDocksWithItsTextAndStaysClosedUntilFloatBringsItBack) {
    CMainFrame frame(false);
    ShowAndSettle(frame);
    frame.FloatEntryWindow();
    QPlainTextEdit* editor = frame.EntryWindow()->Editor();
    editor->setPlainText(QStringLiteral("reka v Sloveniji"));
    frame.Commands()->Action(id::kDockBottom)->trigger();
    EXPECT_EQ(frame.dockWidgetArea(frame.EntryWindow()), Qt::BottomDockWidgetArea);
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("reka v Sloveniji"));
    EXPECT_TRUE(Checked(frame, id::kDockBottom));
    frame.Commands()->Action(id::kFloat)->trigger();
    frame.EntryWindow()->close();
    frame.close();
    EXPECT_EQ(Number("EditV"), kEntryHidden);
    CMainFrame hidden(false);
    ShowAndSettle(hidden);
    EXPECT_FALSE(hidden.EntryWindow()->isVisible());
    hidden.Commands()->Action(id::kFloat)->trigger();
    EXPECT_TRUE(hidden.EntryWindow()->isVisible());
}

// Menus and dialogs are used by keys alone: a letter for each item, label
// and button, and a default button.
TEST_F(MainFrameTest, EveryMenuAndDialogCanBeUsedByKeys) {
    ASSERT_TRUE(vrk::TWriteBackupDir(dir_));
    CMainFrame frame(false);
    EXPECT_EQ(vrk::MnemonicFaults(frame.menuBar()).join('\n').toStdString(), "");
    const std::function<QDialog*()> dialogs[] = {
        [] { return new CSaveEntryDlg(QStringLiteral("Sava")); },
        [] { return new CFontsDlg; },
    };
    for (const auto& make : dialogs)
        vrk::ExpectFilledInByKeys(std::unique_ptr<QDialog>(make()).get());
}

// On a small screen at a large scale every window fits, its texts whole.
TEST_F(MainFrameTest, WindowsFitASmallScreenWithTheirTextsWhole) {
    const std::pair<const char*, std::function<std::unique_ptr<QWidget>(CMainFrame&)>> cases[] = {
        {"main frame", [](CMainFrame&) { return std::make_unique<CMainFrame>(false); }},
        {"fonts", [](CMainFrame& frame) { return std::make_unique<CFontsDlg>(&frame); }},
        {"save entry",
         [](CMainFrame& frame) {
             return std::make_unique<CSaveEntryDlg>(QStringLiteral("Neimenovano Geslo"), &frame);
         }},
        {"search options",
         [](CMainFrame& frame) { return std::make_unique<CSearchOptionsDlg>(&frame); }},
        {"active library",
         [](CMainFrame& frame) {
             return std::make_unique<CActiveLibraryDlg>(frame.ActiveLibrary(), &frame);
         }},
        {"undo list",
         [](CMainFrame& frame) {
             auto list = std::make_unique<CUndoListWnd>(&frame);
             list->SetSteps({QStringLiteral("Shranjevanje gesla 'AFRODITA'"),
                             QStringLiteral("Brisanje gesla 'AJDOVŠČINA'")});
             return list;
         }},
    };
    CMainFrame frame(false);
    frame.show();
    for (const auto& [what, make] : cases)  // the frame alone must fit as it opens
        vrk::ExpectLaidOut(make(frame).get(), what, what == std::string_view("main frame"));
}

using SearchBarTest = MainFrameTest;

TEST_F(SearchBarTest, RepeatedTextMovesToTopAndKeepsTypedText) {
    CMainFrame frame(false);
    CSearchBar* bar = frame.SearchBar();
    for (const char* text : {"ab*", "c*d", "ef"}) bar->AddClueHistory(QString::fromUtf8(text));
    // The text picked from the history stays in the box when it moves up.
    bar->ClueBox()->setCurrentIndex(2);
    bar->AddClueHistory(QStringLiteral("ab*"));
    EXPECT_EQ(bar->ClueHistory(), QStringList({"ab*", "ef", "c*d"}));
    EXPECT_EQ(bar->ClueText(), QStringLiteral("ab*"));

    // The fifty-first text pushes the oldest out; one already there only
    // moves up, and the full history loses nothing.
    for (int i = 1; i <= 51; ++i) bar->AddDescHistory(QStringLiteral("opis %1").arg(i));
    bar->AddDescHistory(QStringLiteral("opis 10"));
    const QStringList history = bar->DescHistory();
    ASSERT_EQ(history.size(), 50);
    EXPECT_EQ(history.first(), QStringLiteral("opis 10"));
    EXPECT_EQ(history.last(), QStringLiteral("opis 2"));
}

// The chooser lists the libraries; the one chosen is remembered for the next
// start, and one that is gone changes nothing, stored or chosen (which
// dictionaries a library collects: library_registry_test).
TEST_F(SearchBarTest, ChooserListsLibrariesSortedAfterAllAndChoosing) {
    // "/d0" is a value, not a library; "Beta" lies below "Alfa".
    (void)UserKey(vrk::kGroupsKey).SetString("/d0.vrk3", "");
    const std::string groups(vrk::kGroupsKey);
    for (const auto& [parent, name] : {std::pair{"", "Gama"}, {"", "Alfa"}, {"\\Alfa", "Beta"}})
        ASSERT_EQ(vrk::CreateLibraryKey(groups + parent, name), vrk::TLibraryResult::kOk);
    for (const auto& [library, path] : {std::pair{"\\Alfa", "/a1.vrk3"},
                                        {"\\Alfa\\Beta", "/b1.vrk3"},
                                        {"\\Gama", "/g1.vrk3"},
                                        {"\\Gama", "/a1.vrk3"}})
        ASSERT_EQ(vrk::AddLibraryDictionary(groups + library, path), vrk::TLibraryResult::kOk);
    ASSERT_TRUE(
        vrk::TSetRegistryString(vrk::kFinderPath, "ActiveLib", "Izbrisana", vrk::kRegOverwrite));
    EXPECT_TRUE(CMainFrame(false).ActiveLibrary().Name().empty());
    TActiveLibrary library;
    ASSERT_TRUE(library.Select("Beta"));
    EXPECT_FALSE(library.Select("Omega"));
    EXPECT_EQ(library.Name(), "Beta");
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

    // The manager adds a dictionary; choosing the active library again reads
    // it again.
    ASSERT_EQ(vrk::AddLibraryDictionary(groups + "\\Gama", "/g2.vrk3"), vrk::TLibraryResult::kOk);
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
TEST_F(SearchBarTest, EachOptionTogglesItsOwnValueByClickOrKey) {
    CMainFrame frame(false);
    CSearchOptionsDlg* options = frame.SearchOptions();
    QTreeWidget* tree = options->Tree();
    options->ShowAt(QPoint(5, 5));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(options));
    QWidget* viewport = tree->viewport();
    const auto click = [&](int item) {
        const int y = tree->visualItemRect(tree->topLevelItem(item)).center().y();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(5, y));
    };

    click(1);
    EXPECT_TRUE(ReadSearchOption("MatchCase"));
    EXPECT_FALSE(ReadSearchOption("CountLetters"));
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
    EXPECT_EQ(Number("Anagram"), 1);  // under our own name, beside the first two
    CMainFrame again(false);
    EXPECT_TRUE(again.SearchOptions()->ShowsOn(3));
    EXPECT_FALSE(again.SearchOptions()->ShowsOn(2));
    // A value that cannot be stored is said so and shows unchanged.
    (void)UserKey(vrk::kUserRootKey).DeleteSubTree("Fndr");
    again.SearchOptions()->Toggle(0);
    ASSERT_EQ(messages_->Texts(), std::vector<QString>{vrk::texts::kRegistryUnknownError});
    EXPECT_EQ(messages_->Shown()[0].icon, vrk::TMsgIcon::kError);
    EXPECT_FALSE(again.SearchOptions()->ShowsOn(0));
}

}  // namespace
