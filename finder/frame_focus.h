// CFrameFocus: where the keyboard focus goes in the finder's frame, so that
// a solver never needs the mouse: the known-letters box at the start, F6
// (Shift+F6 back) round the search bar, the active result window's list and
// the entry editor, Ctrl+Tab (Ctrl+Shift+Tab back) through the result
// windows, and the entry editor once a found word is opened. F1 opens the
// help on the part that has the focus.
#pragma once

#include <QObject>

class CMainFrame;
class QWidget;

class CFrameFocus : public QObject {
    Q_OBJECT
  public:
    // Adds the keys to `frame` (its search bar, window area and entry window
    // must exist) and gives the known-letters box the focus.
    explicit CFrameFocus(CMainFrame& frame);

    // F6's round, `step` 1 forwards and -1 back; a part that is not there
    // (no result window, a hidden bar or entry window) is passed over.
    void FocusPart(int step);
    // The two parts' focus functions return false when their part is not
    // there to take it.
    bool FocusActiveResultList();
    bool FocusEntryEditor();
    // Ctrl+Tab and Ctrl+Shift+Tab: the next or previous result window.
    void FocusResultWindow(int step);
    // The help context of F1 for the widget that has the focus: 13 in the
    // search bar, 14 in the entry window, else 0.
    int HelpContextFor(const QWidget* focus) const;

  private:
    CMainFrame& m_frame;
};
