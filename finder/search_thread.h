// The search worker: SearchThreadProc searches every dictionary of the
// active library into a result set of its own, and TSearchWorker runs it on
// the one worker thread of the finder.
//
// The worker shows nothing itself: its prompts, its limit message and the
// temporary-directory dialog are shown by the UI thread on its behalf while
// it waits for the answer. Once a stop is requested, those are skipped (the
// prompts count as No), so a cancelled worker ends without a word.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "finder/vrk3mpg_doc.h"

class QThread;

namespace vrk {

// What one search asks for, copied from SearchHandOver when it starts.
struct TSearchJob {
    std::string pattern;  // known letters + the two option characters
    std::string terms;    // description words
    std::string dicts;    // dictionary paths, each followed by '"'
};

// The bytes of result text each dictionary may give, and the buffer-full mark.
inline constexpr std::size_t kSearchBufferSize = 50000;
inline constexpr char kBufferFullMark = 'X';

// Runs the search of `job` into `results`: waits for the progress window,
// takes the temporary directory, then searches each dictionary with the
// remaining capacity. Sets SearchHandOver.bFinished when it went through the
// list, reached the limit (after its message) or the user declined to go on
// after an error. Returns the number of results at the limit, 0 when the
// list was exhausted or the temporary-directory dialog was cancelled, -1
// after an error or a stop.
std::int32_t SearchThreadProc(const TSearchJob& job, TSearchResults& results);

// The finder's single worker thread.
class TSearchWorker {
  public:
    // Starts SearchThreadProc on a new thread. The caller has made sure that
    // no worker runs (WaitForEnd).
    static void Start(TSearchJob job, std::shared_ptr<TSearchResults> results);
    // The running worker's thread, or null; its finished() tells the progress
    // window at once that the worker ended.
    static QThread* Thread();
    [[nodiscard]] static bool IsRunning();
    // Returns when no worker runs. While waiting, the UI thread keeps
    // answering the worker (user input is held back), so a worker that wants
    // a prompt cannot deadlock it.
    static void WaitForEnd();
};

// For tests: called by the worker before it opens each dictionary, with the
// dictionary's path. An empty hook removes it.
using TSearchStepHook = std::function<void(const std::string& path)>;
void SetSearchStepHook(TSearchStepHook hook);

}  // namespace vrk
