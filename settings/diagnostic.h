// The diagnostic log of the settings store and its helpers: one line per
// failure, never shown to the user. By default a line goes to stderr when the
// environment variable VRK3_DEBUG is set (and not empty), and nowhere else.
#pragma once

#include <functional>
#include <string_view>

namespace vrk {

// Receives one line, without its line break.
using TDiagnosticSink = std::function<void(std::string_view line)>;

// Writes one line to the log. Thread-safe.
void TDebugLine(std::string_view line);

// Sends every line to `sink` instead (tests collect them this way); an empty
// sink restores the default. Returns the previous sink.
TDiagnosticSink SetDiagnosticSink(TDiagnosticSink sink);

}  // namespace vrk
