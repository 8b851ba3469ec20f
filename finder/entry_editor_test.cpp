// The entry editor without a window, against dictionaries read back through
// the store; its host's boxes are the scripted ones.
#include <algorithm>
#include <utility>

#include "finder/entry_editor.h"
#include "finder/finder_test_util.h"
#include "finder/finder_texts.h"
#include "settings/scratch_set.h"
#include "store/data_file.h"
#include "ui/failure_text.h"

namespace vrk {
namespace {

class TFakeEditorHost : public TEntryEditorHost {
  public:
    TEntryEditor* editor = nullptr;
    std::string scratchDir;
    // Text "typed" into the entry window, taken at the next command.
    std::optional<QString> typed;
    // Each rows update: "stored old new" or "deleted index".
    std::vector<std::string> rows;

    bool Ask(const QString& text) override { return AskYesNo(nullptr, text, false); }
    void ShowMessage(const QString& text, TMsgIcon icon) override {
        (void)vrk::ShowMessage(nullptr, text, icon);
    }
    bool ScratchFiles(TScratchSet& paths) override {
        paths = TScratchSet::In(scratchDir, kFinderScratch);
        return true;
    }
    void ReadEntryWindow() override {
        if (typed) editor->TakeTyped(*std::exchange(typed, std::nullopt));
    }
    void RefreshEntryWindow(bool) override {}
    void RowsStored(const QString&, std::int32_t oldIndex, std::int32_t newIndex,
                    const std::string&) override {
        rows.push_back("stored " + std::to_string(oldIndex) + " " + std::to_string(newIndex));
    }
    void RowsDeleted(const QString&, std::int32_t index) override {
        rows.push_back("deleted " + std::to_string(index));
    }
};

class EntryEditorTest : public TSearchTest {
  protected:
    void SetUp() override {
        TSearchTest::SetUp();
        host_.editor = &editor_;
        host_.scratchDir = folder_ + "/temp";
    }
    void Load(const std::string& path, int index, int description = 0) {
        ASSERT_EQ(editor_.LoadEntryAt(QString::fromStdString(path), index, description),
                  TEntryEditor::TLoadResult::kLoaded);
    }
    // The entry window's text holds a paragraph separator at each new line.
    void Type(QString text) { host_.typed = text.replace('\n', QChar::ParagraphSeparator); }
    // Save as, once the window's text is read, as the frame does before its
    // dialog.
    void SaveAs(const QString& word, const std::string& path) {
        host_.ReadEntryWindow();
        editor_.SaveEntryAs(word, QString::fromStdString(path));
    }
    const TEntryState& State() const { return editor_.State(); }

