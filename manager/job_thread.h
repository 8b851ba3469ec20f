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
#include <chrono>
#include <cstdint>
#include <functional>

#include "manager/job_hand_over.h"

class QWidget;

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

// How long the program's end waits for a worker.
inline constexpr std::chrono::milliseconds kShutDownBound{3000};

// At the program's end, also when it has lost its display with a job's
// failure message open: answers a message the worker waits for with its
// escape button, asks the job to stop and waits at most `bound` for the
// worker. A worker that has not ended by then is left to the end of the
// process.
void ShutDownJobWorker(std::chrono::milliseconds bound = kShutDownBound);

// True while a worker runs. The user interface opens no dictionary then.
[[nodiscard]] bool JobRunning();

// For tests: called by the worker once the window is shown, before it opens
// the dictionary. An empty hook removes it.
using TJobStepHook = std::function<void(TJobHandOver& job)>;
void SetJobStepHook(TJobStepHook hook);
