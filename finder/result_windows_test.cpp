// The result windows: one per search, "Novo Okno", the fonts, and the view's
// rows, sorting, marks and description pane.
#include <QAction>
#include <QComboBox>
#include <QFontDialog>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <optional>

#include "finder/child_frame.h"
#include "finder/finder_test_util.h"
#include "finder/finder_texts.h"
#include "finder/fonts_dlg.h"
#include "finder/main_frame.h"
#include "finder/main_frame_ids.h"
#include "finder/search_bar.h"
#include "finder/vrk3mpg_view.h"
#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"
#include "ui/commands.h"
#include "ui/font_record.h"
#include "ui/help.h"

namespace vrk {
namespace {

class TResultWindowsTest : public TFrameTest {
  protected:
    // The frame shown, its active library holding three rivers and a mountain.
    void OpenFrame() {
        path_ = Dictionary("a.vrk3", {Record("Sava", {"reka"}), Record("Soča", {"reka"}),
                                      Record("Krka", {"reka"}), Record("Krn", {"gora"})});
        MakeLibrary("Reke", {path_});
        ASSERT_TRUE(frame_->ActiveLibrary().Select("Reke"));
        frame_->resize(1000, 700);
        frame_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame_.get()));
    }
    // Answers "Spremeni..." for `entry` with `font`; no font cancels.
    static void ChangeFontOf(CFontsDlg* dialog, int entry, std::optional<QFont> font) {
        Child<QComboBox>(dialog, "fontWindowList")->setCurrentIndex(entry);
        WhenModal([font](QWidget* modal) {
            auto* fonts = qobject_cast<QFontDialog*>(modal);
            ASSERT_NE(fonts, nullptr);
            if (!font) return fonts->reject();
            fonts->setCurrentFont(*font);
            fonts->accept();
        });
        Child<QPushButton>(dialog, "changeFontButton")->click();
    }
    static TFontValue StoredFont(int slot) {
        TFontValue value{};
        EXPECT_TRUE(TGetRegistryFont(kFinderPath, "Font0" + std::to_string(slot), value));
        return value;
    }
    // A result window of the search for these texts over one dictionary.
    CVrk3mpgView* ViewOf(const std::vector<std::string>& entries, const QString& clue = "*",
                         const QString& desc = {}) {
        path_ = Dictionary("a.vrk3", entries);
        return OpenResults({path_}, clue, desc);
    }
    static QStringList Column(const CVrk3mpgView& view, int column) {
        QStringList texts;
        for (int row = 0; row < view.List()->topLevelItemCount(); ++row)
            texts << view.List()->topLevelItem(row)->text(column);
        return texts;
    }
    static void Select(CVrk3mpgView& view, int row) {
        view.List()->setCurrentItem(view.List()->topLevelItem(row));
    }
    std::string path_;
};

// Letters no dictionary can hold are refused by name, and nothing is
// searched (as "?", "+è" would find descriptions holding "?"). Each search
// opens its own window, titled by what it found; the frame's title follows
// the active one.
TEST_F(TResultWindowsTest, EachSearchOpensItsOwnTitledWindow) {
    OpenFrame();
    for (const auto& [clue, desc] : {std::pair<QString, QString>{"", "-reka -è"}, {"Sè→", "+è"}}) {
        messages_->Clear();
        EXPECT_EQ(SearchFor(clue, desc), nullptr);
        ASSERT_EQ(messages_->Texts().size(), 1u);
        EXPECT_EQ(messages_->Texts()[0].count(QStringLiteral("„è“")), 1) << desc.toStdString();
    }
    EXPECT_TRUE(messages_->Texts()[0].contains(QStringLiteral("„→“")));
    EXPECT_EQ(messages_->Shown()[0].icon, TMsgIcon::kWarning);
    EXPECT_TRUE(frame_->SearchBar()->DescHistory().isEmpty());
    EXPECT_TRUE(frame_->MdiArea()->subWindowList().isEmpty());
    CChildFrame* first = SearchFor("", "gora -žaba");
    frame_->SearchBar()->SetClueText(QStringLiteral("K*"));
    frame_->SearchBar()->SetDescText({});
    frame_->Commands()->Action(id::kSearch)->trigger();
    auto* second = qobject_cast<CChildFrame*>(frame_->MdiArea()->activeSubWindow());
    ASSERT_TRUE(first && second);
    EXPECT_EQ(frame_->MdiArea()->subWindowList().size(), 2);
    EXPECT_EQ(first->windowTitle(), "Iskanje \"\" (1 zadetek)");  // "ž" has a byte
    EXPECT_EQ(second->windowTitle(), "Iskanje \"K*\" (2 zadetka)");
    EXPECT_EQ(second->View()->List()->topLevelItemCount(), 2);
    EXPECT_EQ(frame_->windowTitle(), second->windowTitle() + QStringLiteral(" — Verbatrakon III"));
}

