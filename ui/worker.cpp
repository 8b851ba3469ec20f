#include "ui/worker.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "ui/message_box.h"

namespace vrk {

struct TWorker::TShared {
    const std::thread::id uiThread = std::this_thread::get_id();
    TProgress progress;

    mutable std::mutex lock;       // guards everything below
    std::condition_variable wake;  // shown, stopped, a request done, ended
    TWorker* pOwner = nullptr;     // null once the object has gone
    bool bShown = false;
    bool bEnded = false;
    QString strStatus;
    const std::function<void()>* pRequest = nullptr;  // the worker's, while it waits
    bool bRequestDone = false;
};

namespace {

// The workers started and not yet joined; used by the UI thread only.
std::vector<TWorker*>& Started() {
    static std::vector<TWorker*> workers;
    return workers;
}

void Forget(TWorker* worker) {
    std::erase(Started(), worker);
}

}  // namespace

TWorker::TWorker() : m_pShared(std::make_shared<TShared>()) {
    m_pShared->pOwner = this;
    connect(this, &TWorker::UiRequestPosted, this, &TWorker::RunUiRequest, Qt::QueuedConnection);
}

TWorker::~TWorker() {
    if (Running()) RequestStop();
    Join();
    std::lock_guard lock(m_pShared->lock);
    m_pShared->pOwner = nullptr;
}

void TWorker::Start(std::function<void()> work) {
    if (m_thread.joinable()) return;
    Started().push_back(this);
    m_thread = std::thread([shared = m_pShared, work = std::move(work)] {
        work();
        std::lock_guard lock(shared->lock);
        shared->bEnded = true;
        shared->wake.notify_all();
        // Emitted under the lock: the object cannot go meanwhile, and a
        // signal still queued when it goes is dropped with it.
        if (TWorker* owner = shared->pOwner) emit owner->Ended();
    });
}

void TWorker::Join() {
    if (!m_thread.joinable()) return;
    if (!HasEnded()) {
        // Connected before the flag is tested: an end after the test still
        // reaches the loop, and an end before it has set the flag already.
        QEventLoop loop;
        connect(this, &TWorker::Ended, &loop, &QEventLoop::quit, Qt::QueuedConnection);
        if (!HasEnded()) loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    // Served meanwhile: JoinWithin may have joined the thread already.
    if (m_thread.joinable()) m_thread.join();
    Forget(this);
}

bool TWorker::JoinWithin(std::chrono::milliseconds bound) {
    if (!m_thread.joinable()) return true;
    RequestStop();
    const QDeadlineTimer deadline(bound);
    std::unique_lock lock(m_pShared->lock);
    while (!m_pShared->bEnded) {
        // A box the worker shows may never be answered (the display is
        // gone, or the user interface is ending under it): it gets its
        // escape answer, also one the worker asks for while we wait.
        lock.unlock();
        AnswerPendingMessages();
        lock.lock();
        if (m_pShared->bEnded) break;
        if (deadline.hasExpired()) {
            lock.unlock();
            m_thread.detach();
            Forget(this);
            return false;
        }
        m_pShared->wake.wait_for(
            lock, std::chrono::milliseconds(std::min<qint64>(20, deadline.remainingTime())));
    }
    lock.unlock();
    m_thread.join();
    Forget(this);
    return true;
}

bool TWorker::Running() const {
    return m_thread.joinable() && !HasEnded();
}

bool TWorker::HasEnded() const {
    std::lock_guard lock(m_pShared->lock);
    return m_pShared->bEnded;
}

TProgress& TWorker::Progress() {
    return m_pShared->progress;
}

const TProgress& TWorker::Progress() const {
    return m_pShared->progress;
}

void TWorker::RequestStop() {
    m_pShared->progress.RequestStop();
    // Taking the lock orders the request before a waiting worker's next
    // look at it, so the wake-up below cannot be missed.
    std::lock_guard lock(m_pShared->lock);
    m_pShared->wake.notify_all();
}

bool TWorker::StopRequested() const {
    return m_pShared->progress.StopRequested();
}

void TWorker::SetStatus(QString status) {
    std::lock_guard lock(m_pShared->lock);
    m_pShared->strStatus = std::move(status);
}

QString TWorker::Status() const {
    std::lock_guard lock(m_pShared->lock);
    return m_pShared->strStatus;
}

void TWorker::MarkShown() {
    std::lock_guard lock(m_pShared->lock);
    m_pShared->bShown = true;
    m_pShared->wake.notify_all();
}

bool TWorker::WaitUntilShown() {
    std::unique_lock lock(m_pShared->lock);
    m_pShared->wake.wait(lock, [this] { return m_pShared->bShown || StopRequested(); });
    return !StopRequested();
}

void TWorker::OnUiThread(const std::function<void()>& action) {
    TShared& shared = *m_pShared;
    if (std::this_thread::get_id() == shared.uiThread) {
        action();
        return;
    }
    std::unique_lock lock(shared.lock);
    if (!shared.pOwner) return;
    shared.pRequest = &action;
    shared.bRequestDone = false;
    emit UiRequestPosted();
    shared.wake.wait(lock, [&shared] { return shared.bRequestDone; });
    shared.pRequest = nullptr;
}

void TWorker::RunUiRequest() {
    const std::function<void()>* request = nullptr;
    {
        std::lock_guard lock(m_pShared->lock);
        request = m_pShared->pRequest;
    }
    if (request == nullptr) return;
    (*request)();
    // Notified under the lock: the waiting worker may leave (and its
    // request go) as soon as the lock is free again.
    std::lock_guard lock(m_pShared->lock);
    m_pShared->bRequestDone = true;
    m_pShared->wake.notify_all();
}

void ShutDownWorkers(std::chrono::milliseconds bound) {
    const QDeadlineTimer deadline(bound);
    // A copy: each join takes its worker off the list.
    const std::vector<TWorker*> workers = Started();
    for (TWorker* worker : workers)
        (void)worker->JoinWithin(
            std::chrono::milliseconds(std::max<qint64>(0, deadline.remainingTime())));
}

bool WorkerRunning() {
    return std::ranges::any_of(Started(), [](const TWorker* worker) { return worker->Running(); });
}

}  // namespace vrk
