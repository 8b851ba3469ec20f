// Where the main frame and its entry window stand: the values "FrameX",
// "FrameY", "FrameW", "FrameH", "FrameS", "FrameM", "FrameA", "EditX",
// "EditY", "EditW", "EditH" and "EditV" under "Fndr", with their defaults.
#pragma once

#include <QRect>
#include <cstdint>

// The stored docking sides ("FrameA"); the numbers keep their meaning
// across versions and programs.
inline constexpr std::int32_t kAlignLeft = 5120;
inline constexpr std::int32_t kAlignRight = 16640;
inline constexpr std::int32_t kAlignTop = 10240;
inline constexpr std::int32_t kAlignBottom = 33280;

// Which entry window shows ("EditV").
inline constexpr int kEntryHidden = 0;
inline constexpr int kEntryDocked = 1;
inline constexpr int kEntryFloating = 2;

// The frame's window state ("FrameM").
inline constexpr int kFrameNormal = 0;
inline constexpr int kFrameMaximized = 1;
inline constexpr int kFrameMinimized = 2;

// The style a new frame asks for: an overlapped window with the document
// title added to its caption. Kept in "FrameS" for the other versions.
inline constexpr std::int32_t kDefaultFrameStyle = 0x00CF8000;

struct TFramePlacement {
    QRect frame;  // top-left corner and size of the frame
    std::int32_t style = kDefaultFrameStyle;
    int state = kFrameNormal;
    std::int32_t align = kAlignLeft;
    int entryMode = kEntryDocked;
    QRect floating;  // the floating entry window
};

// The stored placement; every value missing or not a number takes its
// default, computed from `screen` (the frame 80 % of the screen, centred).
[[nodiscard]] TFramePlacement ReadFramePlacement(const QRect& screen);

// A docking side known to the frame; anything else counts as the left side.
[[nodiscard]] std::int32_t ValidAlign(std::int32_t align);

// Stores "FrameM" and, for a normal frame, its rectangle and style; and the
// entry window's mode. False when something could not be stored.
[[nodiscard]] bool StoreFramePlacement(const QRect& frame, std::int32_t style, int state,
                                       int entryMode);
// Stores the floating entry window's rectangle ("EditX" ... "EditH").
[[nodiscard]] bool StoreFloatingPlacement(const QRect& floating);
// Stores the docking side ("FrameA").
[[nodiscard]] bool StoreEntryAlign(std::int32_t align);
// The stored window state, and clearing it once it has been applied.
[[nodiscard]] int ReadStoredFrameState();
[[nodiscard]] bool ClearStoredFrameState();
