// The entry window and the commands on the word: loading a found word, the
// counter and its star, the description buttons, saving back, and what a
// save does with texts a dictionary cannot hold.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>

#include "finder/entry_commands.h"
#include "finder/entry_test_util.h"
#include "finder/entry_window.h"
#include "finder/finder_texts.h"
#include "finder/main_frame_ids.h"
#include "finder/main_frame_placement.h"
#include "finder/vrk3mpg_view.h"
#include "store/data_file.h"
#include "ui/commands.h"

namespace vrk {
namespace {

class EntryEditingTest : public TEntryTest {};

TEST_F(EntryEditingTest, AFoundWordOpensBoldAtTheDescriptionSelectedInThePane) {
    const std::string path = Dictionary("a.vrk3", {Entry("Krn"), Entry("Sava", {"reka", "tok"})});
    CVrk3mpgView* view = OpenResults({path}, "S*");
    ASSERT_NE(view, nullptr);
    view->List()->setCurrentItem(view->List()->topLevelItem(0));
    view->Pane()->setCurrentRow(1);
    view->OpenSelected();
    const TEntryState& entry = frame_->Editor().State();
    EXPECT_EQ(entry.m_strWord, "Sava");
    EXPECT_EQ(entry.m_nClueIndex, 1);
    EXPECT_EQ(entry.m_nCurDesc, 1);
    EXPECT_EQ(frame_->EntryWindow()->Editor()->toPlainText(), "tok");
    EXPECT_EQ(frame_->EntryWindow()->WordLabel()->text(), "Sava");
    EXPECT_EQ(frame_->EntryWindow()->WordLabel()->toolTip(), "Sava");
    EXPECT_TRUE(frame_->EntryWindow()->WordLabel()->font().bold());
    EXPECT_EQ(Counter(), "Opis 2/2");
    // A new word belongs to no dictionary: normal weight.
    frame_->EntryCommands().NewEntry();
    EXPECT_FALSE(frame_->EntryWindow()->WordLabel()->font().bold());
    EXPECT_EQ(frame_->EntryWindow()->WordLabel()->text(), "Neimenovano Geslo");
}

// How the word is cut is the label's own; here, that it is cut to the room
// left beside the counter, docked and floating, at every width and at twice
// the font size.
TEST_F(EntryEditingTest, ALongWordIsCutWithAnEllipsisAndNeverRunsUnderTheCounter) {
    CEntryWindow* entry = frame_->EntryWindow();
    QWidget* client = entry->widget();
    entry->CounterLabel()->setText(texts::kCounterModifiedFormat.arg(100).arg(100));
    ASSERT_EQ(entry->WordLabel()->text(), texts::kUnnamedWord);
    QFont big = client->font();
    big.setPointSizeF(big.pointSizeF() * 2);  // as large as at twice the scale
    for (const QFont& font : {client->font(), big}) {
        client->setFont(font);
        for (const bool floating : {false, true}) {
            if (floating)
                frame_->FloatEntryWindow();
            else
                frame_->DockEntryWindow(kAlignLeft);
            for (const int width : {200, 250, 400, 900}) {
                client->resize(width, 120);
                entry->LayOut();
                const QRect counter = entry->CounterLabel()->geometry();
                EXPECT_LT(entry->WordLabel()->geometry().right(), counter.left()) << width;
                EXPECT_LE(entry->CounterLabel()->sizeHint().width(), counter.width()) << width;
                EXPECT_LT(counter.right(), entry->PreviousButton()->geometry().left()) << width;
                const QString shown = entry->WordLabel()->ShownText();
                if (width == 200) {
                    EXPECT_TRUE(shown.endsWith(QChar(0x2026))) << floating;
                } else if (width == 900) {
                    EXPECT_EQ(shown, texts::kUnnamedWord) << floating;
                }
            }
        }
    }
}

TEST_F(EntryEditingTest, TheStarFollowsTheTextsAndTheirNumber) {
    const std::string path = Dictionary("a.vrk3", {Entry("Sava", {"reka", "tok"})});
    Load(path, 0);
    Type("potok");
    frame_->EntryTick();
    EXPECT_EQ(Counter(), "Opis 1/2*");
    Type("reka");  // the saved text again
    frame_->EntryTick();
    EXPECT_EQ(Counter(), "Opis 1/2");
    // Another description differs: the star stays on every description.
    frame_->EntryCommands().NextDescription();
    Type("drugo");
    frame_->EntryCommands().PreviousDescription();
    EXPECT_EQ(Counter(), "Opis 1/2*");
    Type("reka");
    frame_->EntryTick();
    EXPECT_EQ(Counter(), "Opis 1/2*");
    EXPECT_TRUE(frame_->Editor().Modified());
}

TEST_F(EntryEditingTest, AddingAndRemovingDescriptionsKeepTheShownOneInRange) {
    frame_->EntryCommands().AddDescription();
    EXPECT_EQ(Counter(), "Opis 2/2*");
    frame_->Commands()->Action(id::kAddDescription)->trigger();
    EXPECT_EQ(Counter(), "Opis 3/3*");
    frame_->UpdateCommandStates();
    EXPECT_TRUE(frame_->Commands()->Action(id::kRemoveDescription)->isEnabled());
    frame_->EntryCommands().RemoveDescription();  // the last one: the new last one shows
    EXPECT_EQ(frame_->Editor().State().m_nCurDesc, 1);
    EXPECT_EQ(Counter(), "Opis 2/2*");
    frame_->EntryCommands().RemoveDescription();
    frame_->UpdateCommandStates();
    EXPECT_FALSE(frame_->Commands()->Action(id::kRemoveDescription)->isEnabled());

    for (int i = 1; i < MAX_DESCRIPTIONS; ++i) frame_->EntryCommands().AddDescription();
    EXPECT_EQ(frame_->Editor().State().m_nDescCount, MAX_DESCRIPTIONS);
    const int steps = frame_->Editor().History().Count();
    frame_->EntryCommands().AddDescription();
    EXPECT_EQ(frame_->Editor().State().m_nDescCount, MAX_DESCRIPTIONS);
    EXPECT_EQ(frame_->Editor().History().Count(), steps);
    EXPECT_EQ(messages_->Texts().back(), texts::kDescriptionLimit);
    EXPECT_EQ(messages_->Shown().back().icon, TMsgIcon::kNone);
}

TEST_F(EntryEditingTest, RemovingADescriptionRemovesTheShownOneAndSaveStoresTheOthers) {
    const std::vector<std::string> three = {"prvi", "drugi", "tretji"};
    for (int removed = 0; removed < 3; ++removed) {
        const std::string path = Dictionary("r" + std::to_string(removed) + ".vrk3",
                                            {Entry("Sava", {"prvi", "drugi", "tretji"})});
        Load(path, 0, removed);
        frame_->EntryCommands().RemoveDescription();
        std::vector<std::string> left = three;
        left.erase(left.begin() + removed);
        ASSERT_EQ(frame_->Editor().State().m_nDescCount, 2) << removed;
        for (int i = 0; i < 2; ++i)
            EXPECT_EQ(frame_->Editor().State().m_strEditDesc[i].toStdString(), left[i]) << removed;
        // The description that took the removed one's place shows.
        EXPECT_EQ(frame_->EntryWindow()->Editor()->toPlainText().toStdString(),
                  left[std::min(removed, 1)]);
        frame_->EntryCommands().SaveEntry();
        EXPECT_EQ(Entries(path), std::vector<std::string>{"Sava\x01" + left[0] + "\x01" + left[1]})
            << removed;
    }
}

TEST_F(EntryEditingTest, TextTypedJustBeforeACommandIsKept) {
    const std::string path = Dictionary("a.vrk3", {Entry("Sava", {"reka", "tok"})});
    Load(path, 0);
    // No tick between the typing and the commands.
    Type("gorska reka");
    frame_->EntryCommands().NextDescription();
    EXPECT_EQ(frame_->Editor().State().m_strEditDesc[0], "gorska reka");
    EXPECT_EQ(StepTexts(), std::vector<QString>{"Popravljanje 1. opisa gesla 'Sava'."});
    Type("hiter tok");
    frame_->EntryCommands().SaveEntry();
    EXPECT_EQ(Entries(path), std::vector<std::string>{Entry("Sava", {"gorska reka", "hiter tok"})});
    EXPECT_EQ(Counter(), "Opis 2/2");
}

TEST_F(EntryEditingTest, OnlyTheDockedButtonsRecordAChangedDescription) {
    const std::string path = Dictionary("a.vrk3", {Entry("Sava", {"reka", "tok"})});
    Load(path, 0);
    frame_->FloatEntryWindow();
    Type("potok");
    QTest::mouseClick(frame_->EntryWindow()->NextButton(), Qt::LeftButton);
    EXPECT_EQ(frame_->Editor().State().m_nCurDesc, 1);
    EXPECT_TRUE(StepTexts().empty());
    frame_->DockEntryWindow(kAlignLeft);
    frame_->EntryCommands().PreviousDescription();
    frame_->EntryCommands().NextDescription();  // leaves the changed first description
    EXPECT_EQ(StepTexts(), std::vector<QString>{"Popravljanje 1. opisa gesla 'Sava'."});
}

TEST_F(EntryEditingTest, LoadingOverUnsavedChangesAsksAndNoKeepsEverything) {
    const std::string path = Dictionary("a.vrk3", {Entry("Sava", {"reka"}), Entry("Krka")});
    CVrk3mpgView* view = OpenResults({path});
    ASSERT_NE(view, nullptr);
    Load(path, 0);
    Type("potok");
    frame_->EntryCommands().LoadEntry(view, 0, 0);  // Krka; the question's default is No
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{texts::kUnsavedChangesLost});
    EXPECT_EQ(messages_->Shown()[0].defaultAnswer, TMsgAnswer::kNo);
    EXPECT_EQ(frame_->Editor().State().m_strWord, "Sava");
    EXPECT_TRUE(StepTexts().empty());

