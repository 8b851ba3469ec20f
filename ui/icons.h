// The icons, cursors and bitmaps of both programs, drawn for them in one
// style and built into the program (resources/icons/). Numbered roles keep
// the numbers the windows refer to; resources/icons/README.md lists every
// role with its file.
#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace vrk {

// Numbered 16 x 16 icons.
namespace icon {
inline constexpr int kDictionary = 132;        // a dictionary
inline constexpr int kLibrary = 135;           // a library without sub-libraries
inline constexpr int kLibraryOpen = 136;       // a library with sub-libraries, expanded
inline constexpr int kLibraryClosed = 138;     // a library with sub-libraries, collapsed
inline constexpr int kSubdirectory = 140;      // directory chooser: a subdirectory
inline constexpr int kParentDirectory = 141;   // directory chooser: a directory above
inline constexpr int kCurrentDirectory = 142;  // directory chooser: the current directory
inline constexpr int kSearchOptions = 155;     // the finder's search-options button
inline constexpr int kOptionOn = 133;          // finder search options: a switch that is on
inline constexpr int kOptionOff = 134;         // ... and one that is off
inline constexpr int kRowUnmarked = 143;       // finder result rows: an unmarked row
inline constexpr int kRowMarked = 144;         // ... and a marked one
inline constexpr int kFinderApp = 128;         // the finder's window icon
inline constexpr int kManagerApp = 129;        // the manager's window icon
}  // namespace icon

// The program whose numbered cursors are meant: the same numbers name
// different cursors in the two programs.
enum class TProgram { kFinder, kManager };

// Numbered cursors. In the finder 131 and 132 resize rows (the bar between
// the result list and its description pane); in the manager they resize
// columns (the bar between the library tree and the dictionary list).
namespace cursor {
inline constexpr int kSplitterHover = 131;
inline constexpr int kSplitterDrag = 132;
inline constexpr int kDropAllowed = 157;  // manager only
inline constexpr int kDropRefused = 158;  // manager only
}  // namespace cursor

// Numbered bitmaps.
namespace bitmap {
inline constexpr int kManagerSplash = 102;
inline constexpr int kNewDictionary = 143;     // the pages of the new-dictionary wizard
inline constexpr int kManagerNoPicture = 146;  // information dialog, manager, no picture
inline constexpr int kFinderNoPicture = 158;   // information dialog, finder, no picture
inline constexpr int kFinderAbout = 159;
inline constexpr int kFinderSplash = 160;  // also the manager's about box
inline constexpr int kManagerAbout = 160;
}  // namespace bitmap

// A numbered icon; a null icon for an unknown number.
QIcon RoleIcon(int number);
// A numbered cursor of `program`; the arrow for an unknown number.
QCursor RoleCursor(TProgram program, int number);
// A numbered bitmap drawn at `size` (its own size when empty) for a screen
// of `ratio` device pixels to a pixel (a widget's devicePixelRatioF()): it
// holds `size` times `ratio` pixels and shows at `size`. A null pixmap for
// an unknown number.
QPixmap RoleBitmap(int number, QSize size = {}, qreal ratio = 1.0);
// The size a numbered bitmap is drawn at when no size is asked for.
QSize RoleBitmapSize(int number);
// A toolbar or button icon by name ("entry-new", "edit-cut", ...); a null
// icon for an unknown name.
QIcon ToolbarIcon(const QString& name);

// The files behind the numbers, for tests and for the table of roles.
QString RoleIconFile(int number);
QString RoleCursorFile(TProgram program, int number);
QString RoleBitmapFile(int number);

}  // namespace vrk
