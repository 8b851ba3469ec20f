#include "manager/job_hand_over.h"

void TJobHandOver::Restart() {
    progress.Reset();
    bJobFailed.store(0);
    counts = vrk::TConvertCounts{};
    std::lock_guard lock(m_mutex);
    m_bShown = false;
}

void TJobHandOver::MarkShown() {
    {
        std::lock_guard lock(m_mutex);
        m_bShown = true;
    }
    m_wake.notify_all();
}

void TJobHandOver::RequestStop() {
    {
        std::lock_guard lock(m_mutex);
        progress.RequestStop();
    }
    m_wake.notify_all();
}

bool TJobHandOver::WaitUntilShown() {
    std::unique_lock lock(m_mutex);
    m_wake.wait(lock, [this] { return m_bShown || progress.StopRequested(); });
    return !progress.StopRequested();
}
