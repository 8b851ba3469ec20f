// TSearchWorker: the worker of one search run. It runs SearchThreadProc on
// a thread of its own, which searches every dictionary of the run's job into
// the run's result set.
//
// The worker shows nothing itself: its prompts, its limit message and the
// temporary-directory dialog are shown by the UI thread on its behalf while
// it waits for the answer. Once a stop is requested, those are skipped (the
// prompts count as No), so a cancelled worker ends without a word.
//
// Threads: the object lives in the UI thread, which creates, starts, waits
// for and destroys it; only SearchThreadProc and what it calls run on the
// worker thread. Everything the two threads hand each other goes through
// the run or through this object's own lock, never through data carried by
// Qt's queued calls, so that the thread checker can follow every hand-over.
#pragma once

#include <QObject>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

class QString;
class TSearchRun;

// The bytes of result text each dictionary may give, and the buffer-full mark.
inline constexpr std::size_t kSearchBufferSize = 50000;
inline constexpr char kBufferFullMark = 'X';

// For tests: called by the worker before it opens each dictionary, with the
// dictionary's path.
using TSearchStepHook = std::function<void(const std::string& path)>;

class TSearchWorker : public QObject {
    Q_OBJECT
  public:
    // `run` must outlive the worker.
    explicit TSearchWorker(TSearchRun& run, TSearchStepHook onStep = {});
    // Asks a worker that still runs to stop, and waits for it (WaitForEnd).
    ~TSearchWorker() override;

    // Starts SearchThreadProc on a new thread; once only.
    void Start();
    // Returns when the worker has ended; at once when it was never started.
    // Meanwhile the UI thread keeps answering the worker (user input is held
    // back), so a worker that wants a prompt cannot deadlock it. The run's
    // results may be read afterwards.
    void WaitForEnd();

  signals:
    // Emitted by the worker thread as its last step; reaches the UI thread
    // as a queued signal, so the progress window closes at once.
    void Ended();
    // Internal: the worker thread has left a request for the UI thread.
    void UiRequestPosted();

  private:
    // The worker thread's work: waits for the progress window, takes the
    // temporary directory, then searches each dictionary of the job with the
    // remaining capacity. Sets the run's finished flag when it went through
    // the list, reached the limit (after its message) or the user declined
    // to go on after an error.
    void SearchThreadProc();

    // Worker thread: runs `action` on the UI thread and waits for it (at
    // once when called on the UI thread).
    void OnUiThread(const std::function<void()>& action);
    // UI thread: runs the request the worker left, and hands back the end.
    void runUiRequest();

    // The worker's boxes, each skipped once a stop is requested.
    bool AskToGoOn(const QString& text);
    void ShowLimitMessage(std::int32_t found);
    bool GetBackupDir(std::string& dir);

    TSearchRun& m_run;
    TSearchStepHook m_onStep;
    std::thread m_thread;
    std::atomic<bool> m_bEnded{false};

    std::mutex m_requestLock;  // guards the two members below
    std::condition_variable m_requestDone;
    const std::function<void()>* m_pRequest = nullptr;  // the worker's, while it waits
    bool m_bRequestDone = false;
};
