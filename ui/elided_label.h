// CElidedLabel: a one-line label that shows a text longer than itself cut
// with "…"; text() stays the whole text, and so does the tool tip when the
// owner sets it. Used for the entry window's word and the search progress
// window's dictionary.
#pragma once

#include <QLabel>

namespace vrk {

class CElidedLabel : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;
    // The text as the label shows it at its present width.
    QString ShownText() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace vrk
