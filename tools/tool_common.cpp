#include "tool_common.h"

#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "settings/scratch_set.h"
#include "settings/temp_dir.h"
#include "store/format.h"
#include "store/text_codec.h"

namespace vrk::tool {

std::string ToCp1250(std::string_view utf8, std::string_view what) {
    auto bytes = Utf8ToCp1250(utf8);
    if (!bytes)
        throw TUsageError(std::string(what) +
                          ": text has a character that Windows-1250 cannot hold");
    return *bytes;
}

char ToCp1250Char(std::string_view utf8, std::string_view what) {
    const std::string bytes = ToCp1250(utf8, what);
    if (bytes.size() != 1) throw TUsageError(std::string(what) + ": give exactly one character");
    return bytes[0];
}

std::string Escaped(std::string_view bytes) {
    std::string escaped;
    escaped.reserve(bytes.size());
    for (char c : bytes) {
        switch (c) {
            case '\t':
                escaped += "\\t";
                break;
            case '\r':
                escaped += "\\r";
                break;
            case '\n':
                escaped += "\\n";
                break;
            case '\\':
                escaped += "\\\\";
                break;
            default:
                // Other control bytes (0x02 ends a search result) as \xHH.
                if (static_cast<unsigned char>(c) < 0x20 || c == '\x7f') {
                    static constexpr char kHex[] = "0123456789ABCDEF";
                    escaped += "\\x";
                    escaped += kHex[(c >> 4) & 0xF];
                    escaped += kHex[c & 0xF];
                } else {
                    escaped += c;
                }
        }
    }
    return escaped;
}

std::string Printable(std::string_view cp1250) {
    return Cp1250ToUtf8(Escaped(cp1250));
}

int Fail(std::string_view path, std::string_view what) {
    std::cerr << "vrk3tool: " << path << ": " << what << '\n';
    return kExitFailed;
}

int Fail(const TDataFile& file, std::string_view what) {
    const std::string& path = file.LastFailurePath().empty() ? file.path() : file.LastFailurePath();
    return Fail(path,
                std::string(what) + ": " + DescribeFailure(file.LastFailure(), file.LastErrno()));
}

int CheckChangesAllowed(TDataFile& file, bool force) {
    const std::int32_t flags = file.GetFlags();
    if (flags < 0) return Fail(file, "cannot read the dictionary");
    if (!(flags & kFlagChangesAllowed) && !force)
        return Fail(file.path(), "the dictionary does not allow changes (flags " +
                                     std::to_string(flags) + "; use --force)");
    return kExitOk;
}

namespace {

struct TScratchFolder {
    std::string path;
    int ownerFd = -1;  // holds the folder's owner lock while the tool runs
    ~TScratchFolder() {
        if (path.empty()) return;
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
        ::close(ownerFd);
    }
};

TScratchFolder g_scratch;

std::atomic<int> g_stopSignal{0};

extern "C" void OnStopSignal(int signal) {
    // A second signal ends a tool that does not get to a stop in time (one
    // blocked on its input, say); its scratch folder is removed by the next
    // run of any of the programs.
    if (g_stopSignal.exchange(signal, std::memory_order_relaxed) != 0) {
        ::signal(signal, SIG_DFL);
        ::raise(signal);
        return;
    }
    ToolProgress().RequestStop();
}

}  // namespace

void StopOnSignals() {
    // Made here, before any signal can come, so that the handler only sets
    // atomic values.
    (void)ToolProgress();
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    action.sa_flags = SA_RESTART;  // file operations go on; the stop request ends the work
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(signal, &action, nullptr);
}

bool StopSignalled() {
    return g_stopSignal.load(std::memory_order_relaxed) != 0;
}

const std::string& ScratchDir() {
    if (g_scratch.path.empty() &&
        !TMakeOwnedScratchFolder(kToolScratchPrefix, g_scratch.path, g_scratch.ownerFd)) {
        std::cerr << "vrk3tool: " << TScratchParent() << ": cannot create the scratch folder\n";
        std::exit(kExitFailed);
    }
    return g_scratch.path;
}

TProgress& ToolProgress() {
    static TProgress progress;
    return progress;
}

std::unique_ptr<TDataFile> OpenDictionary(const std::string& path) {
    auto file = std::unique_ptr<TDataFile>(
        new TDataFile(TScratchSet::In(ScratchDir(), kManagerScratch).Open(path)));
    file->SetProgress(&ToolProgress());
    return file;
}

}  // namespace vrk::tool
