// Moving and copying dictionaries between libraries by dragging them from the
// list onto a library in the tree. The list keeps the mouse from the press
// to the release (Qt's implicit grab), so every move and the release of a
// drag arrive here through the list's viewport.
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>

#include "manager/dictionary_list.h"
#include "manager/manager_ids.h"
#include "manager/manager_texts.h"
#include "manager/vrk3dbe_view.h"
#include "settings/library_registry.h"
#include "ui/commands.h"
#include "ui/icons.h"
#include "ui/message_box.h"

namespace {

QCursor DragCursor(bool allowed) {
    return vrk::RoleCursor(vrk::TProgram::kManager,
                           allowed ? vrk::cursor::kDropAllowed : vrk::cursor::kDropRefused);
}

// The library item under the pointer in `tree`; null when none is.
QTreeWidgetItem* LibraryAt(const QTreeWidget* tree, const QPoint& globalPos) {
    const QPoint local = tree->viewport()->mapFromGlobal(globalPos);
    if (!tree->viewport()->rect().contains(local)) return nullptr;
    return tree->itemAt(local);
}

}  // namespace

bool CVrk3dbeView::listMouseEvent(QMouseEvent* event) {
    const QEvent::Type type = event->type();
    if (m_nDragMode == kNoDrag) {
        if (type == QEvent::MouseButtonPress) m_pressButton = event->button();
        // A right click that did not become a drag opens the list's menu.
        if (type == QEvent::MouseButtonRelease && event->button() == Qt::RightButton) {
            const QPoint at = event->globalPosition().toPoint();
            QTimer::singleShot(0, this, [this, at] { showDictionaryMenu(at); });
        }
        return false;
    }
    // During a drag the list itself sees none of the mouse.
    if (type == QEvent::MouseMove) {
        dragMove(event->globalPosition().toPoint());
    } else if (type == QEvent::MouseButtonRelease) {
        dragRelease(event->button(), event->modifiers(), event->globalPosition().toPoint());
    }
    return true;
}

void CVrk3dbeView::BeginDictionaryDrag(int mode) {
    QTreeWidgetItem* source = SelectedLibrary();
    if (!source || SelectedDictionaryCount() == 0) return;
    m_nDragMode = mode;
    m_hDragOverItem = nullptr;
    m_strDragSourceKey = LibraryKeyPath(source);
    m_strDragFiles.clear();
    for (const std::string& path : SelectedPaths()) {
        m_strDragFiles += path;
        m_strDragFiles += vrk::kDictionarySeparator;
    }
    // Libraries passed over are listed without messages and without
    // removing anything from them.
    m_bQuietFill = true;
    QApplication::setOverrideCursor(DragCursor(false));
}

void CVrk3dbeView::dragMove(const QPoint& globalPos) {
    QTreeWidgetItem* item = LibraryAt(m_pTree, globalPos);
    if (item) {
        // The library under the pointer is selected, so the list shows it.
        if (item != SelectedLibrary()) m_pTree->setCurrentItem(item);
        QApplication::changeOverrideCursor(DragCursor(true));
        if (item != m_hDragOverItem) m_hoverTimer.start();
    } else {
        QApplication::changeOverrideCursor(DragCursor(false));
    }
    m_hDragOverItem = item;
}

void CVrk3dbeView::dragRelease(Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                               const QPoint& globalPos) {
    const Qt::MouseButton dragButton = m_nDragMode == kLeftDrag ? Qt::LeftButton : Qt::RightButton;
    if (button != dragButton) return;
    const int mode = m_nDragMode;
    QTreeWidgetItem* target = LibraryAt(m_pTree, globalPos);
    endDrag(false);
    if (target && target != SelectedLibrary()) m_pTree->setCurrentItem(target);
    if (!target) {
        Refresh();
    } else if (mode == kLeftDrag) {
        DropDictionaries(!(modifiers & Qt::ShiftModifier));
    } else {
        // The menu opens once the release has been handled.
        QTimer::singleShot(0, this, [this, globalPos] {
            QMenu menu(this);
            menu.setObjectName(QStringLiteral("dropMenu"));
            menu.addAction(m_pCommands->Action(id::kDropCopy));
            menu.addAction(m_pCommands->Action(id::kDropMove));
            if (!menu.exec(globalPos)) Refresh();
        });
    }
}

void CVrk3dbeView::endDrag(bool refresh) {
    if (m_nDragMode == kNoDrag) return;
    m_nDragMode = kNoDrag;
    m_hDragOverItem = nullptr;
    m_hoverTimer.stop();
    QApplication::restoreOverrideCursor();
    m_bQuietFill = false;
    // The library left selected is listed again, now with its messages.
    if (refresh) Refresh();
}

void CVrk3dbeView::DropDictionaries(bool move) {
    QTreeWidgetItem* target = SelectedLibrary();
    const std::vector<std::string> paths = vrk::SplitDictionaryList(m_strDragFiles);
    m_strDragFiles.clear();
    if (!target || paths.empty()) return;
    const std::string targetKey = LibraryKeyPath(target);
    // Onto the library they came from: nothing to do.
    if (targetKey != m_strDragSourceKey) {
        // Added to the target before they leave the source, so a failure
        // never loses a membership.
        bool added = true;
        for (const std::string& path : paths) {
            const vrk::TLibraryResult r = vrk::AddLibraryDictionary(targetKey, path);
            added = added &&
                    (r == vrk::TLibraryResult::kOk || r == vrk::TLibraryResult::kAlreadyMember);
        }
        if (!added) {
            vrk::ShowError(this, vrk::texts::kRegistryUnknownError);
        } else if (move) {
            for (const std::string& path : paths)
                (void)vrk::RemoveLibraryDictionary(m_strDragSourceKey, path);
        }
    }
    FillDictionaryList(targetKey);
    emit SelectionChanged();
}
