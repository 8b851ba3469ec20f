// Saving, saving as and deleting through the file operations: what the
// dictionary holds afterwards (read back through the store), how the rows of
// every result window and the undo steps follow the moved entries, and what
// happens when another program changed the dictionary meanwhile.
#include <QListWidget>
#include <QTreeWidget>
#include <filesystem>

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
    // Loads entry `index`, after a change of the word shown before, so that
    // the undo history holds a step with that word's index.
    void LoadOverChange(const std::string& path, int index) {
        Type("sprememba");
        messages_->Answer(TMsgAnswer::kYes);
        Load(path, index);
    }
};

TEST_F(EntryFilesTest, SaveMovesTheEntryToTheEndAndEveryReferenceFollows) {
    const std::string a = TenEntries("a.vrk3");
    const std::string b = TenEntries("b.vrk3", "b");
    CVrk3mpgView* view = OpenResults({a, b});
    ASSERT_NE(view, nullptr);
    Load(b, 7);
    LoadOverChange(a, 7);  // a step showing entry 7 of b
    LoadOverChange(a, 3);  // a step showing entry 7 of a
    Type("nov opis");
    frame_->SaveEntry();

    std::vector<std::string> entries = Entries(a);
    ASSERT_EQ(entries.size(), 10u);
    EXPECT_EQ(entries[9], Entry("w3", {"nov opis"}));
    EXPECT_EQ(entries[3], Entry("w4", {"o4"}));
    EXPECT_EQ(frame_->Entry().m_nClueIndex, 9);
    const TUndoHistory& history = frame_->UndoHistory();
    ASSERT_EQ(history.Count(), 3);
    EXPECT_EQ(history.At(0).state.m_nClueIndex, 7);  // b is another dictionary
    EXPECT_EQ(history.At(1).state.m_nClueIndex, 6);
    EXPECT_EQ(history.At(2).nOpIndex, 9);
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
    ASSERT_TRUE(frame_->UndoLast());
    entries = Entries(a);
    EXPECT_EQ(entries[9], Entry("w3", {"o3"}));
    EXPECT_EQ(Rows(*view), [&] {
        std::vector<std::string> expected = rows;
        for (std::string& r : expected)
            if (r.rfind("w3|", 0) == 0) r = "w3|o3|9";
        return expected;
    }());
    EXPECT_EQ(frame_->Entry().m_nClueIndex, 9);
    EXPECT_EQ(frame_->Entry().m_strEditDesc[0], "nov opis");
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
    frame_->AddDescription();  // a step that refers to entry 3
    frame_->DeleteEntry();

    EXPECT_EQ(Entries(a).size(), 9u);
    for (const CVrk3mpgView* view : {first, second}) {
        const std::vector<std::string> rows = Rows(*view);
        ASSERT_EQ(rows.size(), 9u);
        for (const std::string& r : rows) EXPECT_EQ(r.rfind("w3|", 0), std::string::npos);
        EXPECT_NE(std::find(rows.begin(), rows.end(), "w4|o4|3"), rows.end());
        EXPECT_NE(std::find(rows.begin(), rows.end(), "w9|o9|8"), rows.end());
    }
    EXPECT_LE(frame_->UndoHistory().At(0).state.m_nClueIndex, -2);  // the deletion's tag
    EXPECT_TRUE(frame_->Entry().m_strDataFile.isEmpty());
    EXPECT_EQ(frame_->Entry().m_strWord, "w3");

    ASSERT_TRUE(frame_->UndoLast());
    const std::vector<std::string> entries = Entries(a);
    ASSERT_EQ(entries.size(), 10u);
    EXPECT_EQ(entries[9], Entry("w3", {"o3"}));
    EXPECT_EQ(frame_->Entry().m_nClueIndex, 9);
    EXPECT_EQ(frame_->Entry().m_strDataFile, QString::fromStdString(a));
    EXPECT_EQ(frame_->UndoHistory().At(0).state.m_nClueIndex, 9);
    ASSERT_TRUE(frame_->UndoLast());  // the added description
    EXPECT_EQ(frame_->Entry().m_nClueIndex, 9);
    Type("zadnji");
    frame_->SaveEntry();
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
    ASSERT_EQ(frame_->Entry().m_strWord, "Sz");
    frame_->DeleteEntry();
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
    EXPECT_EQ(frame_->Entry().m_strWord, texts::kUnnamedWord);
    EXPECT_TRUE(frame_->Entry().m_strDataFile.isEmpty());
    EXPECT_EQ(Entries(path),
              (std::vector<std::string>{Entry("BETA", {"b"}), Entry("GAMA", {"g"})}));
}

