// CUndoListWnd: the list of "Razveljavi Več", a captionless pop-up at the
// mouse that lists the undo steps, the most recent on top. The mouse
// highlights the block of steps a click would undo (the item under it and
// every item above); a click on item k undoes k + 1 steps. It hides when it
// loses the focus.
#pragma once

#include <QStringList>

#include "finder/search_bar_popup.h"

class QListWidget;

class CUndoListWnd : public CSearchBarPopup {
    Q_OBJECT
  public:
    explicit CUndoListWnd(QWidget* parent);

    // Lists the steps' texts, given oldest first, most recent on top.
    void SetSteps(const QStringList& oldestFirst);
    QListWidget* List() const { return m_pList; }
    // Highlights items 0 ... row; nothing for a negative row.
    void HighlightUpTo(int row);
    // What a click on item `row` does: hides the window and asks for
    // row + 1 steps to be undone.
    void ChooseItem(int row);

  signals:
    void UndoRequested(int steps);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QListWidget* m_pList = nullptr;
    int m_nHighlighted = -1;
};
