// What a screen reader reads for a control: its accessible name (the label
// a sighted user reads beside it, or what it does) and, where the name alone
// does not explain it, a description. Both reach the desktop's
// accessibility interface (AT-SPI) through Qt.
#pragma once

#include <QString>

class QWidget;

namespace vrk {

// Sets the name and, when not empty, the description of `control`. An
// editable combo box's line edit and the list a combo box opens are read as
// controls of their own, so they get both as well (the box itself is read
// by its text while it holds one).
void SetAccessibleText(QWidget* control, const QString& name,
                       const QString& description = QString());

// A label's text as a name: without the mnemonic's "&" and a closing colon.
[[nodiscard]] QString NameFromLabel(const QString& label);

// Names the controls below `window` that Qt leaves without a name although a
// label names them for the eye: a list, tree or table whose label has it as
// its buddy; the line edit of a labelled combo box and the list it opens; a
// control that
// passes its focus on to a named one (as the boxes of Qt's font dialog do to
// their lists). Controls that have a name keep it. Call it once the labels
// hold their texts.
void NameFromLabels(QWidget* window);

}  // namespace vrk
