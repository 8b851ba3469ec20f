#include "finder/undo_list_wnd.h"

#include <QEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <algorithm>

#include "finder/finder_texts.h"

CUndoListWnd::CUndoListWnd(QWidget* parent) : CSearchBarPopup(parent) {
    setObjectName(QStringLiteral("undoList"));
    m_pList = new QListWidget(this);
    m_pList->setObjectName(QStringLiteral("undoSteps"));
    m_pList->setAccessibleName(vrk::texts::kA11yUndoName);
    m_pList->setAccessibleDescription(vrk::texts::kA11yUndoDescription);
    m_pList->setSelectionMode(QAbstractItemView::MultiSelection);
    m_pList->setMouseTracking(true);
    m_pList->viewport()->installEventFilter(this);
    m_pList->installEventFilter(this);
    SetControl(m_pList);
    resize(360, 200);
}

void CUndoListWnd::SetSteps(const QStringList& oldestFirst) {
    m_pList->clear();
    for (const QString& text : oldestFirst) m_pList->insertItem(0, text);
    m_nHighlighted = -1;
    HighlightUpTo(-1);
}

void CUndoListWnd::HighlightUpTo(int row) {
    m_nHighlighted = row;
    for (int i = 0; i < m_pList->count(); ++i) m_pList->item(i)->setSelected(i <= row);
    if (row >= 0) m_pList->setCurrentRow(row, QItemSelectionModel::NoUpdate);
}

void CUndoListWnd::ChooseItem(int row) {
    if (row < 0 || row >= m_pList->count()) return;
    hide();
    emit UndoRequested(row + 1);
}

bool CUndoListWnd::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pList->viewport()) {
        switch (event->type()) {
            case QEvent::MouseMove: {
                const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
                const int row = m_pList->indexAt(pos).row();
                if (row != m_nHighlighted) HighlightUpTo(row);
                return true;
            }
            case QEvent::Leave:
                HighlightUpTo(-1);
                return false;
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
                return true;
            case QEvent::MouseButtonRelease: {
                const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
                ChooseItem(m_pList->indexAt(pos).row());
                return true;
            }
            default:
                break;
        }
    } else if (watched == m_pList && event->type() == QEvent::KeyPress) {
        // The keyboard moves the block and Enter undoes it.
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Down || key == Qt::Key_Up) {
            const int step = key == Qt::Key_Down ? 1 : -1;
            HighlightUpTo(std::clamp(m_nHighlighted + step, 0, m_pList->count() - 1));
            return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            ChooseItem(m_nHighlighted);
            return true;
        }
        if (key == Qt::Key_Escape) {
            hide();
            return true;
        }
    }
    return CSearchBarPopup::eventFilter(watched, event);
}
