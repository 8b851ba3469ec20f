// CResultArea: the finder frame's window area, where every result window
// (CChildFrame) opens. It places new result windows in a cascade, lines up
// the minimized ones and closes them all, and it lists the open result views
// for the changes that reach all of them (a stored or deleted entry, a font).
#pragma once

#include <QList>
#include <QMdiArea>

class QMdiSubWindow;
class CVrk3mpgView;

class CResultArea : public QMdiArea {
    Q_OBJECT
  public:
    // At most this many result views are listed by ResultViews().
    static constexpr int kMaxResultViews = 1000;

    explicit CResultArea(QWidget* parent = nullptr);

    // Opens `view` in a new result window, placed in a cascade, with the
    // keyboard in its list at the first word; returns the window. The view's
    // requests to open a word come out of OpenEntryRequested.
    QMdiSubWindow* AddView(CVrk3mpgView* view);
    // The views of the open result windows, oldest first; the first
    // kMaxResultViews of them when more are open.
    QList<CVrk3mpgView*> ResultViews() const;
    // Closes the result windows one by one; stops when one refuses.
    void CloseAll();
    // Minimized result windows in a row along the bottom of the area.
    void ArrangeIcons();

  signals:
    // A result view asks for the found word of `row`, description `nDesc`
    // (-1: the one the view's pane has selected), in the entry window.
    void OpenEntryRequested(CVrk3mpgView* view, int row, int nDesc);
};
