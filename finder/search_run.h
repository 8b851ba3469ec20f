// TSearchRun: one search while it runs. The search document creates and
// owns it; the worker that carries the search out and the progress window
// that shows it share it until the worker has ended. It holds what is
// searched for (TSearchJob), the progress and stop request handed to every
// dictionary searched, the status line, the two hand-overs between the
// threads (the progress window is on screen; the worker has finished) and
// the result set the worker fills.
//
// Thread-safety: every member may be used from either thread, as each says.
// The result set is written by the worker only and read by the UI thread
// only after the worker has ended (TSearchWorker::WaitForEnd).
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>

#include "finder/search_results.h"
#include "store/pattern.h"
#include "store/progress.h"

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

class TSearchRun {
  public:
    explicit TSearchRun(TSearchJob job);
    TSearchRun(const TSearchRun&) = delete;
    TSearchRun& operator=(const TSearchRun&) = delete;

    const TSearchJob& Job() const { return m_job; }

    // The progress of the dictionary being searched and the user's stop
    // request; handed to every dictionary object the worker makes.
    vrk::TProgress& Progress() { return m_progress; }
    const vrk::TProgress& Progress() const { return m_progress; }
    // UI thread: the user cancelled. The worker stops at its next test, also
    // while it waits for the progress window.
    void RequestStop();
    [[nodiscard]] bool StopRequested() const { return m_progress.StopRequested(); }

    // The status line ("Iskanje v slovarju "name"", Windows-1250): set by
    // the worker, shown by the progress window.
    void SetStatus(std::string status);
    std::string Status() const;

    // Progress window: it is on screen now.
    void SetProgressShown();
    // Worker: returns once the progress window is on screen (true), or when
    // a stop was requested before that (false).
    [[nodiscard]] bool WaitForProgressWindow();

    // Worker: the search has finished (went through every dictionary, reached
    // the limit, or the user declined to go on after an error). The progress
    // window then closes with OK. Not set when the run was stopped or the
    // temporary-directory dialog was cancelled.
    void SetFinished() { m_bFinished.store(true); }
    [[nodiscard]] bool Finished() const { return m_bFinished.load(); }

    // The worker's result set; see the thread-safety note above.
    TSearchResults& Results() { return m_results; }

  private:
    const TSearchJob m_job;
    vrk::TProgress m_progress;
    std::atomic<bool> m_bFinished{false};

    mutable std::mutex m_lock;  // guards the status line and the shown flag
    std::condition_variable m_shownOrStopped;
    std::string m_strStatus;
    bool m_bProgressShown = false;

    TSearchResults m_results;
};
