#include "finder/search_bar_popup.h"

#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

#include "ui/wait_cursor.h"

QPoint PopupPosition(QPoint cursor, QSize size, const QRect& screen) {
    int x = cursor.x();
    int y = cursor.y();
    if (x + size.width() >= screen.x() + screen.width()) x -= size.width();
    if (y + size.height() >= screen.y() + screen.height()) y -= size.height();
    // A window larger than the room left of the cursor starts at the edge.
    if (x < screen.x()) x = screen.x();
    if (y < screen.y()) y = screen.y();
    return QPoint(x, y);
}

CSearchBarPopup::CSearchBarPopup(QWidget* parent) : QWidget(parent, Qt::Popup) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(3, 3, 3, 3);
    hide();
}

void CSearchBarPopup::SetControl(QWidget* control) {
    layout()->addWidget(control);
    // The keys typed while the pop-up is open go to its control.
    setFocusProxy(control);
}

void CSearchBarPopup::ShowAt(QPoint cursor) {
    hide();
    {
        const TWaitCursor wait;
        Refill();
        QScreen* screen = QGuiApplication::screenAt(cursor);
        if (!screen) screen = QGuiApplication::primaryScreen();
        move(PopupPosition(cursor, size(), screen->geometry()));
    }
    show();
    activateWindow();
    setFocus(Qt::PopupFocusReason);
}

void CSearchBarPopup::ShowAtCursor() {
    ShowAt(QCursor::pos());
}

bool CSearchBarPopup::event(QEvent* event) {
    // A pop-up closes itself on a click elsewhere; losing the activation to
    // another window hides it too.
    if (event->type() == QEvent::WindowDeactivate && isVisible()) hide();
    if (event->type() == QEvent::Hide) OnFocusLost();
    return QWidget::event(event);
}
