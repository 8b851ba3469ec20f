// The entry window's commands reach the entry editor, and their results the
// user; what they do to the dictionaries: entry_editor_test.cpp.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>

#include "finder/entry_commands.h"
#include "finder/entry_window.h"
#include "finder/finder_test_util.h"
#include "finder/finder_texts.h"
#include "finder/main_frame_ids.h"
#include "finder/save_entry_dlg.h"
#include "finder/undo_list_wnd.h"
#include "finder/vrk3mpg_view.h"
#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"
#include "store/data_file.h"
#include "ui/commands.h"
#include "ui/failure_text.h"
#include "ui/file_dialog.h"
#include "ui/help.h"

namespace vrk {
namespace {

class EntryEditingTest : public TFrameTest {
  protected:
    bool Enabled(int command) {
        frame_->UpdateCommandStates();
        return frame_->Commands()->Action(command)->isEnabled();
    }
    // Ten entries "w0" ... "w9", each with the description "o0" ... "o9".
    std::string TenEntries(const std::string& file, const std::string& prefix = "w") {
        std::vector<std::string> entries;
        for (int i = 0; i < 10; ++i)
            entries.push_back(Record(prefix + std::to_string(i), {"o" + std::to_string(i)}));
        return Dictionary(file, entries);
    }
};

TEST_F(EntryEditingTest, AFoundWordOpensBoldAtTheDescriptionSelectedInThePane) {
    const std::string path = Dictionary("a.vrk3", {Record("Krn"), Record("Sava", {"reka", "tok"})});
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
    EXPECT_TRUE(frame_->EntryWindow()->WordLabel()->font().bold());
    EXPECT_EQ(Counter(), "Opis 2/2");
}

// Typed text reaches the counter's star at the next tick, and a command at
// once: no tick passes between the typing and the command. Closing with
// unsaved text asks, and No keeps the program open.
TEST_F(EntryEditingTest, TypedTextReachesTheCounterAtATickAndACommandAtOnce) {
    const std::string path = Dictionary("a.vrk3", {Record("Sava", {"reka", "tok"})});
    Load(path, 0);
    Type("potok");
    frame_->EntryTick();
    EXPECT_EQ(Counter(), "Opis 1/2*");
    Type("gorska reka");
    frame_->EntryCommands().NextDescription();
    EXPECT_EQ(frame_->Editor().History().Last().strText, "Popravljanje 1. opisa gesla 'Sava'.");
    Type("hiter tok");
    frame_->EntryCommands().SaveEntry();
    EXPECT_EQ(ReadEntries(path),
              std::vector<std::string>{Record("Sava", {"gorska reka", "hiter tok"})});
    EXPECT_EQ(Counter(), "Opis 2/2");
    frame_->show();
    Type("nov opis");
    EXPECT_FALSE(frame_->close());
    EXPECT_TRUE(frame_->isVisible());
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{texts::kUnsavedChangesLost});
    messages_->Answer(TMsgAnswer::kYes);
    EXPECT_TRUE(frame_->close());
}

TEST_F(EntryEditingTest, DictionaryInformationShowsTheWordsDictionaryOrSaysItIsDamaged) {
    const std::string path = Dictionary("a.vrk3", {Record("Sava", {"reka"})});
    {
        TDataFile file(path, path + ".r", path + ".a", path + ".o");
        ASSERT_TRUE(file.SetInfo("Reke", "Ana", "Opombe", "", 6));
        ASSERT_TRUE(file.SetPicture("ni slika"));  // no picture Qt can read
    }
    EXPECT_FALSE(Enabled(id::kDictionaryInfo));
    Load(path, 0);
    EXPECT_TRUE(Enabled(id::kDictionaryInfo));
    QString shownName;
    WhenModal([&shownName](QWidget* modal) {
        if (auto* name = modal->findChild<QLabel*>(QStringLiteral("nameLabel")))
            shownName = name->text();
        modal->close();
    });
    frame_->EntryCommands().ShowDictionaryInfo();
    EXPECT_EQ(shownName, "Reke");
    EXPECT_TRUE(messages_->Texts().empty());

    WriteWholeFile(path, "to ni slovar");
    frame_->EntryCommands().ShowDictionaryInfo();
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{texts::kInfoReadError});
}

