// The work of one search, run on a vrk::TWorker (ui/worker.h):
// SearchThreadProc searches every dictionary of the run's job into the run's
// result set, while the progress window shows the worker's status line.
//
// The work shows nothing itself: its prompts, its limit message and the
// temporary-directory dialog are shown by the UI thread on its behalf while
// it waits for the answer. Once a stop is requested, those are skipped (the
// prompts count as No), so a cancelled search ends without a word.
#pragma once

#include <cstddef>
#include <string>

#include "finder/search_results.h"
#include "store/pattern.h"

namespace vrk {
class TWorker;
}

// The bytes of result text each dictionary may give, and the buffer-full mark.
inline constexpr std::size_t kSearchBufferSize = 50000;
inline constexpr char kBufferFullMark = 'X';

// What one search asks for; fixed when the run is created.
struct TSearchJob {
    // The known letters (Windows-1250) followed by the letter-count and the
    // case option, each '1' (on) or '0' (off).
    std::string m_strPattern;
    // How the known letters are read: extended patterns, anagram.
    vrk::TPatternSyntax m_syntax;
    // The description words (Windows-1250).
    std::string m_strDescWords;
    // The dictionary paths of the active library, each followed by '"'.
    std::string m_strLibraryDicts;
};

// One search: what it asks for and the result set its work fills, which
// the UI thread reads only after the worker has ended.
class TSearchRun {
  public:
    explicit TSearchRun(TSearchJob job) : m_job(std::move(job)) {}
    TSearchRun(const TSearchRun&) = delete;
    TSearchRun& operator=(const TSearchRun&) = delete;

    const TSearchJob& Job() const { return m_job; }
    TSearchResults& Results() { return m_results; }

  private:
    const TSearchJob m_job;
    TSearchResults m_results;
};

// Worker: waits for the progress window, takes the temporary directory, then
// searches each dictionary of the job with the remaining capacity. Ends
// without a stop request when it went through the list, reached the limit
// (after its message) or the user declined to go on after an error; a
// cancelled temporary-directory dialog requests the stop itself.
void SearchThreadProc(TSearchRun& run, vrk::TWorker& worker);
