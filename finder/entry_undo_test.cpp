// Undo in the main frame: steps undone one at a time (also with Ctrl+Z in
// the editor) and several at once from the list of "Razveljavi Več", the
// list's highlight and place. Undo itself is tested against the entry
// editor (entry_editor_test.cpp).
#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>

#include "finder/entry_commands.h"
#include "finder/entry_test_util.h"
#include "finder/entry_window.h"
#include "finder/main_frame_ids.h"
#include "finder/undo_list_wnd.h"
#include "ui/commands.h"

namespace vrk {
namespace {

class EntryUndoTest : public TEntryTest {
  protected:
    bool Enabled(int command) {
        frame_->UpdateCommandStates();
        return frame_->Commands()->Action(command)->isEnabled();
    }
};

TEST_F(EntryUndoTest, UndoReturnsToTheStateBeforeEachStep) {
    EXPECT_FALSE(Enabled(id::kUndo));
    EXPECT_FALSE(Enabled(id::kUndoSeveral));
    Type("prvi");
    frame_->EntryCommands().AddDescription();
    Type("drugi");
    frame_->EntryCommands().AddDescription();
    EXPECT_EQ(frame_->Editor().State().m_nDescCount, 3);
    EXPECT_TRUE(Enabled(id::kUndo));
    ASSERT_TRUE(frame_->EntryCommands().UndoLast());
    EXPECT_EQ(frame_->Editor().State().m_nDescCount, 2);
    EXPECT_EQ(frame_->Editor().State().m_nCurDesc, 1);
    EXPECT_EQ(frame_->EntryWindow()->Editor()->toPlainText(), "drugi");
    EXPECT_EQ(Counter(), "Opis 2/2*");
    // Ctrl+Z in the editor undoes the frame's step, not the typing alone.
    frame_->show();
    frame_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame_.get()));
    frame_->EntryWindow()->Editor()->setFocus();
    QTest::keyClick(frame_->EntryWindow()->Editor(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(frame_->Editor().State().m_nDescCount, 1);
    EXPECT_EQ(frame_->EntryWindow()->Editor()->toPlainText(), "prvi");
    EXPECT_FALSE(Enabled(id::kUndo));
}

TEST_F(EntryUndoTest, ChoosingTheThirdItemUndoesTheThreeMostRecentSteps) {
    for (int i = 0; i < 5; ++i) frame_->EntryCommands().AddDescription();
    frame_->EntryCommands().ShowUndoList();
    CUndoListWnd* list = frame_->EntryCommands().UndoList();
    ASSERT_TRUE(list->isVisible());
    ASSERT_EQ(list->List()->count(), 5);
    EXPECT_EQ(list->List()->item(0)->text(), "Dodajanje 6. opisa gesla 'Neimenovano Geslo'.");
    EXPECT_EQ(list->List()->item(4)->text(), "Dodajanje 2. opisa gesla 'Neimenovano Geslo'.");

    // The mouse over the third item marks the block a click would undo.
    QWidget* viewport = list->List()->viewport();
    const QPoint third = list->List()->visualItemRect(list->List()->item(2)).center();
    QMouseEvent move(QEvent::MouseMove, third, viewport->mapToGlobal(third), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    std::vector<bool> selected;
    for (int i = 0; i < 5; ++i) selected.push_back(list->List()->item(i)->isSelected());
    EXPECT_EQ(selected, (std::vector<bool>{true, true, true, false, false}));

    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, third);
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(frame_->Editor().History().Count(), 2);
    EXPECT_EQ(frame_->Editor().State().m_nDescCount, 3);
}

TEST_F(EntryUndoTest, TheListOpensAtTheMouseAndStaysOnTheScreen) {
    // Where a pop-up opens near the screen's edges: PopupPosition in
    // search_bar_test; here the list's wiring to it.
    frame_->EntryCommands().AddDescription();
    const QRect available = QGuiApplication::primaryScreen()->geometry();
    QCursor::setPos(available.bottomRight() - QPoint(5, 5));
    frame_->EntryCommands().ShowUndoList();
    const QRect placed = frame_->EntryCommands().UndoList()->frameGeometry();
    EXPECT_TRUE(available.contains(placed)) << placed.x() << "," << placed.y();
}

}  // namespace
}  // namespace vrk
