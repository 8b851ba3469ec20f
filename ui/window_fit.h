// Windows kept within their area: a top-level window within the screens'
// available areas (without panels), a result window within the finder's
// window area. A window stored at another scale factor or on a larger
// monitor, or opened at a size larger than the screen, comes back whole, its
// title bar and buttons in reach.
#pragma once

#include <QList>
#include <QRect>
#include <QSize>

class QWidget;

namespace vrk {

// `rect` within the area of `screens` that shows most of it; when none shows
// a corner's worth, moved to the middle of `fallback`, so that a window
// stored on a screen that is gone returns. A rectangle larger than the area
// shrinks to fit it. `decoration` is what the window manager adds to the
// right and below (frame and title bar), which must fit too.
[[nodiscard]] QRect KeepOnScreen(const QRect& rect, const QList<QRect>& screens,
                                 const QRect& fallback, QSize decoration = QSize(0, 0));

// What the window manager adds to the top-level `window`: measured once it
// shows, before that a title bar and a thin border allowed for.
[[nodiscard]] QSize WindowDecoration(const QWidget* window);

// `rect` (the top-level `window`'s corner as move() places it, the window
// frame's, and its size as resize() sets it) kept within the available areas
// of the screens, the window's decoration included; the primary screen is
// where a window of no screen goes.
[[nodiscard]] QRect KeepWindowOnScreen(const QWidget* window, const QRect& rect);

}  // namespace vrk
