#include "ui/window_fit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <algorithm>

namespace vrk {

QRect KeepOnScreen(const QRect& rect, const QList<QRect>& screens, const QRect& fallback,
                   QSize decoration) {
    // The screen that shows the most of the window, if one shows at least a
    // corner's worth; else the window goes to the middle of `fallback`.
    QRect area;
    qint64 best = -1;
    for (const QRect& screen : screens) {
        const QRect shown = screen.intersected(rect);
        if (shown.width() < 50 || shown.height() < 20) continue;
        const qint64 size = qint64(shown.width()) * shown.height();
        if (size > best) {
            best = size;
            area = screen;
        }
    }
    QRect moved = rect;
    if (best < 0) {
        area = fallback;
        moved.moveCenter(fallback.center());
    }
    // Never larger than the area, and wholly inside it, title bar included:
    // a size kept at another scale or on a larger monitor shrinks to fit.
    const int width = std::max(std::min(moved.width(), area.width() - decoration.width()), 1);
    const int height = std::max(std::min(moved.height(), area.height() - decoration.height()), 1);
    const int x =
        std::clamp(moved.x(), area.left(),
                   std::max(area.left(), area.x() + area.width() - width - decoration.width()));
    const int y =
        std::clamp(moved.y(), area.top(),
                   std::max(area.top(), area.y() + area.height() - height - decoration.height()));
    return QRect(x, y, width, height);
}

QSize WindowDecoration(const QWidget* window) {
    if (window->isVisible()) {
        const QSize added = window->frameGeometry().size() - window->geometry().size();
        if (!added.isEmpty()) return added;
    }
    const int border = 4;
    return QSize(2 * border, window->style()->pixelMetric(QStyle::PM_TitleBarHeight) + 2 * border);
}

QRect KeepWindowOnScreen(const QWidget* window, const QRect& rect) {
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) screens << screen->availableGeometry();
    const QScreen* primary = QGuiApplication::primaryScreen();
    const QRect fallback = primary ? primary->availableGeometry() : rect;
    return KeepOnScreen(rect, screens, fallback, WindowDecoration(window));
}

}  // namespace vrk
