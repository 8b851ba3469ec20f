// CChildFrame: the result window in the main frame's window area, holding
// one CVrk3mpgView. It opens with the remembered size (and maximised or
// minimised as the last result window was closed) and keeps its size in the
// settings store ("ChildW", "ChildH", "ChildS", "ChildM" under "Fndr").
#pragma once

#include <QMdiSubWindow>
#include <QPoint>
#include <QSize>

class QMdiArea;
class CVrk3mpgView;

class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
  public:
    // Takes `view` as its widget and the view's document title as its own.
    explicit CChildFrame(CVrk3mpgView* view, QWidget* parent = nullptr);
    ~CChildFrame() override;

    CVrk3mpgView* View() const { return m_pView; }

    // The size a new result window opens with: "ChildW" x "ChildH"; 400 x 200
    // when a value is missing, 300 x 150 when the "Fndr" key is.
    static QSize StoredSize();

    // `size` made no larger than the inside of the shown `area`, so that a
    // new result window shows its title bar's buttons and its borders also
    // where the area is small (a small screen, a large scale factor).
    static QSize SizeWithin(const QMdiArea& area, QSize size);

    // Where a new result window of `size` opens in `area`: a title bar's
    // height right of and below the last window shown normally, as windows
    // cascade; at the top left when there is none or the cascade would leave
    // the window partly outside the area.
    static QPoint CascadePosition(const QMdiArea& area, QSize size);

  protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void storeSize();

    CVrk3mpgView* m_pView = nullptr;
    bool m_bFirstShowPending = true;
};