TEST_F(EntryFilesTest, ADictionaryThatForbidsChangesKeepsItsEntries) {
    const std::string closed = Dictionary("zaprt.vrk3", {Entry("Sava", {"reka"})}, 4);
    const std::string open = Dictionary("odprt.vrk3", {Entry("Krka")});
    MakeLibrary("Reke", {closed, open});
    Load(closed, 0);
    frame_->DeleteEntry();
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{texts::kChangesForbidden});
    EXPECT_EQ(messages_->Shown()[0].icon, TMsgIcon::kWarning);
    EXPECT_EQ(frame_->Entry().m_strDataFile, QString::fromStdString(closed));
    EXPECT_TRUE(StepTexts().empty());

    // Save says so and goes on with Save as.
    messages_->Clear();
    Type("gorska reka");
    ChooseInSaveDialog("odprt.vrk3");
    frame_->SaveEntry();
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{texts::kSaveRefused});
    EXPECT_EQ(Entries(closed), std::vector<std::string>{Entry("Sava", {"reka"})});
    EXPECT_EQ(Entries(open),
              (std::vector<std::string>{Entry("Krka"), Entry("Sava", {"gorska reka"})}));
    EXPECT_EQ(frame_->Entry().m_strDataFile, QString::fromStdString(open));
    EXPECT_EQ(frame_->Entry().m_nClueIndex, 1);
    EXPECT_FALSE(frame_->EntryModified());
}

TEST_F(EntryFilesTest, SaveAsReadsTheFlagsAgainWhenItWrites) {
    const std::string target = Dictionary("cilj.vrk3", {Entry("Krn")});
    MakeLibrary("Reke", {target});
    Type("reka");
    ChooseInSaveDialog("cilj.vrk3", QStringLiteral("Sava"), [&target] {
        // Another program forbids changes while the dialog is open.
        TDataFile other(target, target + ".r", target + ".a", target + ".o");
        EXPECT_TRUE(other.SetInfo("cilj.vrk3", "", "", "", 4));
    });
    frame_->SaveEntryAs();
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{texts::kChangesNotAllowed});
    EXPECT_EQ(Entries(target), std::vector<std::string>{Entry("Krn")});
    EXPECT_TRUE(StepTexts().empty());
    EXPECT_TRUE(frame_->Entry().m_strDataFile.isEmpty());
}

TEST_F(EntryFilesTest, SaveAsIntoAWordThatExistsKeepsItsDescriptionsForLaterSaves) {
    const std::string source = Dictionary("vir.vrk3", {Entry("Sava", {"tok"})});
    const std::string target = Dictionary("cilj.vrk3", {Entry("Sava", {"reka"}), Entry("Krka")});
    MakeLibrary("Reke", {target});
    Load(source, 0);
    ChooseInSaveDialog("cilj.vrk3");
    frame_->SaveEntryAs();
    EXPECT_EQ(Entries(target),
              (std::vector<std::string>{Entry("Sava", {"reka", "tok"}), Entry("Krka")}));
    // The window holds the stored entry, its older description included.
    EXPECT_EQ(frame_->Entry().m_nDescCount, 2);
    EXPECT_EQ(frame_->Entry().m_nClueIndex, 0);
    EXPECT_FALSE(frame_->EntryModified());
    frame_->NextDescription();
    Type("hiter tok");
    frame_->SaveEntry();
    EXPECT_EQ(Entries(target),
              (std::vector<std::string>{Entry("Krka"), Entry("Sava", {"reka", "hiter tok"})}));

    ASSERT_TRUE(frame_->UndoLast());
    ASSERT_TRUE(frame_->UndoLast());
    EXPECT_EQ(Entries(target), (std::vector<std::string>{Entry("Krka"), Entry("Sava", {"reka"})}));
    EXPECT_EQ(frame_->Entry().m_strDataFile, QString::fromStdString(source));
    EXPECT_EQ(Entries(source), std::vector<std::string>{Entry("Sava", {"tok"})});
}