// Ctrl+Z in the editor undoes the frame's step, not the typing alone, and
// the window shows the state before the step.
TEST_F(EntryEditingTest, CtrlZUndoesTheFramesStep) {
    EXPECT_FALSE(Enabled(id::kUndo));
    Type("prvi");
    frame_->EntryCommands().AddDescription();
    EXPECT_TRUE(Enabled(id::kUndo));
    frame_->show();
    frame_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame_.get()));
    frame_->EntryWindow()->Editor()->setFocus();
    QTest::keyClick(frame_->EntryWindow()->Editor(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(frame_->Editor().State().m_nDescCount, 1);
    EXPECT_EQ(frame_->EntryWindow()->Editor()->toPlainText(), "prvi");
    EXPECT_EQ(Counter(), "Opis 1/1*");
    EXPECT_FALSE(Enabled(id::kUndo));
}

TEST_F(EntryEditingTest, ChoosingTheThirdItemUndoesTheThreeMostRecentSteps) {
    for (int i = 0; i < 5; ++i) frame_->EntryCommands().AddDescription();
    frame_->EntryCommands().ShowUndoList();
    CUndoListWnd* list = frame_->EntryCommands().UndoList();
    ASSERT_TRUE(list->isVisible());
    ASSERT_EQ(list->List()->count(), 5);
    EXPECT_EQ(list->List()->item(0)->text(), "Dodajanje 6. opisa gesla 'Neimenovano Geslo'.");

    QWidget* viewport = list->List()->viewport();
    const QPoint third = list->List()->visualItemRect(list->List()->item(2)).center();
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, third);
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(frame_->Editor().History().Count(), 2);
    EXPECT_EQ(frame_->Editor().State().m_nDescCount, 3);
}

// Rows left with stale indexes would open the wrong word: they follow a save,
// its undo and a delete, also where another spelling reaches the dictionary.
TEST_F(EntryEditingTest, RowsFollowASaveItsUndoAndADeleteEverywhere) {
    const std::string a = TenEntries("a.vrk3");
    const std::string link = folder_ + "/povezava.vrk3";
    std::filesystem::create_symlink(a, link);
    CVrk3mpgView* view = OpenResults({a, TenEntries("b.vrk3", "b")});
    CVrk3mpgView* linked = OpenResults({link}, "w*");
    ASSERT_NE(view, nullptr);
    ASSERT_NE(linked, nullptr);
    Load(a, 3);
    Type("nov opis");
    frame_->EntryCommands().SaveEntry();
    std::vector<std::string> rows = Rows(*view);
    for (const char* row : {"w3|nov opis|9", "w2|o2|2", "w7|o7|6", "b7|o7|7"})
        EXPECT_NE(std::find(rows.begin(), rows.end(), row), rows.end()) << row;
    ASSERT_TRUE(frame_->EntryCommands().UndoLast());
    std::replace(rows.begin(), rows.end(), std::string("w3|nov opis|9"), std::string("w3|o3|9"));
    EXPECT_EQ(Rows(*view), rows);
    EXPECT_EQ(Counter(), "Opis 1/1*");

    messages_->Answer(TMsgAnswer::kYes);  // the undone text goes
    Load(a, 3);                           // w4
    frame_->EntryCommands().DeleteEntry();
    for (const auto& [shown, count] : {std::pair{view, 19u}, {linked, 9u}}) {
        rows = Rows(*shown);
        EXPECT_EQ(rows.size(), count);
        for (const std::string& r : rows) EXPECT_EQ(r.rfind("w4|", 0), std::string::npos);
        for (const char* row : {"w5|o5|3", "w3|o3|8"})
            EXPECT_NE(std::find(rows.begin(), rows.end(), row), rows.end()) << row;
    }
}

