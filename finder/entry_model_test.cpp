// Records built from the edited texts, the entry state, and the undo
// history's reference updates and deletion tags.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "finder/entry_record.h"
#include "finder/entry_state.h"
#include "finder/undo_history.h"
#include "store/same_file.h"
#include "ui/cp1250_text.h"

namespace {

// The record holds the word, then each description (an empty one too), in
// Windows-1250. A pasted 0x01 would split a description in two, 0x00 would
// end the record, 0x02 would cut a search result: they are replaced, as is
// "→", which has no byte; "€" and "č" have one.
TEST(EntryRecordTest, RecordHoldsTheWordThenEachDescriptionReplacingWhatItCannotHold) {
    const QString descriptions[] = {QStringLiteral("a\x01"
                                                   "b"),
                                    QString(QChar(0)) + "c",
                                    QStringLiteral("d\x02"
                                                   "e"),
                                    QStringLiteral("5 € → 6"),
                                    QString(),
                                    QStringLiteral("čoln")};
    bool replaced = false;
    EXPECT_EQ(BuildRecord(QStringLiteral("w\x01x"), descriptions, &replaced),
              std::string("w x\x01"
                          "a b\x01 c\x01"
                          "d e\x01"
                          "5 \x80 ? 6\x01\x01\xE8oln"));
    EXPECT_TRUE(replaced);
}

TEST(EntryRecordTest, LineBreaksAreCrLfInTheRecordAndPlainInTheEditor) {
    EXPECT_EQ(EditorText(QStringLiteral("a\r\nb\rc\nd")), QStringLiteral("a\nb\nc\nd"));
    const QString raw = QStringLiteral("a") + QChar::ParagraphSeparator + "b";
    EXPECT_EQ(DescriptionFromEditor(raw), QStringLiteral("a\r\nb"));
    const TSplitRecord split = SplitRecord(std::string("Sava\x01reka\r\ntok\x01"));
    EXPECT_EQ(split.word, QStringLiteral("Sava"));
    EXPECT_EQ(split.descriptions, (QStringList{"reka\r\ntok", ""}));
    EXPECT_TRUE(SplitRecord("Krn").descriptions.isEmpty());
}

TEST(EntryStateTest, LoadKeepsTheShownDescriptionWithinTheEntry) {
    TEntryState state;
    state.Load("/d.vrk3", 4, std::string("Sava\x01reka\x01tok"), 7);
    EXPECT_EQ(state.m_nDescCount, 2);
    EXPECT_EQ(state.m_nCurDesc, 1);  // a stale pane's index
    state.Load("/d.vrk3", 4, std::string("Sava\x01reka\x01tok"), -3);
    EXPECT_EQ(state.m_nCurDesc, 0);
    EXPECT_FALSE(state.DiffersFromSaved());
    EXPECT_EQ(state.m_strFileRecord, std::string("Sava\x01reka\x01tok"));

    // No descriptions: one empty one, which stores as the word alone again.
    state.Load("/d.vrk3", 0, "Krn", 5);
    EXPECT_EQ(state.m_nDescCount, 1);
    EXPECT_EQ(state.m_nCurDesc, 0);
    EXPECT_TRUE(state.m_strEditDesc[0].isEmpty());
    EXPECT_EQ(BuildRecord(state.m_strWord, state.EditedDescriptions()), "Krn");
}

class UndoHistoryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        a_ = dir_.filePath("a.vrk3");
        b_ = dir_.filePath("b.vrk3");
        for (const QString& path : {a_, b_}) std::ofstream(path.toStdString()) << "x";
    }
    // A step whose snapshot shows entry `index` of `dataFile`.
    UndoRecord& Step(const QString& dataFile, std::int32_t index, int kind = kUndoEntryOnly) {
        TEntryState state;
        state.m_strDataFile = dataFile;
        state.m_nClueIndex = index;
        return history_.Push(kind, QStringLiteral("korak"), state);
    }
    static vrk::TSameFile Same(const QString& path) { return vrk::TSameFile(vrk::PathBytes(path)); }
    QTemporaryDir dir_;
    QString a_, b_;
    TUndoHistory history_;
};

