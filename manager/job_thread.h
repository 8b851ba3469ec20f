// The manager's long dictionary operations (importing an older-format file,
// exporting to one, remapping a letter) run as jobs on a worker
// (vrk::TWorker, ui/worker.h) while the modal progress window shows how far
// they are and offers to cancel them. RunJob does it all: it starts the
// worker, shows the window until the worker has ended, and reports the
// outcome.
//
// Hand-over: the user interface owns each job's TJobHandOver and fills its
// request before RunJob starts the worker; the worker writes the outcome,
// which is read after it has been joined. RunJob returns when the worker
// has ended, so the next job, and every other use of the dictionary and of
// the scratch files, comes after it. While it runs, vrk::WorkerRunning()
// holds and the user interface opens no dictionary.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <string>

#include "store/data_file.h"

class QWidget;
namespace vrk {
class TWorker;
}

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

// One job: the request, filled by the user interface, and the outcome,
// written by the worker and read after RunJob.
struct TJobHandOver {
    std::int32_t nJob = 0;
    std::string strJobDataFile;   // the .vrk3 dictionary the job works on
    std::string strJobOtherFile;  // the import's source or the export's target
    char chJobParam = 0;          // imports: the description separator; exports: the
                                  // separator; remapping: the letter replaced
    char chJobParam2 = 0;         // remapping: the replacement

    // Failed, stopped, or no temporary directory.
    bool bJobFailed = false;
    // What an import or export changed in the texts it carried.
    vrk::TConvertCounts counts;
};

// Runs `job` on a worker: reads the temporary directory, waits for the
// progress window (which shows `text`), opens the dictionary with the stored
// alphabet row and runs the operation. A failure that is no stop shows the
// job's message (warning icon, over the progress window) before the worker
// ends, so the window stays open behind it. Returns true when the job
// succeeded; after a cancel the worker has ended too and the result is the
// job's real outcome. The same record may run again.
[[nodiscard]] bool RunJob(QWidget* parent, TJobHandOver& job, const QString& text);

// For tests: called by the worker once the window is shown, before it opens
// the dictionary. An empty hook removes it.
using TJobStepHook = std::function<void(TJobHandOver& job, vrk::TWorker& worker)>;
void SetJobStepHook(TJobStepHook hook);
