// The manager's long dictionary operations (importing an older-format file,
// exporting to one, remapping a letter) run as jobs on one worker thread
// while the modal progress window (CProgressDlg) shows how far they are and
// offers to cancel them. RunJob does it all: it starts the worker, shows the
// window until the worker has ended, and reports the outcome.
//
// Hand-over: the user interface owns each job's TJobHandOver and fills its
// request before RunJob starts the worker; the worker writes only the
// progress values and bJobFailed, the progress window only the stop request.
// RunJob returns when the worker has ended (joined), so the next job, and
// every other use of the dictionary and of the scratch files, comes after
// it. At most one job runs at a time.
#pragma once

#include <QString>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "store/progress.h"

class QWidget;

// The job codes (nJob).
enum TJobCode : std::int32_t {
    kJobImportSecondGen = 2,  // ImportSecondGen of the other file, taking its header data
    kJobImportFirstGen = 3,
    kJobImportCsv = 4,
    kJobExportSecondGen = 5,
    kJobExportCsv = 6,
    kJobExportFirstGen = 7,
    kJobRemapLetter = 8,  // chJobParam replaced by chJobParam2
};

struct TJobHandOver {
    // The request.
    std::int32_t nJob = 0;
    std::string strJobDataFile;   // the .vrk3 dictionary the job works on
    std::string strJobOtherFile;  // the import's source or the export's target
    char chJobParam = 0;          // imports: the description separator; exports: the
                                  // separator; remapping: the letter replaced
    char chJobParam2 = 0;         // remapping: the replacement

    // The outcome and the progress. nProgressPos is -1 once the job has
    // ended; bStopRequested asks the running operation to stop.
    std::atomic<std::int32_t> bJobFailed{0};
    vrk::TProgress progress;

    // The window the job's failure message belongs to (the progress window);
    // only the user-interface thread uses it.
    QWidget* pWindow = nullptr;

    // Back to a job that has not started: nothing done, no stop request, not
    // failed, no window shown. RunJob calls it before it starts the worker,
    // so a job never sees the end mark of the one before.
    void Restart();
    // The progress window is on screen.
    void MarkShown();
    // Asks the job to stop, also while the worker still waits for the window.
    void RequestStop();
    // The worker waits here for the window, so that a message it shows
    // appears over it; false when a stop was requested first.
    [[nodiscard]] bool WaitUntilShown();
    [[nodiscard]] bool Ended() const { return progress.Pos() < 0; }

  private:
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_bShown = false;
};

// Runs `job` on the calling thread: reads the temporary directory, waits for
// the progress window, opens the dictionary with the stored alphabet row and
// runs the operation. A failure that is no stop shows the job's message
// (warning icon) before the end is reported, so the progress window stays
// open behind it. Sets bJobFailed on failure, a stop or a missing temporary
// directory, and nProgressPos to -1 at the end. Returns 0 or -1.
std::int32_t JobThreadProc(TJobHandOver& job);

// Starts the worker on `job`, shows the progress window with `text` until
// the worker has ended, and returns true when the job succeeded. After a
// cancel the worker has ended too and the result is the job's real outcome.
[[nodiscard]] bool RunJob(QWidget* parent, TJobHandOver& job, const QString& text);

// True while a worker runs. The user interface opens no dictionary then.
[[nodiscard]] bool JobRunning();

// For tests: called by the worker once the window is shown, before it opens
// the dictionary. An empty hook removes it.
using TJobStepHook = std::function<void(TJobHandOver& job)>;
void SetJobStepHook(TJobStepHook hook);