TEST_F(EntryFilesTest, UndoingASaveAsIntoAWordHeldTwiceRestoresBothEntries) {
    const std::string target =
        Dictionary("cilj.vrk3", {Entry("Sava", {"a"}), Entry("Krka"), Entry("Sava", {"b"})});
    MakeLibrary("Reke", {target});
    Type("c");
    ChooseInSaveDialog("cilj.vrk3", QStringLiteral("Sava"));
    frame_->SaveEntryAs();
    EXPECT_EQ(Entries(target), (std::vector<std::string>{Entry("Sava", {"a", "c"}), Entry("Krka"),
                                                         Entry("Sava", {"b", "c"})}));
    EXPECT_EQ(frame_->Entry().m_nClueIndex, 2);
    ASSERT_TRUE(frame_->UndoLast());
    std::vector<std::string> entries = Entries(target);
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, (std::vector<std::string>{Entry("Krka"), Entry("Sava", {"a"}),
                                                 Entry("Sava", {"b"})}));
}

TEST_F(EntryFilesTest, AnEmptyRecordMergedIntoIsRestoredNotDeleted) {
    // An empty word with no description is an empty record, and an entry
    // merged into may hold one: undoing the merge must not take it for an
    // entry the save created.
    const std::string target = Dictionary("cilj.vrk3", {"", Entry("Krn")});
    MakeLibrary("Reke", {target});
    Type("opis");
    ChooseInSaveDialog("cilj.vrk3", QString());
    frame_->SaveEntryAs();
    EXPECT_EQ(Entries(target), (std::vector<std::string>{Entry("", {"opis"}), Entry("Krn")}));
    ASSERT_TRUE(frame_->UndoLast());
    EXPECT_EQ(Entries(target), (std::vector<std::string>{Entry("Krn"), ""}));
}

TEST_F(EntryFilesTest, ASaveAsThatCreatedTheEntryIsUndoneByDeletingIt) {
    const std::string target = Dictionary("cilj.vrk3", {Entry("Krn")});
    MakeLibrary("Reke", {target});
    Type("reka");
    ChooseInSaveDialog("cilj.vrk3", QStringLiteral("Sava"));
    frame_->SaveEntryAs();
    EXPECT_EQ(Entries(target), (std::vector<std::string>{Entry("Krn"), Entry("Sava", {"reka"})}));
    EXPECT_EQ(frame_->Entry().m_strWord, "Sava");
    ASSERT_TRUE(frame_->UndoLast());
    EXPECT_EQ(Entries(target), std::vector<std::string>{Entry("Krn")});
    EXPECT_EQ(frame_->Entry().m_strWord, texts::kUnnamedWord);
    EXPECT_TRUE(frame_->Entry().m_strDataFile.isEmpty());

    // Made again and changed by another program meanwhile: the undo fails
    // and keeps the other program's entry.
    Type("reka");
    ChooseInSaveDialog("cilj.vrk3", QStringLiteral("Sava"));
    frame_->SaveEntryAs();
    TDataFile other(target, target + ".r", target + ".a", target + ".o");
    std::int32_t index = 1;
    ASSERT_TRUE(other.StoreEntry(Entry("Sava", {"reka", "drug program"}), &index));
    EXPECT_FALSE(frame_->UndoLast());
    EXPECT_EQ(messages_->Texts(), (std::vector<QString>{texts::kDeleteEntryError + "\n" +
                                                            FailureReason(TFailure::EntryChanged),
                                                        texts::kUndoFailed}));
    EXPECT_EQ(Entries(target),
              (std::vector<std::string>{Entry("Krn"), Entry("Sava", {"reka", "drug program"})}));
}

