// Windows within their area: the rule that keeps a rectangle on a screen.
#include <gtest/gtest.h>

#include "ui/window_fit.h"

namespace vrk {
namespace {

TEST(WindowFitTest, AWindowComesBackWithinTheScreen) {
    const QList<QRect> screens = {QRect(0, 0, 1280, 800)};
    const QRect fallback = screens.first();
    // Partly on the screen: moved in by as little as it takes.
    EXPECT_EQ(KeepOnScreen(QRect(-100, -10, 400, 300), screens, fallback), QRect(0, 0, 400, 300));
    EXPECT_EQ(KeepOnScreen(QRect(1000, 600, 400, 300), screens, fallback, QSize(8, 30)),
              QRect(872, 470, 400, 300));
    // Kept at scale 1 and restored at twice the scale (or on a smaller
    // monitor): it shrinks to the area, title bar included.
    EXPECT_EQ(KeepOnScreen(QRect(100, 50, 2560, 1600), screens, fallback, QSize(8, 30)),
              QRect(0, 0, 1272, 770));
    // Without a decoration the whole area is the window's.
    EXPECT_EQ(KeepOnScreen(QRect(0, 0, 1400, 300), screens, fallback), QRect(0, 0, 1280, 300));
    // On a second screen that is no longer there: centred on the first.
    EXPECT_EQ(KeepOnScreen(QRect(1500, 100, 400, 300), screens, fallback),
              QRect(440, 250, 400, 300));
    // Only a sliver left on the screen is not enough to grab the window.
    EXPECT_EQ(KeepOnScreen(QRect(1270, 100, 400, 300), screens, fallback).x(), 440);
}

}  // namespace
}  // namespace vrk