// "Novo Okno" shows the rows of the active window as they stand, marks and
// removals included, in its own order.
TEST_F(TResultWindowsTest, NewWindowShowsTheSameRows) {
    OpenFrame();
    CChildFrame* first = SearchFor("*");
    ASSERT_NE(first, nullptr);
    CVrk3mpgView* view = first->View();
    view->List()->setCurrentItem(view->List()->topLevelItem(0));
    view->ToggleMark();
    view->List()->setCurrentItem(view->List()->topLevelItem(3));
    view->RemoveSelected();
    view->SortBy(1);
    frame_->Commands()->Action(id::kNewWindow)->trigger();

    auto* second = qobject_cast<CChildFrame*>(frame_->MdiArea()->currentSubWindow());
    ASSERT_TRUE(second && second != first);
    CVrk3mpgView* copy = second->View();
    EXPECT_EQ(second->windowTitle(), first->windowTitle());
    EXPECT_EQ(copy->SortMode(), 0);
    std::vector<std::string> rows = Rows(*view), copied = Rows(*copy);
    std::sort(rows.begin(), rows.end());
    std::sort(copied.begin(), copied.end());
    EXPECT_EQ(copied, rows);
    ASSERT_EQ(copy->List()->findItems("Yes", Qt::MatchExactly, CVrk3mpgView::kColMarked).size(), 1);
}

// "Pisave...": Cancel changes nothing; a font chosen with OK reaches every
// result list, now and later; a foreign record left alone stays byte for byte.
TEST_F(TResultWindowsTest, FontOfFoundWordsReachesEveryResultWindow) {
    TFontRecord foreign;
    foreign.height = -15;
    foreign.weight = 700;
    foreign.charSet = kEastEuropeCharSet;
    foreign.pitchAndFamily = 49;
    foreign.SetFaceName("Arial CE");
    ASSERT_TRUE(TSetRegistryFont(kFinderPath, "Font03", EncodeFontRecord(foreign)));
    OpenFrame();
    CChildFrame* first = SearchFor("S*");
    CChildFrame* second = SearchFor("K*");
    ASSERT_TRUE(first && second);
    QFont chosen = first->View()->List()->font();
    chosen.setPixelSize(21);
    chosen.setItalic(true);
    const TFontValue before = StoredFont(2);
    WhenModal([&](QWidget* modal) {
        ChangeFontOf(qobject_cast<CFontsDlg*>(modal), 1, chosen);
        Child<QPushButton>(modal, "helpButton")->click();
        Child<QPushButton>(modal, "cancelButton")->click();
    });
    frame_->Commands()->Action(id::kFonts)->trigger();
    EXPECT_EQ(StoredFont(2), before);
    EXPECT_NE(first->View()->List()->font().pixelSize(), 21);
    EXPECT_EQ(helpContexts_.back(), help::kFonts);
    WhenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<CFontsDlg*>(modal);
        ASSERT_NE(dialog, nullptr);
        ChangeFontOf(dialog, 1, chosen);
        ChangeFontOf(dialog, 2, std::nullopt);
        Child<QPushButton>(dialog, "okButton")->click();
    });
    frame_->Commands()->Action(id::kFonts)->trigger();
    for (CChildFrame* window : {first, second, SearchFor("*")}) {
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->View()->List()->font().pixelSize(), 21);
    }
    EXPECT_EQ(DecodeFontRecord(StoredFont(2)), RecordFromFont(chosen));
    EXPECT_EQ(StoredFont(3), EncodeFontRecord(foreign));
}

TEST(ShortDescriptionTest, FirstDescriptionCutAtTheNextOrAControlByte) {
    EXPECT_EQ(CVrk3mpgView::ShortDescription("reka\x01gora"), "reka, ...");
    EXPECT_EQ(CVrk3mpgView::ShortDescription("prva\nvrstica"), "prva, ...");
    EXPECT_EQ(CVrk3mpgView::ShortDescription(std::string(2000, 'a')), std::string(995, 'a'));
}

