// TJobHandOver: one job of the manager's worker, as the user interface
// hands it over. The user interface owns each record and fills its request
// before the worker starts; the worker writes only the progress values and
// bJobFailed, the progress window only the stop request.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>

#include "store/data_file.h"
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
    // What an import or export changed in the texts it carried; written by
    // the worker before it ends, read after RunJob.
    vrk::TConvertCounts counts;

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
