// Why a dictionary operation failed, in Slovene, for the line a message adds
// below the program's own text ("Pri shranjevanju gesla je prišlo do
// napake." and then the reason).
#pragma once

#include <QString>

#include "settings/reg_types.h"
#include "settings/store_failure.h"
#include "store/failure.h"

namespace vrk {

// One sentence for `failure`; empty for TFailure::None.
QString FailureReason(TFailure failure);

// `text`, and the reason on a line of its own when there is one.
QString WithFailureReason(const QString& text, TFailure failure);

// Why the settings store failed, in Slovene; empty for kNone.
QString StoreFailureReason(TStoreFailure failure);

// "Napaka pri branju knjižnice [k<code>]" for a library tree that could not
// be read, with why the per-user store failed on a line of its own.
QString LibraryReadError(TRegResult result);

// At start: LibraryReadError when the library tree cannot be read, else empty.
QString LibraryTreeProblem();

}  // namespace vrk