// Mode 0 puts the words that hold more of the description's words first
// (column 4), then sorts by word; the hidden columns name the entry.
TEST_F(TResultWindowsTest, RowsShowWordDescriptionDictionaryAndHiddenColumns) {
    CVrk3mpgView* view =
        ViewOf({Record("Aa", {"reka"}), Record("Bb", {"reka gora"}), Record("Cc", {"gora"})}, "",
               "reka gora");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Column(*view, 0), (QStringList{"Bb", "Aa", "Cc"}));
    EXPECT_EQ(Column(*view, 1), (QStringList{"reka gora", "reka", "gora"}));
    EXPECT_EQ(Column(*view, 2), (QStringList{"a.vrk3", "a.vrk3", "a.vrk3"}));
    const QString path = QString::fromStdString(path_);
    EXPECT_EQ(Column(*view, 3), (QStringList{path, path, path}));
    EXPECT_EQ(Column(*view, 4), (QStringList{"3", "2", "2"}));
    EXPECT_EQ(Column(*view, 5), (QStringList{"1", "0", "2"}));
}

TEST_F(TResultWindowsTest, HeadingClicksToggleModesAndSortStably) {
    // "Ana" and "ANA" are equal in the alphabet (one group per letter), so
    // they keep their order from the sort before.
    CVrk3mpgView* view = ViewOf(
        {Record("Bor", {"c"}), Record("ANA", {"b"}), Record("Ana", {"a"}), Record("Cel", {"a"})},
        "", "a b c");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->SortMode(), 0);
    // All have priority 2; equal words keep the order found.
    EXPECT_EQ(Column(*view, 0), (QStringList{"ANA", "Ana", "Bor", "Cel"}));
    view->OnHeadingClicked(1);
    EXPECT_EQ(view->SortMode(), 3);
    EXPECT_EQ(Column(*view, 0), (QStringList{"Ana", "Cel", "ANA", "Bor"}));
    view->OnHeadingClicked(0);
    EXPECT_EQ(view->SortMode(), 1);
    EXPECT_EQ(Column(*view, 0), (QStringList{"Ana", "ANA", "Bor", "Cel"}));
}

TEST_F(TResultWindowsTest, MarkingTogglesAndRemovingSelectsTheNextRow) {
    CVrk3mpgView* view = ViewOf({Record("a1"), Record("a2"), Record("a3")});
    ASSERT_NE(view, nullptr);
    Select(*view, 1);
    view->ToggleMark();
    EXPECT_EQ(view->List()->topLevelItem(1)->text(6), "Yes");
    // The context menu's commands are actions of the list.
    FindCommand(view->List(), CVrk3mpgView::kCmdMark)->trigger();
    EXPECT_EQ(view->List()->topLevelItem(1)->text(6), "No");

    FindCommand(view->List(), CVrk3mpgView::kCmdRemove)->trigger();
    EXPECT_EQ(Column(*view, 0), (QStringList{"a1", "a3"}));
    EXPECT_EQ(view->SelectedRow(), 1);
    view->RemoveSelected();
    EXPECT_EQ(Column(*view, 0), QStringList{"a1"});
    EXPECT_EQ(view->SelectedRow(), -1);
    EXPECT_EQ(view->Pane()->count(), 0);
}

// The pane shows the selected word's first hundred descriptions, or says
// that its dictionary, gone meanwhile, cannot be opened.
TEST_F(TResultWindowsTest, PaneShowsTheSelectedWordsFirstHundredDescriptions) {
    std::string many = "reka";
    for (int i = 0; i < 120; ++i) many += "\x01opis " + std::to_string(i);
    CVrk3mpgView* view = ViewOf({many, Record("rob", {"kraj", "meja"})}, "r*");
    ASSERT_NE(view, nullptr);
    Select(*view, 0);
    ASSERT_EQ(view->Pane()->count(), 100);
    EXPECT_EQ(view->Pane()->item(99)->text(), "opis 99");
    Select(*view, 1);
    ASSERT_EQ(view->Pane()->count(), 2);
    EXPECT_EQ(view->Pane()->item(1)->text(), "meja");
    EXPECT_TRUE(messages_->Texts().empty());
    std::remove(path_.c_str());
    Select(*view, 0);
    EXPECT_EQ(view->Pane()->count(), 0);
    ASSERT_EQ(messages_->Shown().size(), 1u);
    EXPECT_EQ(messages_->Shown()[0].text, vrk::texts::kDictOpenError);
    EXPECT_EQ(messages_->Shown()[0].icon, TMsgIcon::kError);
}

}  // namespace
}  // namespace vrk
