#include "ui/elided_label.h"

#include <QPainter>
#include <QStyle>

namespace vrk {

QString CElidedLabel::ShownText() const {
    return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width());
}

void CElidedLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect(),
                          QStyle::visualAlignment(layoutDirection(), alignment()), palette(),
                          isEnabled(), ShownText(), foregroundRole());
}

}  // namespace vrk