    TFakeEditorHost host_;
    TEntryEditor editor_{host_};
};

// Loading over unsaved changes asks, No being the default: No keeps the word
// and records nothing, Yes records a step naming the word shown.
TEST_F(EntryEditorTest, LoadingOverUnsavedChangesAsksAndNoKeepsEverything) {
    const QString path =
        QString::fromStdString(Dictionary("a.vrk3", {Record("Sava", {"reka"}), Record("Krka")}));
    Load(path.toStdString(), 0);
    Type("potok");
    EXPECT_EQ(editor_.LoadEntryAt(path, 1, 0, "Krka"), TEntryEditor::TLoadResult::kFailed);
    ASSERT_EQ(messages_->Texts(), std::vector<QString>{texts::kUnsavedChangesLost});
    EXPECT_EQ(messages_->Shown()[0].defaultAnswer, TMsgAnswer::kNo);
    EXPECT_EQ(State().m_strWord, "Sava");
    EXPECT_TRUE(editor_.History().Empty());
    messages_->Answer(TMsgAnswer::kYes);
    EXPECT_EQ(editor_.LoadEntryAt(path, 1, 0, "Krka"), TEntryEditor::TLoadResult::kLoaded);
    EXPECT_EQ(State().m_strWord, "Krka");
    ASSERT_EQ(editor_.History().Count(), 1);
    EXPECT_EQ(editor_.History().Last().strText, "Prikaz gesla 'Krka'.");
}

// Removing a description shows the one that took its place and Save stores
// the others; an added one is empty and shown; stepping stays within the
// descriptions and records a step only when it leaves a changed one.
TEST_F(EntryEditorTest, DescriptionsAreAddedRemovedAndSteppedWithinTheirNumber) {
    const std::vector<std::string> three = {"prvi", "drugi", "tretji"};
    for (int removed = 0; removed < 3; ++removed) {
        SCOPED_TRACE(removed);
        if (removed > 0) messages_->Answer(TMsgAnswer::kYes);  // the added description goes
        const std::string path = Dictionary("r" + std::to_string(removed) + ".vrk3",
                                            {Record("Sava", {"prvi", "drugi", "tretji"})});
        Load(path, 0, removed);
        editor_.RemoveDescription();
        std::vector<std::string> left = three;
        left.erase(left.begin() + removed);
        ASSERT_EQ(State().m_nDescCount, 2);
        EXPECT_EQ(State().m_nCurDesc, std::min(removed, 1));
        EXPECT_EQ(editor_.SaveEntry(), TEntryEditor::TSaveResult::kDone);
        EXPECT_EQ(ReadEntries(path), std::vector<std::string>{Record("Sava", {left[0], left[1]})});
        editor_.AddDescription();
        EXPECT_EQ(State().m_nCurDesc, 2);
        EXPECT_TRUE(State().m_strEditDesc[2].isEmpty());
        editor_.StepDescription(1, true);
        EXPECT_EQ(State().m_nCurDesc, 2);
    }
    editor_.StepDescription(-2, true);  // leaves the added one, which is no change
    EXPECT_EQ(State().m_nCurDesc, 0);
    EXPECT_EQ(editor_.History().Last().strText, "Dodajanje 3. opisa gesla 'Sava'.");
    Type("gorska reka");
    editor_.StepDescription(1, true);
    EXPECT_EQ(editor_.History().Last().strText, "Popravljanje 1. opisa gesla 'Sava'.");

    // One description stays; a hundred is the most, and the limit records nothing.
    messages_->Answer(TMsgAnswer::kYes);
    editor_.NewEntry();
    editor_.RemoveDescription();
    EXPECT_EQ(State().m_nDescCount, 1);
    for (int i = 1; i < MAX_DESCRIPTIONS; ++i) editor_.AddDescription();
    const QString last = editor_.History().Last().strText;
    editor_.AddDescription();
    EXPECT_EQ(State().m_nDescCount, MAX_DESCRIPTIONS);
    EXPECT_EQ(editor_.History().Last().strText, last);
    EXPECT_EQ(messages_->Texts().back(), texts::kDescriptionLimit);
    EXPECT_EQ(messages_->Shown().back().icon, TMsgIcon::kNone);
}

// Each description keeps the line breaks it came with, a new line of an
// entry without them takes CR LF, and bytes a record cannot hold are
// replaced, said so and shown as stored.
TEST_F(EntryEditorTest, SaveKeepsEachDescriptionsLineBreaksAndReplacesWhatARecordCannotHold) {
    const std::string path =
        Dictionary("a.vrk3", {Record("Sava", {"gorska\nreka", "hiter\r\ntok", "brez"})});
    Load(path, 0);
    Type("gorska\nreka\nv Alpah");
    editor_.StepDescription(1, false);
    Type("hiter\ntok\nproti morju");
    editor_.StepDescription(1, false);
    Type(QStringLiteral("brez\nnova\x01vrstica → morje"));
    EXPECT_EQ(editor_.SaveEntry(), TEntryEditor::TSaveResult::kDone);
    const std::string stored = Record(
        "Sava",
        {"gorska\nreka\nv Alpah", "hiter\r\ntok\r\nproti morju", "brez\r\nnova vrstica ? morje"});
    EXPECT_EQ(ReadEntries(path), std::vector<std::string>{stored});
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{texts::kCharactersReplaced});
    EXPECT_EQ(State().m_strEditDesc[2], "brez\r\nnova vrstica ? morje");
    EXPECT_FALSE(editor_.Modified());
}

// A save stores the entry as the last of its dictionary and a delete moves
// the later ones down: every step's index follows, the rows are told, and
// undoing puts each change back where the entry now is.
TEST_F(EntryEditorTest, SaveAndDeleteMoveTheEntriesAndEveryStepFollows) {
    std::vector<std::string> ten;
    for (int i = 0; i < 10; ++i)
        ten.push_back(Record("w" + std::to_string(i), {"o" + std::to_string(i)}));
    const std::string a = Dictionary("a.vrk3", ten);
    Load(a, 3);
    editor_.AddDescription();  // a step that refers to entry 3
    Type("nov opis");
    ASSERT_EQ(editor_.SaveEntry(), TEntryEditor::TSaveResult::kDone);
    std::vector<std::string> entries = ReadEntries(a);
    ASSERT_EQ(entries.size(), 10u);
    EXPECT_EQ(entries[3], ten[4]);
    EXPECT_EQ(entries[9], Record("w3", {"o3", "nov opis"}));
    EXPECT_EQ(State().m_nClueIndex, 9);
    EXPECT_EQ(editor_.History().At(0).state.m_nClueIndex, 9);
    EXPECT_EQ(host_.rows, std::vector<std::string>{"stored 3 9"});

    editor_.DeleteEntry();
    EXPECT_EQ(ReadEntries(a).size(), 9u);
    EXPECT_EQ(host_.rows.back(), "deleted 9");
    EXPECT_LE(editor_.History().At(0).state.m_nClueIndex, -2);  // the deletion's tag
    EXPECT_TRUE(State().m_strDataFile.isEmpty());
    EXPECT_EQ(State().m_nClueIndex, -1);
    EXPECT_EQ(State().m_strWord, "w3");

    ASSERT_TRUE(editor_.UndoLast());
    EXPECT_EQ(ReadEntries(a)[9], Record("w3", {"o3", "nov opis"}));
    EXPECT_EQ(State().m_nClueIndex, 9);
    EXPECT_EQ(editor_.History().At(0).state.m_nClueIndex, 9);
    ASSERT_TRUE(editor_.UndoLast());  // the save: the earlier record, again the last
    EXPECT_EQ(ReadEntries(a)[9], Record("w3", {"o3"}));
    EXPECT_EQ(State().m_strEditDesc[1], "nov opis");
    EXPECT_TRUE(editor_.Modified());
    ASSERT_TRUE(editor_.UndoLast());  // the added description
    EXPECT_EQ(State().m_nClueIndex, 9);
    Type("zadnji");
    ASSERT_EQ(editor_.SaveEntry(), TEntryEditor::TSaveResult::kDone);
    EXPECT_EQ(ReadEntries(a)[9], Record("w3", {"zadnji"}));
}

TEST_F(EntryEditorTest, UndoOverTypedTextAndANewWordAskAndNoKeepsTheText) {
    const std::string path = Dictionary("a.vrk3", {Record("Sava", {"reka"}), Record("Krka")});
    Load(path, 0);
    Type("gorska reka");
    EXPECT_EQ(editor_.SaveEntry(), TEntryEditor::TSaveResult::kDone);  // the one step
    Load(path, 0);                                                     // Krka, unchanged: no step
    Type("dolenjska reka");
    EXPECT_FALSE(editor_.UndoLast());  // No
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{texts::kUnsavedChangesLost});
    EXPECT_EQ(State().m_strWord, "Krka");
    EXPECT_EQ(State().m_strEditDesc[0], "dolenjska reka");
    EXPECT_EQ(editor_.History().Count(), 1);
    messages_->Answer(TMsgAnswer::kYes);
    ASSERT_TRUE(editor_.UndoLast());
    EXPECT_EQ(State().m_strWord, "Sava");
    EXPECT_EQ(ReadEntries(path),
              (std::vector<std::string>{Record("Krka"), Record("Sava", {"reka"})}));
    // New records its step before it asks: the step stays when No keeps the word.
    messages_->Clear();
    editor_.NewEntry();  // No
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{texts::kNotSavedYet});
    ASSERT_EQ(editor_.History().Count(), 1);
    EXPECT_EQ(editor_.History().Last().strText, "Prikaz novega gesla.");
    EXPECT_EQ(State().m_strEditDesc[0], "gorska reka");
    messages_->Answer(TMsgAnswer::kYes);
    editor_.NewEntry();
    EXPECT_TRUE(State().m_strEditDesc[0].isEmpty());
    EXPECT_FALSE(editor_.Modified());
    messages_->Clear();
    editor_.NewEntry();  // nothing to lose: nothing asked
    EXPECT_TRUE(messages_->Texts().empty());
}

