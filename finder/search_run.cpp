#include "finder/search_run.h"

TSearchRun::TSearchRun(TSearchJob job) : m_job(std::move(job)) {}

void TSearchRun::RequestStop() {
    m_progress.RequestStop();
    // Taking the lock orders the request before a waiting worker's next
    // look at it, so the wake-up below cannot be missed.
    std::lock_guard<std::mutex> lock(m_lock);
    m_shownOrStopped.notify_all();
}

void TSearchRun::SetStatus(std::string status) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_strStatus = std::move(status);
}

std::string TSearchRun::Status() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_strStatus;
}

void TSearchRun::SetProgressShown() {
    std::lock_guard<std::mutex> lock(m_lock);
    m_bProgressShown = true;
    m_shownOrStopped.notify_all();
}

bool TSearchRun::WaitForProgressWindow() {
    std::unique_lock<std::mutex> lock(m_lock);
    m_shownOrStopped.wait(lock, [this] { return m_bProgressShown || StopRequested(); });
    return !StopRequested();
}
