#include "finder/result_area.h"

#include <QMdiSubWindow>
#include <QTreeWidget>

#include "finder/child_frame.h"
#include "finder/vrk3mpg_view.h"

CResultArea::CResultArea(QWidget* parent) : QMdiArea(parent) {
    setObjectName(QStringLiteral("mdiArea"));
}

QMdiSubWindow* CResultArea::AddView(CVrk3mpgView* view) {
    connect(view, &CVrk3mpgView::OpenEntryRequested, this,
            [this, view](int row, int nDesc) { emit OpenEntryRequested(view, row, nDesc); });
    auto* child = new CChildFrame(view);
    addSubWindow(child);
    child->resize(CChildFrame::SizeWithin(*this, child->size()));
    child->move(CChildFrame::CascadePosition(*this, child->size()));
    child->show();
    // The keyboard goes on in the new list, at its first word, whose
    // descriptions the pane shows at once; the frame takes the activation
    // back from the search's progress window.
    if (QTreeWidgetItem* first = view->List()->topLevelItem(0)) view->List()->setCurrentItem(first);
    window()->activateWindow();
    view->List()->setFocus();
    return child;
}

QList<CVrk3mpgView*> CResultArea::ResultViews() const {
    QList<CVrk3mpgView*> views;
    for (QMdiSubWindow* window : subWindowList(QMdiArea::CreationOrder)) {
        if (views.size() >= kMaxResultViews) break;
        if (auto* child = qobject_cast<CChildFrame*>(window)) views.append(child->View());
    }
    return views;
}

void CResultArea::CloseAll() {
    // Stop when a window refuses to close, so the loop always ends.
    for (;;) {
        const QList<QMdiSubWindow*> windows = subWindowList();
        if (windows.isEmpty()) break;
        windows.first()->close();
        if (subWindowList().size() == windows.size()) break;
    }
}

void CResultArea::ArrangeIcons() {
    int x = 0;
    const int bottom = viewport()->height();
    for (QMdiSubWindow* window : subWindowList()) {
        if (!window->isMinimized()) continue;
        window->move(x, bottom - window->height());
        x += window->width();
    }
}