// A Save or a load that does not go through changes nothing: not the
// dictionary, not the word shown, and it leaves no undo step.
TEST_F(EntryEditorTest, ASaveOrALoadThatDoesNotGoThroughChangesNothing) {
    std::string many = "Mnogo";
    for (int i = 0; i < 101; ++i) many += "\x01o" + std::to_string(i);
    const std::string path = Dictionary("a.vrk3", {many});
    Load(path, 0);
    // More than a hundred descriptions: No keeps the entry whole.
    EXPECT_EQ(editor_.SaveEntry(), TEntryEditor::TSaveResult::kDone);
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{texts::kDropDescriptions.arg(101).arg(1)});
    messages_->Clear();
    messages_->Answer(TMsgAnswer::kYes);
    Type(QString(100000, QLatin1Char('a')));  // too long for the store
    EXPECT_EQ(editor_.SaveEntry(), TEntryEditor::TSaveResult::kDone);
    ASSERT_EQ(messages_->Shown().size(), 2u);
    EXPECT_TRUE(messages_->Texts()[1].startsWith(texts::kStoreEntryError + "\n"));
    EXPECT_EQ(messages_->Shown()[1].icon, TMsgIcon::kError);
    EXPECT_EQ(ReadEntries(path), std::vector<std::string>{many});
    EXPECT_TRUE(editor_.History().Empty());
    EXPECT_TRUE(editor_.Modified());
    // Yes drops the descriptions past the hundredth.
    Type("o0");
    messages_->Answer(TMsgAnswer::kYes);
    EXPECT_EQ(editor_.SaveEntry(), TEntryEditor::TSaveResult::kDone);
    EXPECT_EQ(ReadEntries(path), std::vector<std::string>{many.substr(0, many.find("\x01o100"))});
    messages_->Clear();
    std::remove(path.c_str());
    EXPECT_EQ(editor_.LoadEntryAt(QString::fromStdString(path), 0, 0),
              TEntryEditor::TLoadResult::kFailed);
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{texts::kDictOpenError});
    EXPECT_EQ(State().m_strWord, "Mnogo");
}

