#include "finder/search_worker.h"

#include <QApplication>
#include <QEventLoop>
#include <QThread>
#include <array>
#include <span>
#include <vector>

#include "finder/finder_texts.h"
#include "finder/search_run.h"
#include "settings/alphabet_rows.h"
#include "settings/scratch_set.h"
#include "settings/temp_dir.h"
#include "store/data_file.h"
#include "ui/cp1250_text.h"
#include "ui/message_box.h"
#include "ui/temp_dir_dlg.h"

namespace {

// The window the worker's boxes belong to: the progress window.
QWidget* PromptParent() {
    return QApplication::activeModalWidget();
}

using vrk::PathText;

// Appends the n matches of one dictionary, read from `text`, to `results`.
void AppendMatches(std::string_view text, const std::array<std::int32_t, MAX_RESULTS>& index,
                   const std::array<std::int32_t, MAX_RESULTS>& hits, std::int32_t n,
                   const std::string& path, const std::string& name, TSearchResults& results) {
    std::size_t pos = 0;
    for (std::int32_t i = 0; i < n && results.m_nFound < MAX_RESULTS; ++i) {
        std::size_t end = pos;
        while (end < text.size() && text[end] != '\x02' && text[end] != '\0') ++end;
        const std::int32_t k = results.m_nFound++;
        results.m_nPriority[k] = hits[i];
        results.m_nClueIndex[k] = index[i];
        results.m_strDataFile[k] = path;
        results.m_strDictName[k] = name;
        results.m_strEntry[k].assign(text.substr(pos, end - pos));
        pos = end + 1;
    }
}

}  // namespace

TSearchWorker::TSearchWorker(TSearchRun& run, TSearchStepHook onStep)
    : m_run(run), m_onStep(std::move(onStep)) {
    connect(this, &TSearchWorker::UiRequestPosted, this, &TSearchWorker::runUiRequest,
            Qt::QueuedConnection);
}

TSearchWorker::~TSearchWorker() {
    if (m_thread.joinable() && !m_bEnded.load()) m_run.RequestStop();
    WaitForEnd();
}

void TSearchWorker::Start() {
    if (m_thread.joinable()) return;
    m_thread = std::thread([this] {
        SearchThreadProc();
        m_bEnded.store(true);
        emit Ended();
    });
}

void TSearchWorker::WaitForEnd() {
    if (!m_thread.joinable()) return;
    // Connected before the flag is tested: an end after the test still
    // reaches the loop, and an end before it has set the flag already.
    QEventLoop loop;
    connect(this, &TSearchWorker::Ended, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    if (!m_bEnded.load()) loop.exec(QEventLoop::ExcludeUserInputEvents);
    m_thread.join();
}

void TSearchWorker::OnUiThread(const std::function<void()>& action) {
    if (QThread::currentThread() == thread()) {
        action();
        return;
    }
    std::unique_lock<std::mutex> lock(m_requestLock);
    m_pRequest = &action;
    m_bRequestDone = false;
    lock.unlock();
    emit UiRequestPosted();
    lock.lock();
    m_requestDone.wait(lock, [this] { return m_bRequestDone; });
}

void TSearchWorker::runUiRequest() {
    const std::function<void()>* request = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_requestLock);
        request = m_pRequest;
    }
    if (request == nullptr) return;
    (*request)();
    // Notified under the lock: the waiting worker may leave (and its
    // request go) as soon as the lock is free again.
    std::lock_guard<std::mutex> lock(m_requestLock);
    m_pRequest = nullptr;
    m_bRequestDone = true;
    m_requestDone.notify_one();
}

// A Yes/No error prompt; No without a box once a stop is requested (also
// when the request came while this prompt was on its way).
bool TSearchWorker::AskToGoOn(const QString& text) {
    if (m_run.StopRequested()) return false;
    bool goOn = false;
    OnUiThread([&] {
        if (m_run.StopRequested()) return;
        goOn = vrk::ShowMessage(PromptParent(), text, vrk::TMsgIcon::kError,
                                vrk::TMsgButtons::kYesNo) == vrk::TMsgAnswer::kYes;
    });
    return goOn;
}

