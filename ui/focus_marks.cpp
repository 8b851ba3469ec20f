#include "ui/focus_marks.h"

#include <QAbstractItemView>
#include <QColor>
#include <QPalette>

namespace vrk {

void DimSelectionWithoutFocus(QAbstractItemView* view) {
    // A view without the focus draws its selection in the palette's
    // inactive colours, which most styles make the same as the active ones.
    QPalette palette = view->palette();
    const QColor highlight = palette.color(QPalette::Active, QPalette::Highlight);
    const QColor base = palette.color(QPalette::Active, QPalette::Base);
    const auto mix = [&](int a, int b) { return (a * 35 + b * 65) / 100; };
    const QColor pale(mix(highlight.red(), base.red()), mix(highlight.green(), base.green()),
                      mix(highlight.blue(), base.blue()));
    palette.setColor(QPalette::Inactive, QPalette::Highlight, pale);
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::Text));
    view->setPalette(palette);
}

}  // namespace vrk