TEST_F(EntryEditorTest, ADictionaryThatForbidsChangesKeepsItsEntries) {
    const std::string closed = Dictionary("zaprt.vrk3", {Record("Sava", {"reka"})}, 4);
    Load(closed, 0);
    editor_.DeleteEntry();
    ASSERT_EQ(messages_->Texts(), std::vector<QString>{texts::kChangesForbidden});
    EXPECT_EQ(messages_->Shown()[0].icon, TMsgIcon::kWarning);
    EXPECT_EQ(State().m_strDataFile, QString::fromStdString(closed));
    EXPECT_TRUE(editor_.History().Empty());
    // Save says so and leaves the word to Save as; a new word goes there
    // without a word.
    messages_->Clear();
    Type("gorska reka");
    EXPECT_EQ(editor_.SaveEntry(), TEntryEditor::TSaveResult::kSaveAs);
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{texts::kSaveRefused});
    EXPECT_EQ(ReadEntries(closed), std::vector<std::string>{Record("Sava", {"reka"})});
    EXPECT_TRUE(editor_.History().Empty());
    messages_->Answer(TMsgAnswer::kYes);
    editor_.NewEntry();
    messages_->Clear();
    EXPECT_EQ(editor_.SaveEntry(), TEntryEditor::TSaveResult::kSaveAs);
    EXPECT_TRUE(messages_->Texts().empty());
    // Save as reads the flags again when it writes, as another program may
    // have forbidden changes since the dictionary was chosen.
    SaveAs("Sava", closed);
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{texts::kChangesNotAllowed});
    EXPECT_EQ(ReadEntries(closed), std::vector<std::string>{Record("Sava", {"reka"})});
    EXPECT_EQ(editor_.History().Count(), 1);  // the new word's step only
    EXPECT_TRUE(State().m_strDataFile.isEmpty());
}

