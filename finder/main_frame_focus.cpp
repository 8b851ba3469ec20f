// Where the keyboard focus goes (frame_focus.h).
#include "finder/frame_focus.h"

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
#include "ui/help.h"

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

CFrameFocus::CFrameFocus(CMainFrame& frame) : QObject(&frame), m_frame(frame) {
    setObjectName(QStringLiteral("frameFocus"));
    // The window gives the focus to this box when it first becomes active.
    frame.SearchBar()->ClueBox()->setFocus(Qt::OtherFocusReason);
    connect(AddKeys(&frame, "nextPart", {QKeySequence(Qt::Key_F6)}), &QAction::triggered, this,
            [this] { FocusPart(1); });
    connect(AddKeys(&frame, "previousPart", {QKeySequence(Qt::SHIFT | Qt::Key_F6)}),
            &QAction::triggered, this, [this] { FocusPart(-1); });
    connect(AddKeys(&frame, "nextResultWindow", {QKeySequence(Qt::CTRL | Qt::Key_Tab)}),
            &QAction::triggered, this, [this] { FocusResultWindow(1); });
    // Shift turns Tab into Backtab on most keyboards.
    connect(AddKeys(&frame, "previousResultWindow",
                    {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
                     QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab)}),
            &QAction::triggered, this, [this] { FocusResultWindow(-1); });
    connect(AddKeys(&frame, "contextHelp", {QKeySequence(QKeySequence::HelpContents)}),
            &QAction::triggered, this,
            [this] { vrk::ShowHelp(HelpContextFor(QApplication::focusWidget()), &m_frame); });
}

void CFrameFocus::FocusPart(int step) {
    const CSearchBar* searchBar = m_frame.SearchBar();
    const QWidget* focus = QApplication::focusWidget();
    int part = kPartEntry;  // from anywhere else F6 starts at the search bar
    if (searchBar->OwnsControl(focus))
        part = kPartSearchBar;
    else if (focus && m_frame.MdiArea()->isAncestorOf(focus))
        part = kPartResults;
    else if (m_frame.EntryWindow()->OwnsControl(focus))
        part = kPartEntry;
    // A part that is not there (no result window, a hidden bar or entry
    // window) is passed over.
    for (int tries = 1; tries < kPartCount; ++tries) {
        part = (part + step + kPartCount) % kPartCount;
        if (part == kPartSearchBar && !searchBar->isHidden()) {
            m_frame.activateWindow();
            searchBar->ClueBox()->setFocus(Qt::ShortcutFocusReason);
            return;
        }
        if (part == kPartResults && FocusActiveResultList()) return;
        if (part == kPartEntry && FocusEntryEditor()) return;
    }
}

bool CFrameFocus::FocusActiveResultList() {
    QMdiArea* area = m_frame.MdiArea();
    auto* child = qobject_cast<CChildFrame*>(area->currentSubWindow());
    if (!child) return false;
    m_frame.activateWindow();
    area->setActiveSubWindow(child);
    child->View()->List()->setFocus(Qt::ShortcutFocusReason);
    return true;
}

bool CFrameFocus::FocusEntryEditor() {
    if (m_frame.EntryMode() == kEntryHidden) return false;
    QPlainTextEdit* editor = m_frame.EntryWindow()->Editor();
    editor->activateWindow();
    editor->setFocus(Qt::ShortcutFocusReason);
    return true;
}

void CFrameFocus::FocusResultWindow(int step) {
    QMdiArea* area = m_frame.MdiArea();
    if (area->subWindowList().isEmpty()) return;
    if (step > 0)
        area->activateNextSubWindow();
    else
        area->activatePreviousSubWindow();
    (void)FocusActiveResultList();
}

int CFrameFocus::HelpContextFor(const QWidget* focus) const {
    if (m_frame.SearchBar()->OwnsControl(focus)) return vrk::help::kSearchBar;
    if (m_frame.EntryWindow()->OwnsControl(focus)) return vrk::help::kEntryWindow;
    return vrk::help::kContents;
}
