#include "ui/icons.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

#include "ui/ui_init.h"

namespace vrk {
namespace {

struct TRole {
    int number;
    const char* file;  // below :/icons/
};

constexpr TRole kIcons[] = {
    {icon::kDictionary, "dictionary.svg"},        {icon::kLibrary, "library.svg"},
    {icon::kLibraryOpen, "library-open.svg"},     {icon::kLibraryClosed, "library-closed.svg"},
    {icon::kSubdirectory, "folder.svg"},          {icon::kParentDirectory, "folder-parent.svg"},
    {icon::kCurrentDirectory, "folder-open.svg"}, {icon::kSearchOptions, "search-options.svg"},
    {icon::kOptionOn, "option-on.svg"},           {icon::kOptionOff, "option-off.svg"},
    {icon::kRowUnmarked, "row-unmarked.svg"},     {icon::kRowMarked, "row-marked.svg"},
    {icon::kFinderApp, "app-finder.svg"},         {icon::kManagerApp, "app-manager.svg"},
};

struct TCursorRole {
    TProgram program;
    int number;
    const char* file;
    int hotX, hotY;  // in the 32 x 32 picture
};

constexpr TCursorRole kCursors[] = {
    {TProgram::kFinder, cursor::kSplitterHover, "cursor-split-rows.svg", 16, 16},
    {TProgram::kFinder, cursor::kSplitterDrag, "cursor-split-rows-drag.svg", 16, 16},
    {TProgram::kManager, cursor::kSplitterHover, "cursor-split.svg", 16, 16},
    {TProgram::kManager, cursor::kSplitterDrag, "cursor-split-drag.svg", 16, 16},
    {TProgram::kManager, cursor::kDropAllowed, "cursor-drop.svg", 2, 2},
    {TProgram::kManager, cursor::kDropRefused, "cursor-no-drop.svg", 2, 2},
};

const TCursorRole* CursorOf(TProgram program, int number) {
    for (const auto& role : kCursors)
        if (role.program == program && role.number == number) return &role;
    return nullptr;
}

constexpr TRole kBitmaps[] = {
    {bitmap::kManagerSplash, "splash-manager.svg"},
    {bitmap::kNewDictionary, "new-dictionary.svg"},
    {bitmap::kManagerNoPicture, "no-picture-manager.svg"},
    {bitmap::kFinderNoPicture, "no-picture-finder.svg"},
    {bitmap::kFinderAbout, "about-finder.svg"},
    {bitmap::kFinderSplash, "banner.svg"},
};

template <class Table>
QString FileOf(const Table& table, int number) {
    EnsureUiResources();
    for (const auto& role : table)
        if (role.number == number) return QStringLiteral(":/icons/") + role.file;
    return {};
}

// The drawing at `size` (its own size when empty) for a screen of `ratio`
// device pixels to a pixel: drawn at the device's pixels, so that a large
// scale factor shows it sharp, not a picture of its own size enlarged.
QPixmap Render(const QString& file, QSize size, qreal ratio = 1.0) {
    QSvgRenderer renderer(file);
    if (!renderer.isValid()) return {};
    if (size.isEmpty()) size = renderer.defaultSize();
    if (ratio <= 0) ratio = 1.0;
    QPixmap pixmap((QSizeF(size) * ratio).toSize());
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return pixmap;
}

}  // namespace

QString RoleIconFile(int number) {
    return FileOf(kIcons, number);
}
QString RoleCursorFile(TProgram program, int number) {
    EnsureUiResources();
    const TCursorRole* role = CursorOf(program, number);
    return role ? QStringLiteral(":/icons/") + role->file : QString();
}
QString RoleBitmapFile(int number) {
    return FileOf(kBitmaps, number);
}

QIcon RoleIcon(int number) {
    const QString file = RoleIconFile(number);
    return file.isEmpty() ? QIcon() : QIcon(file);
}

QCursor RoleCursor(TProgram program, int number) {
    if (const TCursorRole* role = CursorOf(program, number)) {
        QPixmap pixmap = Render(RoleCursorFile(program, number), QSize(32, 32));
        if (!pixmap.isNull()) return QCursor(pixmap, role->hotX, role->hotY);
    }
    return QCursor(Qt::ArrowCursor);
}

QSize RoleBitmapSize(int number) {
    QSvgRenderer renderer(RoleBitmapFile(number));
    return renderer.isValid() ? renderer.defaultSize() : QSize();
}

QPixmap RoleBitmap(int number, QSize size, qreal ratio) {
    const QString file = RoleBitmapFile(number);
    return file.isEmpty() ? QPixmap() : Render(file, size, ratio);
}

QIcon ToolbarIcon(const QString& name) {
    EnsureUiResources();
    const QString file = QStringLiteral(":/icons/toolbar/") + name + QStringLiteral(".svg");
    return QFile::exists(file) ? QIcon(file) : QIcon();
}

}  // namespace vrk