TEST_F(EntryEditorTest, SaveAsIntoAWordThatExistsKeepsItsDescriptionsForLaterSaves) {
    const std::string source = Dictionary("vir.vrk3", {Record("Sava", {"tok"})});
    const std::string target = Dictionary("cilj.vrk3", {Record("Sava", {"reka"}), Record("Krka")});
    Load(source, 0);
    SaveAs("Sava", target);
    EXPECT_EQ(ReadEntries(target),
              (std::vector<std::string>{Record("Sava", {"reka", "tok"}), Record("Krka")}));
    // The window holds the stored entry, its older description included.
    EXPECT_EQ(State().m_nDescCount, 2);
    EXPECT_EQ(State().m_nClueIndex, 0);
    EXPECT_FALSE(editor_.Modified());
    editor_.StepDescription(1, true);
    Type("hiter tok");
    EXPECT_EQ(editor_.SaveEntry(), TEntryEditor::TSaveResult::kDone);
    EXPECT_EQ(ReadEntries(target),
              (std::vector<std::string>{Record("Krka"), Record("Sava", {"reka", "hiter tok"})}));

    ASSERT_TRUE(editor_.UndoLast());
    ASSERT_TRUE(editor_.UndoLast());
    EXPECT_EQ(ReadEntries(target),
              (std::vector<std::string>{Record("Krka"), Record("Sava", {"reka"})}));
    EXPECT_EQ(State().m_strDataFile, QString::fromStdString(source));
    EXPECT_EQ(ReadEntries(source), std::vector<std::string>{Record("Sava", {"tok"})});
}

