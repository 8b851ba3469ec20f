// Saving and deleting through the main frame: how the rows of every result
// window follow the moved entries, a row whose entry another program moved,
// and Save going on with the Save as dialog. The file operations themselves
// are tested against the entry editor (entry_editor_test.cpp).
#include <QListWidget>
#include <QTreeWidget>
#include <filesystem>

#include "finder/entry_commands.h"
#include "finder/entry_test_util.h"
#include "finder/finder_texts.h"
#include "finder/vrk3mpg_view.h"
#include "store/data_file.h"
#include "ui/failure_text.h"

namespace vrk {
namespace {

class EntryFilesTest : public TEntryTest {
  protected:
    // Ten entries "w0" ... "w9", each with the description "o0" ... "o9".
    std::string TenEntries(const std::string& file, const std::string& prefix = "w") {
        std::vector<std::string> entries;
        for (int i = 0; i < 10; ++i)
            entries.push_back(Entry(prefix + std::to_string(i), {"o" + std::to_string(i)}));
        return Dictionary(file, entries);
    }
};

TEST_F(EntryFilesTest, SaveMovesTheEntryToTheEndAndEveryReferenceFollows) {
    const std::string a = TenEntries("a.vrk3");
    const std::string b = TenEntries("b.vrk3", "b");
    CVrk3mpgView* view = OpenResults({a, b});
    ASSERT_NE(view, nullptr);
    Load(a, 3);
    Type("nov opis");
    frame_->EntryCommands().SaveEntry();

    std::vector<std::string> entries = Entries(a);
    ASSERT_EQ(entries.size(), 10u);
    EXPECT_EQ(entries[9], Entry("w3", {"nov opis"}));
    EXPECT_EQ(entries[3], Entry("w4", {"o4"}));
    EXPECT_EQ(frame_->Editor().State().m_nClueIndex, 9);
    const std::vector<std::string> rows = Rows(*view);
    auto row = [&rows](const std::string& word) {
        for (const std::string& r : rows)
            if (r.rfind(word + "|", 0) == 0) return r;
        return std::string();
    };
    EXPECT_EQ(row("w3"), "w3|nov opis|9");
    EXPECT_EQ(row("w2"), "w2|o2|2");
    EXPECT_EQ(row("w7"), "w7|o7|6");
    EXPECT_EQ(row("b7"), "b7|o7|7");

    // Undo puts the earlier record back, again as the last entry, and the
    // window shows the word as it was before the save: changed, unsaved.
    ASSERT_TRUE(frame_->EntryCommands().UndoLast());
    entries = Entries(a);
    EXPECT_EQ(entries[9], Entry("w3", {"o3"}));
    EXPECT_EQ(Rows(*view), [&] {
        std::vector<std::string> expected = rows;
        for (std::string& r : expected)
            if (r.rfind("w3|", 0) == 0) r = "w3|o3|9";
        return expected;
    }());
    EXPECT_EQ(frame_->Editor().State().m_nClueIndex, 9);
    EXPECT_EQ(frame_->Editor().State().m_strEditDesc[0], "nov opis");
    EXPECT_EQ(Counter(), "Opis 1/1*");
}

TEST_F(EntryFilesTest, DeleteRemovesItsRowsEverywhereAndUndoStoresItAgain) {
    const std::string a = TenEntries("a.vrk3");
    // The second window reaches the dictionary through another spelling.
    const std::string link = folder_ + "/povezava.vrk3";
    std::filesystem::create_symlink(a, link);
    CVrk3mpgView* first = OpenResults({a});
    CVrk3mpgView* second = OpenResults({link}, "w*");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    Load(a, 3);
    frame_->EntryCommands().AddDescription();  // a step that refers to entry 3
    frame_->EntryCommands().DeleteEntry();

    EXPECT_EQ(Entries(a).size(), 9u);
    for (const CVrk3mpgView* view : {first, second}) {
        const std::vector<std::string> rows = Rows(*view);
        ASSERT_EQ(rows.size(), 9u);
        for (const std::string& r : rows) EXPECT_EQ(r.rfind("w3|", 0), std::string::npos);
        EXPECT_NE(std::find(rows.begin(), rows.end(), "w4|o4|3"), rows.end());
        EXPECT_NE(std::find(rows.begin(), rows.end(), "w9|o9|8"), rows.end());
    }
    EXPECT_LE(frame_->Editor().History().At(0).state.m_nClueIndex, -2);  // the deletion's tag
    EXPECT_TRUE(frame_->Editor().State().m_strDataFile.isEmpty());
    EXPECT_EQ(frame_->Editor().State().m_strWord, "w3");

    ASSERT_TRUE(frame_->EntryCommands().UndoLast());
    const std::vector<std::string> entries = Entries(a);
    ASSERT_EQ(entries.size(), 10u);
    EXPECT_EQ(entries[9], Entry("w3", {"o3"}));
    EXPECT_EQ(frame_->Editor().State().m_nClueIndex, 9);
    EXPECT_EQ(frame_->Editor().State().m_strDataFile, QString::fromStdString(a));
    EXPECT_EQ(frame_->Editor().History().At(0).state.m_nClueIndex, 9);
    ASSERT_TRUE(frame_->EntryCommands().UndoLast());  // the added description
    EXPECT_EQ(frame_->Editor().State().m_nClueIndex, 9);
    Type("zadnji");
    frame_->EntryCommands().SaveEntry();
    EXPECT_EQ(Entries(a)[9], Entry("w3", {"zadnji"}));
}

TEST_F(EntryFilesTest, AfterDeleteThePaneShowsTheSelectedRowsOwnEntry) {
    // The rows sort by word, so the row above the last one names a later
    // entry than the last row, and one past the found words follows.
    const std::string path =
        Dictionary("a.vrk3", {Entry("Sz", {"z"}), Entry("Sa", {"a"}), Entry("Sb", {"b"}),
                              Entry("Sc", {"c"}), Entry("Krka", {"reka"})});
    CVrk3mpgView* view = OpenResults({path}, "S*");
    ASSERT_NE(view, nullptr);
    const int last = view->List()->topLevelItemCount() - 1;
    view->List()->setCurrentItem(view->List()->topLevelItem(last));
    view->OpenSelected();
    ASSERT_EQ(frame_->Editor().State().m_strWord, "Sz");
    frame_->EntryCommands().DeleteEntry();
    ASSERT_EQ(view->SelectedRow(), last - 1);
    EXPECT_EQ(view->List()->topLevelItem(last - 1)->text(CVrk3mpgView::kColWord), "Sc");
    ASSERT_EQ(view->Pane()->count(), 1);
    EXPECT_EQ(view->Pane()->item(0)->text(), "c");
    EXPECT_TRUE(messages_->Texts().empty());
}

TEST_F(EntryFilesTest, ARowWhoseEntryAnotherProgramMovedLoadsNothing) {
    const std::string path =
        Dictionary("a.vrk3", {Entry("ALFA", {"a"}), Entry("BETA", {"b"}), Entry("GAMA", {"g"})});
    CVrk3mpgView* view = OpenResults({path});
    ASSERT_NE(view, nullptr);
    TDataFile other(path, path + ".r", path + ".a", path + ".o");
    ASSERT_TRUE(other.DeleteEntry(0));  // BETA's row still says index 1: GAMA
    const QString changed = FailureReason(TFailure::EntryChanged);
    const QList<QTreeWidgetItem*> beta = view->List()->findItems("BETA", Qt::MatchExactly);
    ASSERT_EQ(beta.size(), 1);
    view->List()->setCurrentItem(beta.first());
    EXPECT_EQ(view->Pane()->count(), 0);
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{changed});
    view->OpenSelected();
    EXPECT_EQ(messages_->Texts(), (std::vector<QString>{changed, changed}));
    EXPECT_EQ(frame_->Editor().State().m_strWord, texts::kUnnamedWord);
    EXPECT_TRUE(frame_->Editor().State().m_strDataFile.isEmpty());
    EXPECT_EQ(Entries(path),
              (std::vector<std::string>{Entry("BETA", {"b"}), Entry("GAMA", {"g"})}));
}

TEST_F(EntryFilesTest, SaveIntoADictionaryThatForbidsChangesGoesOnWithSaveAs) {
    const std::string closed = Dictionary("zaprt.vrk3", {Entry("Sava", {"reka"})}, 4);
    const std::string open = Dictionary("odprt.vrk3", {Entry("Krka")});
    MakeLibrary("Reke", {closed, open});
    Load(closed, 0);
    Type("gorska reka");
    ChooseInSaveDialog("odprt.vrk3");
    frame_->EntryCommands().SaveEntry();
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{texts::kSaveRefused});
    EXPECT_EQ(Entries(open),
              (std::vector<std::string>{Entry("Krka"), Entry("Sava", {"gorska reka"})}));
    EXPECT_EQ(frame_->Editor().State().m_strDataFile, QString::fromStdString(open));
    EXPECT_EQ(frame_->Editor().State().m_nClueIndex, 1);
    EXPECT_FALSE(frame_->Editor().Modified());
}

}  // namespace
}  // namespace vrk