    messages_->Answer(TMsgAnswer::kYes);
    frame_->EntryCommands().LoadEntry(view, 0, 0);
    EXPECT_EQ(frame_->Editor().State().m_strWord, "Krka");
    EXPECT_EQ(StepTexts(), std::vector<QString>{"Prikaz gesla 'Krka'."});
    // An entry without descriptions shows one empty description.
    EXPECT_EQ(Counter(), "Opis 1/1");
}

TEST_F(EntryEditingTest, ClosingWithUnsavedChangesAsksAndNoKeepsTheProgramOpen) {
    frame_->show();
    Type("nov opis");
    EXPECT_FALSE(frame_->close());
    EXPECT_TRUE(frame_->isVisible());
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{texts::kUnsavedChangesLost});
    messages_->Answer(TMsgAnswer::kYes);
    EXPECT_TRUE(frame_->close());
    // Without changes nothing is asked.
    messages_->Clear();
    CMainFrame unchanged(false);
    unchanged.show();
    EXPECT_TRUE(unchanged.close());
    EXPECT_TRUE(messages_->Texts().empty());
}

TEST_F(EntryEditingTest, BytesARecordCannotHoldAreReplacedOnSavingAndShown) {
    const std::string path = Dictionary("a.vrk3", {Entry("Sava", {"reka"})});
    Load(path, 0);
    // As pasted from another program.
    Type(
        QStringLiteral("prvi\x01"
                       "drugi → tretji"));
    frame_->EntryCommands().SaveEntry();
    EXPECT_EQ(Entries(path), std::vector<std::string>{Entry("Sava", {"prvi drugi ? tretji"})});
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{texts::kCharactersReplaced});
    EXPECT_EQ(frame_->EntryWindow()->Editor()->toPlainText(), "prvi drugi ? tretji");
    EXPECT_EQ(Counter(), "Opis 1/1");
}