// Save as merges into every entry with the very word (a star is no pattern
// here, an empty record is a word too) or appends; undoing puts back the
// earlier record of each, or deletes the appended one.
TEST_F(EntryEditorTest, UndoingASaveAsRestoresEveryEntryItMergedIntoOrDeletesTheNewOne) {
    struct TCase {
        std::vector<std::string> entries;
        QString word;
        std::vector<std::string> saved;  // the undo restores `entries`
        int index;                       // the entry the window shows
        std::vector<std::string> rows;   // of the save and the undo
    };
    const std::vector<TCase> cases = {
        {{Record("Sava", {"a"}), Record("Krka"), Record("Sava", {"b"})},
         "Sava",
         {Record("Sava", {"a", "c"}), Record("Krka"), Record("Sava", {"b", "c"})},
         2,
         {"stored 0 0", "stored 2 2", "stored 0 2", "stored 1 2"}},
        {{"", Record("Krn")},
         "",
         {Record("", {"c"}), Record("Krn")},
         0,
         {"stored 0 0", "stored 0 1"}},
        {{Record("SAVA", {"reka"})},
         "S*VA",
         {Record("SAVA", {"reka"}), Record("S*VA", {"c"})},
         1,
         {"deleted 1"}},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const TCase& c = cases[i];
        const std::string target = Dictionary("c" + std::to_string(i) + ".vrk3", c.entries);
        host_.rows.clear();
        Type("c");
        SaveAs(c.word, target);
        EXPECT_EQ(ReadEntries(target), c.saved) << i;
        EXPECT_EQ(State().m_strWord, c.word) << i;
        EXPECT_EQ(State().m_nClueIndex, c.index) << i;
        ASSERT_TRUE(editor_.UndoLast()) << i;
        EXPECT_EQ(host_.rows, c.rows) << i;
        std::vector<std::string> entries = ReadEntries(target), expected = c.entries;
        std::sort(entries.begin(), entries.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(entries, expected) << i;
        EXPECT_EQ(State().m_strWord, texts::kUnnamedWord) << i;
        EXPECT_TRUE(State().m_strDataFile.isEmpty()) << i;
    }
}

TEST_F(EntryEditorTest, ASaveAsThatCreatedTheEntryIsNotUndoneOverAnotherProgramsChange) {
    const std::string target = Dictionary("cilj.vrk3", {Record("Krn")});
    Type("reka");
    SaveAs("Sava", target);
    TDataFile other(target, target + ".r", target + ".a", target + ".o");
    std::int32_t index = 1;
    ASSERT_TRUE(other.StoreEntry(Record("Sava", {"reka", "drug program"}), &index));
    EXPECT_FALSE(editor_.UndoLast());
    ASSERT_EQ(messages_->Texts(), (std::vector<QString>{texts::kDeleteEntryError + "\n" +
                                                            FailureReason(TFailure::EntryChanged),
                                                        texts::kUndoFailed}));
    EXPECT_EQ(messages_->Shown().back().icon, TMsgIcon::kError);
    EXPECT_EQ(ReadEntries(target),
              (std::vector<std::string>{Record("Krn"), Record("Sava", {"reka", "drug program"})}));
}

// Every change passes the record it expects at the entry, so that a change
// another program made meanwhile is told apart, at the first entry too.
TEST_F(EntryEditorTest, AnotherProgramsChangeIsNeverOverwrittenOrDeleted) {
    const std::string path = Dictionary("a.vrk3", {Record("A", {"a"}), Record("B"), Record("C")});
    Load(path, 0);  // A
    // Meanwhile another program stores A again: index 0 now holds B.
    TDataFile other(path, path + ".r", path + ".a", path + ".o");
    std::int32_t index = 0;
    ASSERT_TRUE(other.StoreEntry(Record("A", {"drug program"}), &index));
    const std::vector<std::string> before = ReadEntries(path);
    const QString changed = FailureReason(TFailure::EntryChanged);

    Type("sprememba");
    EXPECT_EQ(editor_.SaveEntry(), TEntryEditor::TSaveResult::kDone);
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{texts::kStoreEntryError + "\n" + changed});
    editor_.DeleteEntry();
    EXPECT_EQ(messages_->Texts(),
              (std::vector<QString>{texts::kStoreEntryError + "\n" + changed,
                                    texts::kDeleteEntryError + "\n" + changed}));
    EXPECT_EQ(ReadEntries(path), before);
    EXPECT_TRUE(editor_.History().Empty());
    EXPECT_TRUE(editor_.Modified());
    EXPECT_TRUE(host_.rows.empty());

    // An undo step meets a changed entry the same way: nothing is changed,
    // and the history, which no longer matches, is emptied.
    messages_->Clear();
    messages_->Answer(TMsgAnswer::kYes);
    Load(path, 0);  // B
    Type("b");
    EXPECT_EQ(editor_.SaveEntry(), TEntryEditor::TSaveResult::kDone);
    ASSERT_EQ(ReadEntries(path).back(), Record("B", {"b"}));
    std::int32_t last = 2;
    ASSERT_TRUE(other.StoreEntry(Record("B", {"drug program"}), &last));
    const std::vector<std::string> changedByOther = ReadEntries(path);
    EXPECT_FALSE(editor_.UndoLast());
    EXPECT_EQ(messages_->Texts(),
              (std::vector<QString>{texts::kUnsavedChangesLost,
                                    texts::kStoreEntryError + "\n" + changed, texts::kUndoFailed}));
    EXPECT_EQ(ReadEntries(path), changedByOther);
    EXPECT_EQ(editor_.History().Count(), 0);
}

}  // namespace
}  // namespace vrk