// At the first entry, too, the expected record tells another program's
// change apart.
TEST_F(EntryFilesTest, TheExpectedRecordGuardsEntryZero) {
    const std::string path = Dictionary("a.vrk3", {Entry("A", {"a"}), Entry("B", {"b"})});
    Load(path, 0);
    TDataFile other(path, path + ".r", path + ".a", path + ".o");
    std::int32_t index = 0;
    ASSERT_TRUE(other.StoreEntry(Entry("A", {"drug program"}), &index));  // entry 0 is B now
    Type("sprememba");
    frame_->SaveEntry();
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{texts::kStoreEntryError + "\n" +
                                                       FailureReason(TFailure::EntryChanged)});
    EXPECT_EQ(Entries(path),
              (std::vector<std::string>{Entry("B", {"b"}), Entry("A", {"drug program"})}));
}

TEST_F(EntryFilesTest, SaveAsOfAWordWithAStarMergesOnlyIntoThatVeryWord) {
    const std::string target = Dictionary("cilj.vrk3", {Entry("SAVA", {"reka"})});
    MakeLibrary("Reke", {target});
    Type("vzorec");
    ChooseInSaveDialog("cilj.vrk3", QStringLiteral("S*VA"));
    frame_->SaveEntryAs();
    EXPECT_EQ(Entries(target),
              (std::vector<std::string>{Entry("SAVA", {"reka"}), Entry("S*VA", {"vzorec"})}));
    ASSERT_TRUE(frame_->UndoLast());
    EXPECT_EQ(Entries(target), std::vector<std::string>{Entry("SAVA", {"reka"})});
}

TEST_F(EntryFilesTest, AnotherProgramsChangeIsNeverOverwrittenOrDeleted) {
    const std::string path =
        Dictionary("a.vrk3", {Entry("A"), Entry("B"), Entry("C", {"c"}), Entry("D", {"d"})});
    Load(path, 2);  // C
    // Meanwhile another program deletes A: index 2 now holds D.
    TDataFile other(path, path + ".r", path + ".a", path + ".o");
    ASSERT_TRUE(other.DeleteEntry(0));
    const std::vector<std::string> before = Entries(path);
    const QString changed = FailureReason(TFailure::EntryChanged);

    Type("sprememba");
    frame_->SaveEntry();
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{texts::kStoreEntryError + "\n" + changed});
    frame_->DeleteEntry();
    EXPECT_EQ(messages_->Texts(),
              (std::vector<QString>{texts::kStoreEntryError + "\n" + changed,
                                    texts::kDeleteEntryError + "\n" + changed}));
    EXPECT_EQ(Entries(path), before);
    EXPECT_TRUE(StepTexts().empty());
    EXPECT_TRUE(frame_->EntryModified());

    // An undo step meets a changed entry the same way: nothing is changed,
    // and the history, which no longer matches, is emptied.
    messages_->Clear();
    messages_->Answer(TMsgAnswer::kYes);
    Load(path, 0);  // B
    Type("b");
    frame_->SaveEntry();
    ASSERT_EQ(Entries(path).back(), Entry("B", {"b"}));
    std::int32_t last = 2;
    ASSERT_TRUE(other.StoreEntry(Entry("B", {"drug program"}), &last));
    const std::vector<std::string> changedByOther = Entries(path);
    EXPECT_FALSE(frame_->UndoLast());
    EXPECT_EQ(messages_->Texts(),
              (std::vector<QString>{texts::kUnsavedChangesLost,
                                    texts::kStoreEntryError + "\n" + changed, texts::kUndoFailed}));
    EXPECT_EQ(Entries(path), changedByOther);
    EXPECT_EQ(frame_->UndoHistory().Count(), 0);
}

}  // namespace
}  // namespace vrk
