#include "ui/splash_window.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QScreen>

#include "ui/icons.h"

namespace vrk {
namespace {

QPointer<CSplashWindow> g_current;

bool EndsSplash(QEvent::Type type) {
    switch (type) {
        case QEvent::KeyPress:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::NonClientAreaMouseButtonDblClick:
            return true;
        default:
            return false;
    }
}

// Device pixels to a pixel on the screen the splash shows on.
qreal RatioOf(const QWidget* owner) {
    const QScreen* screen =
        owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->devicePixelRatio() : 1.0;
}

}  // namespace

CSplashWindow* CSplashWindow::ShowSplash(int bitmapNumber, QWidget* owner, int showMs) {
    if (!g_current) g_current = new CSplashWindow(bitmapNumber, owner, showMs);
    return g_current;
}

CSplashWindow::CSplashWindow(int bitmapNumber, QWidget* owner, int showMs)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_bitmap(RoleBitmap(bitmapNumber, {}, RatioOf(owner))),
      m_pOwner(owner) {
    setObjectName("splashWindow");
    setAttribute(Qt::WA_DeleteOnClose);
    setCursor(Qt::ArrowCursor);
    setFixedSize(m_bitmap.deviceIndependentSize().toSize());
    if (const QScreen* screen =
            owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->geometry().center());
        move(frame.topLeft());
    }
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &CSplashWindow::hideSplash);
    qApp->installEventFilter(this);
    show();
    m_timer.start(showMs);
}

bool CSplashWindow::eventFilter(QObject* watched, QEvent* event) {
    if (m_bHidden) return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::ShortcutOverride) {
        // Claim the key, so that no shortcut acts on it before it arrives.
        event->accept();
        return true;
    }
    if (!EndsSplash(event->type())) return QWidget::eventFilter(watched, event);
    // The press only ends the splash; it must not reach the window beneath.
    hideSplash();
    return true;
}

void CSplashWindow::hideSplash() {
    if (m_bHidden) return;
    m_bHidden = true;
    m_timer.stop();
    qApp->removeEventFilter(this);
    hide();
    if (m_pOwner) m_pOwner->repaint();
    close();
}

void CSplashWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_bitmap);
}

}  // namespace vrk