TEST_F(UndoHistoryTest, AStoredEntryMovesToTheEndAndLaterOnesMoveDown) {
    for (int index : {2, 3, 7, 9}) Step(a_, index);
    Step(b_, 7);
    UndoRecord& op = Step(a_, 0, kUndoSaveAs);
    op.strOpDataFile = a_;
    op.nOpIndex = 7;
    op.otherEntries = {{3, "old", "new"}};
    // Entry 3 of ten, stored again, is entry 9.
    history_.EntryStored(Same(a_), 3, 9);
    std::vector<int> clues;
    for (int i = 0; i < history_.Count(); ++i) clues.push_back(history_.At(i).state.m_nClueIndex);
    EXPECT_EQ(clues, (std::vector<int>{2, 9, 6, 8, 7, 0}));
    EXPECT_EQ(op.nOpIndex, 6);
    EXPECT_EQ(op.otherEntries[0].nIndex, 9);
    // An appended record moves nothing.
    history_.EntryStored(Same(a_), -1, 10);
    EXPECT_EQ(history_.At(1).state.m_nClueIndex, 9);
}

TEST_F(UndoHistoryTest, DeletionTagsNeverMeanAnEntryOrNoEntry) {
    // Tags made from positions would mean entry 0 or "no entry" (-1).
    std::vector<std::int32_t> tags;
    for (int i = 0; i < UNDO_MAX + 5; ++i) tags.push_back(Step(a_, -1).nTag);
    for (std::int32_t tag : tags) EXPECT_LE(tag, -2);
    std::sort(tags.begin(), tags.end());
    EXPECT_EQ(std::unique(tags.begin(), tags.end()), tags.end());
}

TEST_F(UndoHistoryTest, DeletingTagsEveryReferenceAndUndoingGivesTheNewIndex) {
    Step(a_, 0);
    Step(a_, 1);
    Step(b_, 1);
    Step(a_, 3);
    UndoRecord& deleting = Step(a_, 1, kUndoDelete);
    history_.EntryDeleted(Same(a_), 1, deleting.nTag);
    EXPECT_EQ(history_.At(0).state.m_nClueIndex, 0);
    EXPECT_EQ(history_.At(1).state.m_nClueIndex, deleting.nTag);
    EXPECT_EQ(history_.At(2).state.m_nClueIndex, 1);  // another dictionary
    EXPECT_EQ(history_.At(3).state.m_nClueIndex, 2);
    history_.TagResolved(deleting.nTag, 5);
    EXPECT_EQ(history_.At(1).state.m_nClueIndex, 5);
    EXPECT_EQ(history_.At(4).state.m_nClueIndex, 5);
}

TEST_F(UndoHistoryTest, TheOldestStepGoesAndATagMadeBeforeStillResolves) {
    Step(a_, -1);  // the step that will be dropped
    Step(a_, 4);
    UndoRecord& deleting = Step(a_, 4, kUndoDelete);
    const std::int32_t tag = deleting.nTag;
    history_.EntryDeleted(Same(a_), 4, tag);
    for (int i = 3; i <= UNDO_MAX; ++i) Step(b_, i);
    ASSERT_EQ(history_.Count(), UNDO_MAX);
    // Only the oldest went; the others kept their order.
    EXPECT_EQ(history_.At(0).state.m_nClueIndex, tag);
    EXPECT_EQ(history_.At(1).kind, kUndoDelete);
    EXPECT_EQ(history_.Last().state.m_nClueIndex, UNDO_MAX);
    history_.TagResolved(history_.At(1).nTag, 8);
    EXPECT_EQ(history_.At(0).state.m_nClueIndex, 8);
}

TEST_F(UndoHistoryTest, AReferenceThroughALinkFollowsAChangeOfTheFile) {
    const QString link = dir_.filePath("link.vrk3");
    std::filesystem::create_symlink(a_.toStdString(), link.toStdString());
    Step(link, 5);
    history_.EntryStored(Same(a_), 2, 9);
    EXPECT_EQ(history_.Last().state.m_nClueIndex, 4);
}

}  // namespace
