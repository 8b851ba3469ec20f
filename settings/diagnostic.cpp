#include "settings/diagnostic.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

namespace vrk {

namespace {

std::mutex g_mutex;
TDiagnosticSink g_sink;

}  // namespace

void TDebugLine(std::string_view line) {
    std::lock_guard lock(g_mutex);
    if (g_sink) {
        g_sink(line);
        return;
    }
    const char* debug = std::getenv("VRK3_DEBUG");
    if (debug == nullptr || *debug == '\0') return;
    std::string text(line);
    text += '\n';
    std::fwrite(text.data(), 1, text.size(), stderr);
}

TDiagnosticSink SetDiagnosticSink(TDiagnosticSink sink) {
    std::lock_guard lock(g_mutex);
    std::swap(sink, g_sink);
    return sink;
}

}  // namespace vrk
