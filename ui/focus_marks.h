// Where the keyboard is, made plain to see in the lists and trees.
#pragma once

class QAbstractItemView;

namespace vrk {

// Draws `view`'s selection in a paler colour while another control has the
// focus, so that of two views side by side the one the keys act on stands
// out; the selection stays visible in both.
void DimSelectionWithoutFocus(QAbstractItemView* view);

}  // namespace vrk
