// Why a dictionary operation failed, in Slovene, for the line a message adds
// below the program's own text ("Pri shranjevanju gesla je prišlo do
// napake." and then the reason).
#pragma once

#include <QString>

#include "store/failure.h"

namespace vrk {

// One sentence for `failure`; empty for TFailure::None.
QString FailureReason(TFailure failure);

// `text`, and the reason on a line of its own when there is one.
QString WithFailureReason(const QString& text, TFailure failure);

}  // namespace vrk
