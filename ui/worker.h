// TWorker: one worker thread of a program, with what it shares with the UI
// thread while it runs: the progress and the stop request of the dictionary
// operations it makes (TProgress), a status line, the moment its progress
// window is on screen, and calls it has the UI thread run for it (a box, a
// dialog) while it waits. The finder's search and the manager's jobs run on
// one each, shown by a CProgressWindow (ui/progress_window.h).
//
// Threads: the object lives in the UI thread, which starts, joins and
// destroys it; only the work and the calls marked "worker" run on the
// worker thread. Everything the two threads hand each other goes through
// this object's lock or the atomic progress values; Qt's queued signals
// only wake the UI thread and carry nothing, so that ThreadSanitizer can
// follow every hand-over. A worker that shows a message box calls ShowMessage
// (ui/message_box.h) directly; ShutDownWorkers answers such a box.
#pragma once

#include <QObject>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "store/progress.h"

namespace vrk {

class TWorker : public QObject {
    Q_OBJECT
  public:
    TWorker();
    // Asks a worker that still runs to stop, and joins it.
    ~TWorker() override;
    TWorker(const TWorker&) = delete;
    TWorker& operator=(const TWorker&) = delete;

    // UI thread: runs `work` on a new thread; once only.
    void Start(std::function<void()> work);
    // UI thread: returns when the work has returned; at once when it never
    // started. Meanwhile the UI thread keeps serving the worker (its calls
    // and boxes; user input is held back), so the worker cannot deadlock.
    void Join();
    // UI thread: asks the worker to stop and waits at most `bound` for it,
    // giving every message box a worker waits for its escape answer. A
    // worker that has not ended by then is left to the end of the process
    // (false).
    bool JoinWithin(std::chrono::milliseconds bound);
    // Started, and the work has not returned yet.
    [[nodiscard]] bool Running() const;
    // The work has returned.
    [[nodiscard]] bool HasEnded() const;

    // Handed to every dictionary object the work makes.
    TProgress& Progress();
    const TProgress& Progress() const;
    // Any thread: the work stops at its next test, also while it waits for
    // the progress window.
    void RequestStop();
    [[nodiscard]] bool StopRequested() const;

    // Any thread: the line the progress window shows, when it shows one.
    void SetStatus(QString status);
    QString Status() const;

    // Progress window: it is on screen now.
    void MarkShown();
    // Worker: returns once the progress window is on screen (true), or when
    // a stop was requested before that (false), so that a box the worker
    // shows appears over the window.
    [[nodiscard]] bool WaitUntilShown();

    // Worker: runs `action` on the UI thread and waits for it (at once when
    // called on the UI thread).
    void OnUiThread(const std::function<void()>& action);

  signals:
    // Emitted by the worker thread as its last step; receivers in the UI
    // thread get it queued.
    void Ended();
    // Internal: the worker has left a call for the UI thread.
    void UiRequestPosted();

  private:
    struct TShared;
    void RunUiRequest();

    // Shared with the thread, which keeps it should the worker be left.
    std::shared_ptr<TShared> m_pShared;
    std::thread m_thread;
};

// How long the program's end waits for its workers.
inline constexpr std::chrono::milliseconds kShutDownBound{3000};

// At the program's end, also when it has lost its display with a worker's
// box open: JoinWithin(bound) for every worker that was started and not
// joined yet.
void ShutDownWorkers(std::chrono::milliseconds bound = kShutDownBound);

// True while some worker's work runs. The manager opens no dictionary then.
[[nodiscard]] bool WorkerRunning();

}  // namespace vrk
