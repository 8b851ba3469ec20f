#include "manager/job_thread.h"

#include <mutex>

#include "manager/manager_texts.h"
#include "settings/alphabet_rows.h"
#include "settings/scratch_set.h"
#include "settings/temp_dir.h"
#include "ui/message_box.h"
#include "ui/progress_window.h"
#include "ui/worker.h"

namespace {

std::mutex g_hookMutex;
TJobStepHook g_stepHook;

void RunStepHook(TJobHandOver& job, vrk::TWorker& worker) {
    TJobStepHook hook;
    {
        std::lock_guard lock(g_hookMutex);
        hook = g_stepHook;
    }
    if (hook) hook(job, worker);
}

// The failure message of a job.
QString FailureMessage(std::int32_t job) {
    switch (job) {
        case kJobImportSecondGen:
        case kJobImportFirstGen:
        case kJobImportCsv:
            return vrk::texts::kImportFailed;
        case kJobExportSecondGen:
        case kJobExportCsv:
        case kJobExportFirstGen:
            return vrk::texts::kExportFailed;
        default:
            return vrk::texts::kRemapFailed;
    }
}

bool RunOperation(vrk::TDataFile& file, const TJobHandOver& job) {
    switch (job.nJob) {
        case kJobImportSecondGen:
            return file.ImportSecondGen(job.strJobOtherFile, job.chJobParam, true);
        case kJobImportFirstGen:
            return file.ImportFirstGen(job.strJobOtherFile, job.chJobParam);
        case kJobImportCsv:
            return file.ImportCsv(job.strJobOtherFile);
        case kJobExportSecondGen:
            return file.ExportSecondGen(job.strJobOtherFile, job.chJobParam);
        case kJobExportCsv:
            return file.ExportCsv(job.strJobOtherFile, job.chJobParam);
        case kJobExportFirstGen:
            return file.ExportFirstGen(job.strJobOtherFile, job.chJobParam);
        case kJobRemapLetter:
            return file.RemapLetter(job.chJobParam, job.chJobParam2);
        default:
            return false;
    }
}

// The worker's part of a job; true when it succeeded. `window` is the
// progress window, the owner of the failure message.
bool JobThreadProc(TJobHandOver& job, vrk::TWorker& worker, QWidget* window) {
    std::string dir;
    if (!vrk::TReadBackupDir(dir)) return false;
    const vrk::TScratchSet scratch = vrk::TScratchSet::In(dir, vrk::kManagerScratch);
    // A cancel before the window shows stops the job here: the operation
    // never clears the stop request.
    if (!worker.WaitUntilShown()) return false;
    RunStepHook(job, worker);

    vrk::TDataFile file = scratch.Open(job.strJobDataFile);
    file.SetProgress(&worker.Progress());
    const vrk::TAlphabetRow row = vrk::ReadAlphabetBothOrDefault();
    file.SetAlphabet(row.text, row.separator);
    if (RunOperation(file, job)) {
        job.counts = file.ConvertCounts();
        return true;
    }
    // The message comes before the worker ends: the window stays open
    // behind it until the user has read it.
    if (!worker.StopRequested())
        vrk::ShowMessage(window, FailureMessage(job.nJob), vrk::TMsgIcon::kWarning);
    return false;
}

}  // namespace

void SetJobStepHook(TJobStepHook hook) {
    std::lock_guard lock(g_hookMutex);
    g_stepHook = std::move(hook);
}

bool RunJob(QWidget* parent, TJobHandOver& job, const QString& text) {
    job.bJobFailed = false;
    job.counts = vrk::TConvertCounts{};
    vrk::TWorker worker;
    // "Prekliči" leaves the window until the worker has ended.
    vrk::CProgressWindow window(worker, text, vrk::BarOverTotalPlusOne,
                                vrk::TCancelPolicy::kWaitForEnd, parent);
    QWidget* owner = &window;
    worker.Start([&job, &worker, owner] { job.bJobFailed = !JobThreadProc(job, worker, owner); });
    (void)window.exec();
    worker.Join();
    return !job.bJobFailed;
}