void TSearchWorker::ShowLimitMessage(std::int32_t found) {
    OnUiThread([&] {
        if (m_run.StopRequested()) return;
        vrk::ShowInformation(PromptParent(), vrk::texts::kTooManyFound.arg(found));
    });
}

// The temporary directory, asked for with its dialog while it is not set.
// False when the user cancels the dialog or stops the search.
bool TSearchWorker::GetBackupDir(std::string& dir) {
    if (vrk::TReadBackupDir(dir)) return true;
    bool ok = false;
    OnUiThread([&] {
        if (m_run.StopRequested()) return;
        ok = vrk::AskBackupDir(PromptParent(), dir);
        // Cancelled: the search ends as if "Prekliči" had been pressed, and
        // the progress window, which has nothing to show, closes with it.
        if (!ok) m_run.RequestStop();
    });
    return ok;
}

void TSearchWorker::SearchThreadProc() {
    std::string list = m_run.Job().m_strLibraryDicts;
    const vrk::TAlphabetRow alphabet = vrk::ReadAlphabetForSearch();
    if (!m_run.WaitForProgressWindow()) return;

    std::string dir;
    if (!GetBackupDir(dir)) return;
    const vrk::TScratchSet scratch = vrk::TScratchSet::In(dir, vrk::kFinderScratch);

    TSearchResults& results = m_run.Results();
    results.m_nFound = 0;
    std::vector<char> text(kSearchBufferSize);
    std::array<std::int32_t, MAX_RESULTS> index{};
    std::array<std::int32_t, MAX_RESULTS> hits{};
    while (!list.empty()) {
        const std::size_t quote = list.find('"');
        const std::string path = list.substr(0, quote);
        list.erase(0, quote == std::string::npos ? list.size() : quote + 1);
        if (path.empty()) continue;
        if (m_onStep) m_onStep(path);

        // Until its own name is read (which may wait for a program that holds
        // the dictionary), the window names it by its file, never by the
        // dictionary before it.
        const std::size_t slash = path.rfind('/');
        m_run.SetStatus(
            vrk::texts::kSearchStatusPrefix +
            vrk::ToCp1250(PathText(slash == std::string::npos ? path : path.substr(slash + 1))) +
            '"');
        vrk::TDataFile file = scratch.Open(path);
        // The run's stop request also ends a wait for the dictionary's lock.
        file.SetProgress(&m_run.Progress());
        std::string name;
        if (!file.GetName(name)) {
            if (m_run.StopRequested()) return;
            if (AskToGoOn(vrk::texts::kDictReadError.arg(PathText(path)))) continue;
            m_run.SetFinished();
            return;
        }
        m_run.SetStatus(vrk::texts::kSearchStatusPrefix + name + '"');
        file.SetAlphabet(alphabet.text, alphabet.separator);

        text.back() = '\0';
        const std::int32_t free = MAX_RESULTS - results.m_nFound;
        const auto room = static_cast<std::size_t>(free);
        const std::int32_t n = file.Search(m_run.Job().m_strPattern, m_run.Job().m_strDescWords,
                                           text, std::span(index).first(room),
                                           std::span(hits).first(room), free, m_run.Job().m_syntax);
        if (n < 0) {
            if (m_run.StopRequested()) return;
            if (AskToGoOn(vrk::texts::kDictSearchError.arg(PathText(path)))) continue;
            m_run.SetFinished();
            return;
        }
        AppendMatches(std::string_view(text.data(), text.size()), index, hits, n, path, name,
                      results);
        if (results.m_nFound >= MAX_RESULTS || text.back() == kBufferFullMark) {
            ShowLimitMessage(results.m_nFound);
            break;
        }
    }
    m_run.SetFinished();
}
