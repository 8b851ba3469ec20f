// Where the keyboard focus goes, so that a solver never needs the mouse:
// the known-letters box at the start, F6 (Shift+F6 back) round the search
// bar, the active result window's list and the entry editor, Ctrl+Tab
// (Ctrl+Shift+Tab back) through the result windows, and the entry editor
// once a found word is opened.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTreeWidget>

#include "finder/child_frame.h"
#include "finder/entry_window.h"
#include "finder/main_frame.h"
#include "finder/search_bar.h"
#include "finder/vrk3mpg_view.h"

namespace {

// The parts F6 goes round, in its order.
enum TFocusPart { kPartSearchBar, kPartResults, kPartEntry, kPartCount };

QAction* AddKeys(QWidget* owner, const char* name, const QList<QKeySequence>& keys) {
    auto* action = new QAction(owner);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcuts(keys);
    // Also while the floating entry window has the focus.
    action->setShortcutContext(Qt::WindowShortcut);
    owner->addAction(action);
    return action;
}

}  // namespace

void CMainFrame::createFocusKeys() {
    // The window gives the focus to this box when it first becomes active.
    m_pSearchBar->ClueBox()->setFocus(Qt::OtherFocusReason);
    connect(AddKeys(this, "nextPart", {QKeySequence(Qt::Key_F6)}), &QAction::triggered, this,
            [this] { focusPart(1); });
    connect(AddKeys(this, "previousPart", {QKeySequence(Qt::SHIFT | Qt::Key_F6)}),
            &QAction::triggered, this, [this] { focusPart(-1); });
    connect(AddKeys(this, "nextResultWindow", {QKeySequence(Qt::CTRL | Qt::Key_Tab)}),
            &QAction::triggered, this, [this] { focusResultWindow(1); });
    // Shift turns Tab into Backtab on most keyboards.
    connect(AddKeys(this, "previousResultWindow",
                    {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
                     QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab)}),
            &QAction::triggered, this, [this] { focusResultWindow(-1); });
}

void CMainFrame::focusPart(int step) {
    const QWidget* focus = QApplication::focusWidget();
    int part = kPartEntry;  // from anywhere else F6 starts at the search bar
    if (m_pSearchBar->OwnsControl(focus))
        part = kPartSearchBar;
    else if (focus && m_pMdiArea->isAncestorOf(focus))
        part = kPartResults;
    else if (m_pEntryWindow->OwnsControl(focus))
        part = kPartEntry;
    // A part that is not there (no result window, a hidden bar or entry
    // window) is passed over.
    for (int tries = 1; tries < kPartCount; ++tries) {
        part = (part + step + kPartCount) % kPartCount;
        if (part == kPartSearchBar && !m_pSearchBar->isHidden()) {
            activateWindow();
            m_pSearchBar->ClueBox()->setFocus(Qt::ShortcutFocusReason);
            return;
        }
        if (part == kPartResults && focusActiveResultList()) return;
        if (part == kPartEntry && focusEntryEditor()) return;
    }
}

bool CMainFrame::focusActiveResultList() {
    auto* child = qobject_cast<CChildFrame*>(m_pMdiArea->currentSubWindow());
    if (!child) return false;
    activateWindow();
    m_pMdiArea->setActiveSubWindow(child);
    child->View()->List()->setFocus(Qt::ShortcutFocusReason);
    return true;
}

bool CMainFrame::focusEntryEditor() {
    if (!entryEditorVisible()) return false;
    QPlainTextEdit* editor = m_pEntryWindow->Editor();
    editor->activateWindow();
    editor->setFocus(Qt::ShortcutFocusReason);
    return true;
}

void CMainFrame::focusResultWindow(int step) {
    if (m_pMdiArea->subWindowList().isEmpty()) return;
    if (step > 0)
        m_pMdiArea->activateNextSubWindow();
    else
        m_pMdiArea->activatePreviousSubWindow();
    (void)focusActiveResultList();
}
