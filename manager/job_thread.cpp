#include "manager/job_thread.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QThread>
#include <algorithm>
#include <memory>

#include "manager/manager_texts.h"
#include "manager/progress_dlg.h"
#include "settings/alphabet_rows.h"
#include "settings/scratch_set.h"
#include "settings/temp_dir.h"
#include "store/data_file.h"
#include "ui/message_box.h"

namespace {

std::mutex g_hookMutex;
TJobStepHook g_stepHook;

void RunStepHook(TJobHandOver& job) {
    TJobStepHook hook;
    {
        std::lock_guard lock(g_hookMutex);
        hook = g_stepHook;
    }
    if (hook) hook(job);
}

// Ends the worker at the program's end; see ShutDownJobWorker.
void EndWorker(std::unique_ptr<QThread>& thread, TJobHandOver*& job,
               std::chrono::milliseconds bound) {
    if (!thread) return;
    if (job) job->RequestStop();
    // A message the worker shows may never be answered (the display is
    // gone, or the user interface is ending under it): it gets its escape
    // answer, also one the worker asks for while we wait.
    const QDeadlineTimer deadline(bound);
    while (!thread->wait(QDeadlineTimer(std::min<qint64>(20, deadline.remainingTime())))) {
        vrk::AnswerPendingMessages();
        if (deadline.hasExpired()) {
            // Destroying a running thread would abort the process: it is
            // left to the end of the process instead.
            (void)thread.release();
            job = nullptr;
            return;
        }
    }
    thread.reset();
    job = nullptr;
}

// The one worker thread of the process. A worker still running when the
// program ends is asked to stop and waited for, within a bound.
struct TJobWorker {
    std::unique_ptr<QThread> thread;
    TJobHandOver* job = nullptr;

    ~TJobWorker() { EndWorker(thread, job, kShutDownBound); }
};

TJobWorker& Worker() {
    static TJobWorker worker;
    return worker;
}

// Returns once the worker has ended. The user-interface thread keeps serving
// the worker meanwhile (a message it shows), holding back user input.
void WaitForWorker() {
    TJobWorker& worker = Worker();
    if (!worker.thread) return;
    if (!worker.thread->isFinished()) {
        QEventLoop loop;
        QObject::connect(worker.thread.get(), &QThread::finished, &loop, &QEventLoop::quit);
        // finished() after this test arrives queued and ends the loop.
        if (!worker.thread->isFinished()) loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    worker.thread->wait();
    worker.thread.reset();
    worker.job = nullptr;
}

// The failure message of a job.
QString FailureMessage(std::int32_t job) {
    switch (job) {
        case kJobImportSecondGen:
        case kJobImportFirstGen:
        case kJobImportCsv:
            return texts::kImportFailed;
        case kJobExportSecondGen:
        case kJobExportCsv:
        case kJobExportFirstGen:
            return texts::kExportFailed;
        default:
            return texts::kRemapFailed;
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

std::int32_t EndJob(TJobHandOver& job, bool failed) {
    if (failed) job.bJobFailed.store(1);
    job.progress.SetPos(-1);
    return failed ? -1 : 0;
}

}  // namespace

void SetJobStepHook(TJobStepHook hook) {
    std::lock_guard lock(g_hookMutex);
    g_stepHook = std::move(hook);
}

std::int32_t JobThreadProc(TJobHandOver& job) {
    job.bJobFailed.store(0);
    std::string dir;
    if (!vrk::TReadBackupDir(dir)) return EndJob(job, true);
    job.progress.SetPos(0);
    const vrk::TScratchSet scratch = vrk::TScratchSet::In(dir, vrk::kManagerScratch);
    // A cancel before the window shows stops the job here: the operation
    // never clears the stop request.
    if (!job.WaitUntilShown()) return EndJob(job, true);
    RunStepHook(job);

    vrk::TDataFile file = scratch.Open(job.strJobDataFile);
    file.SetProgress(&job.progress);
    const vrk::TAlphabetRow row = vrk::ReadAlphabetBothOrDefault();
    file.SetAlphabet(row.text, row.separator);
    if (RunOperation(file, job)) {
        job.counts = file.ConvertCounts();
        return EndJob(job, false);
    }
    // The message comes before the end is reported: the window stays open
    // behind it until the user has read it.
    if (!job.progress.StopRequested())
        vrk::ShowMessage(job.pWindow, FailureMessage(job.nJob), vrk::TMsgIcon::kWarning);
    return EndJob(job, true);
}

bool RunJob(QWidget* parent, TJobHandOver& job, const QString& text) {
    WaitForWorker();
    job.Restart();
    CProgressDlg dialog(job, text, parent);
    job.pWindow = &dialog;
    TJobWorker& worker = Worker();
    worker.job = &job;
    worker.thread.reset(QThread::create([&job] { (void)JobThreadProc(job); }));
    QObject::connect(worker.thread.get(), &QThread::finished, &dialog, &CProgressDlg::Poll);
    worker.thread->start();
    dialog.exec();
    WaitForWorker();
    job.pWindow = nullptr;
    return job.bJobFailed.load() == 0;
}

void ShutDownJobWorker(std::chrono::milliseconds bound) {
    TJobWorker& worker = Worker();
    EndWorker(worker.thread, worker.job, bound);
}

bool JobRunning() {
    const TJobWorker& worker = Worker();
    return worker.thread && !worker.thread->isFinished();
}
