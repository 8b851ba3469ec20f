#include "finder/search_thread.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <array>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "finder/search_hand_over.h"
#include "finder/search_texts.h"
#include "settings/alphabet_rows.h"
#include "settings/temp_dir.h"
#include "store/data_file.h"
#include "store/progress.h"
#include "ui/cp1250_text.h"
#include "ui/message_box.h"
#include "ui/temp_dir_dlg.h"

namespace vrk {
namespace {

// The worker starts its first dictionary this soon after the progress window
// is on screen; a short step keeps a quick search quick.
constexpr auto kShownPollStep = std::chrono::milliseconds(5);

std::mutex g_hookLock;
TSearchStepHook g_stepHook;

void RunStepHook(const std::string& path) {
    TSearchStepHook hook;
    {
        std::lock_guard<std::mutex> lock(g_hookLock);
        hook = g_stepHook;
    }
    if (hook) hook(path);
}

// Runs `action` on the UI thread and waits for it (at once when this is the
// UI thread already, as in tests that call the worker directly).
void OnUiThread(const std::function<void()>& action) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread()) {
        action();
        return;
    }
    QMetaObject::invokeMethod(app, action, Qt::BlockingQueuedConnection);
}

// The window the worker's boxes belong to: the progress window.
QWidget* PromptParent() {
    return QApplication::activeModalWidget();
}

// A Yes/No error prompt; No without a box once a stop is requested (also
// when the request came while this prompt was on its way).
bool AskToGoOn(const QString& text) {
    if (SearchHandOver.progress.StopRequested()) return false;
    bool goOn = false;
    OnUiThread([&] {
        if (SearchHandOver.progress.StopRequested()) return;
        goOn = ShowMessage(PromptParent(), text, TMsgIcon::kError, TMsgButtons::kYesNo) ==
               TMsgAnswer::kYes;
    });
    return goOn;
}

void ShowLimitMessage(std::int32_t found) {
    OnUiThread([&] {
        if (SearchHandOver.progress.StopRequested()) return;
        ShowInformation(PromptParent(), texts::kTooManyFound.arg(found));
    });
}

// The temporary directory, asked for with its dialog while it is not set.
// False when the user cancels the dialog or stops the search.
bool GetBackupDir(std::string& dir) {
    if (TReadBackupDir(dir)) return true;
    bool ok = false;
    OnUiThread([&] {
        if (SearchHandOver.progress.StopRequested()) return;
        ok = AskBackupDir(PromptParent(), dir);
    });
    return ok;
}

// Waits until the progress window is on screen, so that it exists before any
// box of the worker appears. False when the search was stopped meanwhile.
bool WaitForProgressWindow() {
    while (!SearchHandOver.bProgressShown.load()) {
        if (SearchHandOver.progress.StopRequested()) return false;
        std::this_thread::sleep_for(kShownPollStep);
    }
    return true;
}

QString PathText(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

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

// Worker threads are QThreads so that finished() reaches the UI thread.
struct TWorkerState {
    std::unique_ptr<QThread> thread;
    // A worker still running at exit (after a cancel) is stopped and waited
    // for, since a running thread must not be destroyed.
    ~TWorkerState() {
        if (thread && !thread->isFinished()) {
            SearchHandOver.progress.RequestStop();
            thread->wait();
        }
    }
};
TWorkerState& Worker() {
    static TWorkerState state;
    return state;
}

}  // namespace

void SetSearchStepHook(TSearchStepHook hook) {
    std::lock_guard<std::mutex> lock(g_hookLock);
    g_stepHook = std::move(hook);
}

std::int32_t SearchThreadProc(const TSearchJob& job, TSearchResults& results) {
    std::string list = job.dicts;
    const TAlphabetRow alphabet = ReadAlphabetForSearch();
    if (!WaitForProgressWindow()) return -1;

    std::string dir;
    if (!GetBackupDir(dir)) return 0;
    const std::string backup1 = TScratchPath(dir, "srchbkp1.qsr");
    const std::string backup2 = TScratchPath(dir, "srchbkp2.qsr");
    const std::string backup3 = TScratchPath(dir, "srchbkp3.qsr");

    results.m_nFound = 0;
    std::vector<char> text(kSearchBufferSize);
    std::array<std::int32_t, MAX_RESULTS> index{};
    std::array<std::int32_t, MAX_RESULTS> hits{};
    bool limit = false;
    while (!list.empty()) {
        const std::size_t quote = list.find('"');
        const std::string path = list.substr(0, quote);
        list.erase(0, quote == std::string::npos ? list.size() : quote + 1);
        if (path.empty()) continue;
        RunStepHook(path);

        TDataFile file(path, backup1, backup2, backup3);
        file.SetProgress(&SearchHandOver.progress);
        std::string name;
        if (!file.GetName(name)) {
            if (SearchHandOver.progress.StopRequested()) return -1;
            if (AskToGoOn(texts::kDictReadError.arg(PathText(path)))) continue;
            SearchHandOver.bFinished = true;
            return -1;
        }
        SearchHandOver.SetStatus(texts::kSearchStatusPrefix + name + '"');
        file.SetAlphabet(alphabet.text, alphabet.separator);

        text.back() = '\0';
        const std::int32_t free = MAX_RESULTS - results.m_nFound;
        const std::int32_t n = file.Search(
            job.pattern, job.terms, text, std::span(index).first(static_cast<std::size_t>(free)),
            std::span(hits).first(static_cast<std::size_t>(free)), free);
        if (n < 0) {
            if (SearchHandOver.progress.StopRequested()) return -1;
            if (AskToGoOn(texts::kDictSearchError.arg(PathText(path)))) continue;
            SearchHandOver.bFinished = true;
            return -1;
        }
        AppendMatches(std::string_view(text.data(), text.size()), index, hits, n, path, name,
                      results);
        if (results.m_nFound >= MAX_RESULTS || text.back() == kBufferFullMark) {
            limit = true;
            break;
        }
    }
    if (!limit) {
        SearchHandOver.bFinished = true;
        return 0;
    }
    ShowLimitMessage(results.m_nFound);
    SearchHandOver.bFinished = true;
    return results.m_nFound;
}

void TSearchWorker::Start(TSearchJob job, std::shared_ptr<TSearchResults> results) {
    TWorkerState& state = Worker();
    state.thread.reset(QThread::create([job = std::move(job), results = std::move(results)] {
        (void)SearchThreadProc(job, *results);
    }));
    state.thread->start();
}

QThread* TSearchWorker::Thread() {
    return Worker().thread.get();
}

bool TSearchWorker::IsRunning() {
    QThread* thread = Thread();
    return thread && !thread->isFinished();
}

void TSearchWorker::WaitForEnd() {
    TWorkerState& state = Worker();
    if (!state.thread) return;
    if (!state.thread->isFinished()) {
        QEventLoop loop;
        QObject::connect(state.thread.get(), &QThread::finished, &loop, &QEventLoop::quit);
        // finished() may come between a test of isFinished() and the
        // connect; the timer catches that case.
        QTimer check;
        QObject::connect(&check, &QTimer::timeout, &loop, [&] {
            if (state.thread->isFinished()) loop.quit();
        });
        check.start(10);
        if (!state.thread->isFinished()) loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    state.thread->wait();
    state.thread.reset();
}

}  // namespace vrk