TEST_F(EntryEditingTest, EachDescriptionKeepsItsOwnLineBreaksWhenTouched) {
    const std::string path =
        Dictionary("a.vrk3", {Entry("Sava", {"gorska\nreka", "hiter\r\ntok", "brez"})});
    Load(path, 0);
    QPlainTextEdit* editor = frame_->EntryWindow()->Editor();
    editor->moveCursor(QTextCursor::End);
    editor->insertPlainText("\nv Alpah");
    frame_->EntryCommands().NextDescription();
    editor->moveCursor(QTextCursor::End);
    editor->insertPlainText("\nproti morju");
    frame_->EntryCommands().NextDescription();
    editor->moveCursor(QTextCursor::End);
    editor->insertPlainText("\nnova vrstica");
    frame_->EntryCommands().SaveEntry();
    EXPECT_EQ(Entries(path), std::vector<std::string>{Entry(
                                 "Sava", {"gorska\nreka\nv Alpah", "hiter\r\ntok\r\nproti morju",
                                          "brez\r\nnova vrstica"})});
}

TEST_F(EntryEditingTest, ClipboardCommandsWorkOnTheVisibleEditor) {
    frame_->show();
    Type("gorska reka");
    QPlainTextEdit* editor = frame_->EntryWindow()->Editor();
    frame_->UpdateCommandStates();
    EXPECT_FALSE(frame_->Commands()->Action(id::kCopy)->isEnabled());
    QTextCursor cursor = editor->textCursor();
    cursor.setPosition(0);
    cursor.setPosition(6, QTextCursor::KeepAnchor);
    editor->setTextCursor(cursor);
    frame_->UpdateCommandStates();
    EXPECT_TRUE(frame_->Commands()->Action(id::kCut)->isEnabled());
    frame_->Commands()->Action(id::kCut)->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), "gorska");
    EXPECT_EQ(editor->toPlainText(), " reka");
    frame_->UpdateCommandStates();
    EXPECT_TRUE(frame_->Commands()->Action(id::kPaste)->isEnabled());
    frame_->Commands()->Action(id::kPaste)->trigger();
    EXPECT_EQ(editor->toPlainText(), "gorska reka");
    // Hidden, the editor takes no clipboard command.
    frame_->EntryWindow()->hide();
    frame_->UpdateCommandStates();
    EXPECT_FALSE(frame_->Commands()->Action(id::kPaste)->isEnabled());
}

