// CSearchBarPopup: the base of the search bar's two small windows (search
// options, active library). A captionless window with one control filling
// it inside a 3-pixel margin, shown at the mouse cursor and hidden again as
// soon as it loses the focus.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QWidget>

// The top-left corner for a window of `size` opened at `cursor`: right of
// and below the cursor, or left of and above it where the window would reach
// the screen's right or bottom edge; never off the screen's left or top.
[[nodiscard]] QPoint PopupPosition(QPoint cursor, QSize size, const QRect& screen);

class CSearchBarPopup : public QWidget {
    Q_OBJECT
  public:
    explicit CSearchBarPopup(QWidget* parent);

    // Hides the window, lets it prepare (Refill), and shows it at `cursor`.
    void ShowAt(QPoint cursor);
    // The same at the mouse cursor.
    void ShowAtCursor();

  protected:
    // Puts the one control into the window.
    void SetControl(QWidget* control);
    // Called while the window is hidden, before it is shown again.
    virtual void Refill() {}
    // Called when the window hides after losing the focus.
    virtual void OnFocusLost() {}
    bool event(QEvent* event) override;
};