TEST_F(EntryEditingTest, AfterDeleteThePaneShowsTheSelectedRowsOwnEntry) {
    // Sorted by word, the row above the last names a later entry than the last.
    const std::string path =
        Dictionary("a.vrk3", {Record("Sz", {"z"}), Record("Sa", {"a"}), Record("Sb", {"b"}),
                              Record("Sc", {"c"}), Record("Krka", {"reka"})});
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

TEST_F(EntryEditingTest, ARowWhoseEntryAnotherProgramMovedLoadsNothing) {
    const std::string path =
        Dictionary("a.vrk3", {Record("ALFA", {"a"}), Record("BETA", {"b"}), Record("GAMA", {"g"})});
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
}

TEST_F(EntryEditingTest, SaveIntoADictionaryThatForbidsChangesGoesOnWithSaveAs) {
    const std::string closed = Dictionary("zaprt.vrk3", {Record("Sava", {"reka"})}, 4);
    const std::string open = Dictionary("odprt.vrk3", {Record("Krka")});
    MakeLibrary("Reke", {closed, open});
    Load(closed, 0);
    Type("gorska reka");
    WhenModal([](QWidget* modal) {
        auto* dialog = qobject_cast<CSaveEntryDlg*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->Tree()->setCurrentItem(dialog->Tree()->topLevelItem(0)->child(0));
        dialog->OkButton()->click();
    });
    frame_->EntryCommands().SaveEntry();
    EXPECT_EQ(ReadEntries(open),
              (std::vector<std::string>{Record("Krka"), Record("Sava", {"gorska reka"})}));
    EXPECT_EQ(frame_->Editor().State().m_strDataFile, QString::fromStdString(open));
}

// "Shrani Geslo": the libraries offered, the one chosen last, "Poišči..."
// and "V redu".
class SaveEntryDlgTest : public TSearchTest {
  protected:
    static QStringList Texts(const QTreeWidgetItem* parent) {
        QStringList texts;
        for (int i = 0; i < parent->childCount(); ++i) texts << parent->child(i)->text(0);
        return texts;
    }
};

// The tree offers only dictionaries that accept changes; "V redu" needs one,
// and its library opens selected the next time.
TEST_F(SaveEntryDlgTest, OkNeedsADictionaryThatAcceptsChangesAndRemembersItsLibrary) {
    const std::string open = Dictionary("odprt.vrk3", {});
    MakeLibrary("Reke", {open, Dictionary("zaprt.vrk3", {}, 4), folder_ + "/ni.vrk3"});
    MakeLibrary("Gore", {open});
    {
        CSaveEntryDlg dialog(QStringLiteral("Sava"));
        EXPECT_EQ(dialog.WordEdit()->selectedText(), "Sava");  // typing replaces the word
        QTreeWidget* tree = dialog.Tree();
        ASSERT_EQ(Texts(tree->invisibleRootItem()), (QStringList{"Reke", "Gore"}));
        EXPECT_EQ(Texts(tree->topLevelItem(0)), QStringList{"odprt.vrk3"});
        EXPECT_EQ(tree->currentItem(), nullptr);
        tree->setCurrentItem(tree->topLevelItem(1));
        EXPECT_FALSE(dialog.OkButton()->isEnabled());
        tree->setCurrentItem(tree->topLevelItem(1)->child(0));
        EXPECT_TRUE(dialog.OkButton()->isEnabled());
        dialog.WordEdit()->setText("Soča");
        dialog.findChild<QPushButton*>(QStringLiteral("helpButton"))->click();
        EXPECT_EQ(helpContexts_, std::vector<int>{help::kSaveEntry});
        dialog.OkButton()->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.Word(), "Soča");
        EXPECT_EQ(dialog.DataFile(), QString::fromStdString(open));
    }
    std::string last;
    ASSERT_TRUE(TGetRegistryString(kFinderPath, "LastLib", last));
    EXPECT_EQ(last, "Gore");
    CSaveEntryDlg again(QStringLiteral("Sava"));
    ASSERT_NE(again.Tree()->currentItem(), nullptr);
    EXPECT_EQ(again.Tree()->currentItem()->text(0), "Gore");
    EXPECT_TRUE(again.Tree()->currentItem()->isExpanded());
    EXPECT_FALSE(again.OkButton()->isEnabled());
    EXPECT_TRUE(messages_->Texts().empty());
}

TEST_F(SaveEntryDlgTest, BrowseAddsAWritableDictionaryAndRefusesOthers) {
    const std::string open = Dictionary("odprt.vrk3", {});
    const std::string closed = Dictionary("zaprt.vrk3", {}, 4);
    const std::string text = folder_ + "/besedilo.txt";
    WriteWholeFile(text, "to ni slovar");
    std::vector<std::string> answers = {text, closed, open};
    SetFileDialogHook([&](const TFileDialogRequest&) {
        const QString file = QString::fromStdString(answers.front());
        answers.erase(answers.begin());
        TFileDialogResult result;
        result.files = QStringList{file};
        result.directory = QString::fromStdString(folder_);
        return result;
    });
    CSaveEntryDlg dialog(QStringLiteral("Sava"));
    dialog.Browse();
    dialog.Browse();
    ASSERT_EQ(messages_->Texts(),
              (std::vector<QString>{texts::kNotADictionary, texts::kChangesNotAllowed}));
    EXPECT_EQ(messages_->Shown()[0].icon, TMsgIcon::kError);
    EXPECT_EQ(messages_->Shown()[1].icon, TMsgIcon::kWarning);
    EXPECT_EQ(dialog.Tree()->topLevelItemCount(), 0);
    dialog.Browse();
    ASSERT_EQ(dialog.Tree()->topLevelItemCount(), 1);
    EXPECT_EQ(dialog.Tree()->currentItem()->text(0), "odprt.vrk3");
    EXPECT_TRUE(dialog.OkButton()->isEnabled());
    dialog.reject();
}

}  // namespace
}  // namespace vrk