TEST_F(EntryEditingTest, AFloatingEditorHasTheFocusBackAfterACommandsDialog) {
    frame_->show();
    frame_->FloatEntryWindow();
    QPlainTextEdit* editor = frame_->EntryWindow()->Editor();
    editor->activateWindow();
    editor->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([editor] { return QApplication::focusWidget() == editor; }));
    Type("gorska reka");
    WhenModal([](QWidget* modal) { modal->close(); });
    frame_->EntryCommands().SaveEntryAs();
    EXPECT_TRUE(QTest::qWaitFor([editor] { return QApplication::focusWidget() == editor; }));
}

TEST_F(EntryEditingTest, DictionaryInformationShowsTheWordsDictionaryOrSaysItIsDamaged) {
    const std::string path = Dictionary("a.vrk3", {Entry("Sava", {"reka"})});
    {
        TDataFile file(path, path + ".r", path + ".a", path + ".o");
        ASSERT_TRUE(file.SetInfo("Reke", "Ana", "Opombe", "", 6));
        ASSERT_TRUE(file.SetPicture("ni slika"));  // no picture Qt can read
    }
    frame_->UpdateCommandStates();
    EXPECT_FALSE(frame_->Commands()->Action(id::kDictionaryInfo)->isEnabled());
    Load(path, 0);
    frame_->UpdateCommandStates();
    EXPECT_TRUE(frame_->Commands()->Action(id::kDictionaryInfo)->isEnabled());
    QString shownName;
    WhenModal([&shownName](QWidget* modal) {
        if (auto* name = modal->findChild<QLabel*>(QStringLiteral("nameLabel")))
            shownName = name->text();
        modal->close();
    });
    frame_->EntryCommands().ShowDictionaryInfo();
    EXPECT_EQ(shownName, "Reke");
    // The picture written for the dialog is gone once it opened.
    EXPECT_FALSE(std::filesystem::exists(folder_ + "/temp/dfi.qtf"));
    EXPECT_TRUE(messages_->Texts().empty());

    WriteFileBytes(path, "to ni slovar");
    frame_->EntryCommands().ShowDictionaryInfo();
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{texts::kInfoReadError});
}

}  // namespace
}  // namespace vrk
