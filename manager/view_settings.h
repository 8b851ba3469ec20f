// The manager's stored window layout under "Editor": "TreeWidth", "Width",
// "Height", "Style" and "ListColumnWidth0" .. "ListColumnWidth3".
#pragma once

#include <array>

// The width of the splitter bar between the library tree and the list; a
// press from its left edge to 5 pixels right of it starts a splitter drag.
inline constexpr int kSplitterWidth = 5;

struct TViewSettings {
    int treeWidth = 150;  // the library tree's width in pixels
    int width = 600;      // the frame's width and height when not maximized
    int height = 400;
    bool maximized = false;  // the frame was closed maximized
    std::array<int, 4> columns{150, 70, 150, 150};

    bool operator==(const TViewSettings&) const = default;
};

// The stored values; a value that is missing or not a number takes its
// default. A negative tree width reads as 0, so the splitter bar stays in
// the window.
[[nodiscard]] TViewSettings ReadViewSettings();

// Stores the values of `now` that differ from `stored` (the tree width,
// frame size and column widths; not "Style") and makes `stored` agree with
// what was written. False when a value could not be stored.
[[nodiscard]] bool StoreViewLayout(const TViewSettings& now, TViewSettings& stored);
// Stores "Style": 1 when the frame is maximized, else 0.
[[nodiscard]] bool StoreViewStyle(bool maximized);

// The tree width the splitter bar may take in a view `viewWidth` pixels wide:
// from 0 up to where the bar still shows whole.
[[nodiscard]] int BoundedTreeWidth(int treeWidth, int viewWidth);
