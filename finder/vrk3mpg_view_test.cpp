// The result view: its rows, sort modes, marking, removing, the description
// pane and opening a word.
#include "finder/vrk3mpg_view.h"

#include <QListWidget>
#include <QSignalSpy>
#include <QTreeWidget>

#include "finder/finder_test_util.h"
#include "finder/finder_texts.h"
#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"
#include "ui/commands.h"

namespace vrk {
namespace {

class TResultViewTest : public TSearchTest {
  protected:
    // A view of the search for `clue` over one dictionary of `entries`.
    std::unique_ptr<CVrk3mpgView> ViewOf(const std::vector<std::string>& entries,
                                         const QString& clue = "*", const QString& desc = {}) {
        path_ = Dictionary("a.vrk3", entries);
        SetLibrary({path_});
        auto doc = Search(clue, desc);
        EXPECT_NE(doc, nullptr);
        if (!doc) return nullptr;
        return std::make_unique<CVrk3mpgView>(doc);
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

TEST(ShortDescriptionTest, FirstDescriptionCutAtTheNextOrAControlByte) {
    EXPECT_EQ(CVrk3mpgView::ShortDescription("reka\x01gora"), "reka, ...");
    EXPECT_EQ(CVrk3mpgView::ShortDescription("prva\nvrstica"), "prva, ...");
    EXPECT_EQ(CVrk3mpgView::ShortDescription(std::string(2000, 'a')), std::string(995, 'a'));
}

TEST_F(TResultViewTest, RowsShowWordDescriptionDictionaryAndHiddenColumns) {
    auto view = ViewOf({Record("Sava", {"reka", "tudi ime"}), Record("Krn")});
    ASSERT_NE(view, nullptr);
    QTreeWidget* list = view->List();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_TRUE(list->isColumnHidden(CVrk3mpgView::kColDataFile));
    // Mode 0 with priority 1 everywhere orders by word.
    EXPECT_EQ(Column(*view, 0), (QStringList{"Krn", "Sava"}));
    EXPECT_EQ(Column(*view, 1), (QStringList{"", "reka, ..."}));
    EXPECT_EQ(Column(*view, 2), (QStringList{"a.vrk3", "a.vrk3"}));
    EXPECT_EQ(Column(*view, 3),
              (QStringList{QString::fromStdString(path_), QString::fromStdString(path_)}));
    EXPECT_EQ(Column(*view, 4), (QStringList{"1", "1"}));
    EXPECT_EQ(Column(*view, 5), (QStringList{"1", "0"}));
    EXPECT_EQ(Column(*view, 6), (QStringList{"No", "No"}));
}

TEST_F(TResultViewTest, HeadingClicksToggleModesAndSortStably) {
    // "Ana" and "ANA" are equal in the alphabet (one group per letter), so
    // they keep their order from the sort before.
    auto view = ViewOf(
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
    view->OnHeadingClicked(2);
    EXPECT_EQ(view->SortMode(), 5);
    view->OnHeadingClicked(2);
    EXPECT_EQ(view->SortMode(), 4);
}

TEST_F(TResultViewTest, PriorityModesPutMoreFoundWordsFirst) {
    auto view =
        ViewOf({Record("Aa", {"reka"}), Record("Bb", {"reka gora"}), Record("Cc", {"gora"})}, "",
               "reka gora");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Column(*view, 0), (QStringList{"Bb", "Aa", "Cc"}));
    EXPECT_EQ(Column(*view, 4), (QStringList{"3", "2", "2"}));
    view->SortBy(1);
    EXPECT_EQ(Column(*view, 0), (QStringList{"Aa", "Bb", "Cc"}));
}

TEST_F(TResultViewTest, MarkingTogglesAndRemovingSelectsTheNextRow) {
    auto view = ViewOf({Record("a1"), Record("a2"), Record("a3")});
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

TEST_F(TResultViewTest, PaneShowsTheSelectedWordsFirstHundredDescriptions) {
    std::string many = "reka";
    for (int i = 0; i < 120; ++i) many += "\x01opis " + std::to_string(i);
    auto view = ViewOf({many, Record("rob", {"kraj", "meja"})}, "r*");
    ASSERT_NE(view, nullptr);
    Select(*view, 0);
    ASSERT_EQ(view->Pane()->count(), 100);
    EXPECT_EQ(view->Pane()->item(99)->text(), "opis 99");
    Select(*view, 1);
    ASSERT_EQ(view->Pane()->count(), 2);
    EXPECT_EQ(view->Pane()->item(1)->text(), "meja");
    EXPECT_TRUE(messages_->Texts().empty());
}

TEST_F(TResultViewTest, PaneOfAVanishedDictionarySaysItCannotBeOpened) {
    auto view = ViewOf({Record("reka", {"voda"})}, "r*");
    ASSERT_NE(view, nullptr);
    std::remove(path_.c_str());
    Select(*view, 0);
    EXPECT_EQ(view->Pane()->count(), 0);
    ASSERT_EQ(messages_->Shown().size(), 1u);
    EXPECT_EQ(messages_->Shown()[0].text, vrk::texts::kDictOpenError);
    EXPECT_EQ(messages_->Shown()[0].icon, TMsgIcon::kError);
}

TEST_F(TResultViewTest, OpeningAWordNamesItsRowAndDescription) {
    auto view = ViewOf({Record("x"), Record("reka", {"voda", "tok"})}, "r*");
    ASSERT_NE(view, nullptr);
    QSignalSpy opened(view.get(), &CVrk3mpgView::OpenEntryRequested);
    view->OpenSelected();  // no row selected
    EXPECT_EQ(opened.count(), 0);
    Select(*view, 0);
    view->OpenSelected();
    view->Pane()->setCurrentRow(1);
    FindCommand(view->List(), CVrk3mpgView::kCmdOpen)->trigger();
    ASSERT_EQ(opened.count(), 2);
    EXPECT_EQ(opened[0][0].toInt(), 0);
    EXPECT_EQ(opened[0][1].toInt(), -1);
    EXPECT_EQ(opened[1][1].toInt(), 1);
}

}  // namespace
}  // namespace vrk
