// CSplashWindow: the start-up picture. A frameless window the size of its
// bitmap, centred on the screen, that hides after 3000 ms or at the first key
// or mouse-button press anywhere in the program, which it consumes. Then it
// asks its owner to repaint.
#pragma once

#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace vrk {

class CSplashWindow : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kShowMs = 3000;

    // Shows the splash of bitmap `bitmapNumber` (bitmap::kFinderSplash or
    // bitmap::kManagerSplash) unless one is shown already; returns it. It
    // deletes itself when it hides.
    static CSplashWindow* ShowSplash(int bitmapNumber, QWidget* owner, int showMs = kShowMs);

    bool eventFilter(QObject* watched, QEvent* event) override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    CSplashWindow(int bitmapNumber, QWidget* owner, int showMs);
    void hideSplash();

    QPixmap m_bitmap;
    QPointer<QWidget> m_pOwner;
    QTimer m_timer;
    bool m_bHidden = false;
};

}  // namespace vrk
