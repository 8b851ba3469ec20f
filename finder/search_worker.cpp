#include "finder/search_worker.h"

#include <QApplication>
#include <array>
#include <span>
#include <vector>

#include "finder/finder_texts.h"
#include "settings/alphabet_rows.h"
#include "settings/scratch_set.h"
#include "settings/temp_dir.h"
#include "store/data_file.h"
#include "ui/cp1250_text.h"
#include "ui/message_box.h"
#include "ui/temp_dir_dlg.h"
#include "ui/worker.h"

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

// A Yes/No error prompt; No without a box once a stop is requested (also
// when the request came while this prompt was on its way).
bool AskToGoOn(vrk::TWorker& worker, const QString& text) {
    if (worker.StopRequested()) return false;
    bool goOn = false;
    worker.OnUiThread([&] {
        if (worker.StopRequested()) return;
        goOn = vrk::ShowMessage(PromptParent(), text, vrk::TMsgIcon::kError,
                                vrk::TMsgButtons::kYesNo) == vrk::TMsgAnswer::kYes;
    });
    return goOn;
}

void ShowLimitMessage(vrk::TWorker& worker, std::int32_t found) {
    worker.OnUiThread([&] {
        if (worker.StopRequested()) return;
        vrk::ShowInformation(PromptParent(), vrk::texts::kTooManyFound.arg(found));
    });
}

// The temporary directory, asked for with its dialog while it is not set.
// False when the user cancels the dialog or stops the search.
bool GetBackupDir(vrk::TWorker& worker, std::string& dir) {
    if (vrk::TReadBackupDir(dir)) return true;
    bool ok = false;
    worker.OnUiThread([&] {
        if (worker.StopRequested()) return;
        ok = vrk::AskBackupDir(PromptParent(), dir);
        // Cancelled: the search ends as if "Prekliči" had been pressed, and
        // the progress window, which has nothing to show, closes with it.
        if (!ok) worker.RequestStop();
    });
    return ok;
}

// The status line of the progress window while `name` (Windows-1250) is
// searched.
QString StatusLine(const std::string& name) {
    return vrk::FromCp1250(vrk::texts::kSearchStatusPrefix + name + '"');
}

}  // namespace

void SearchThreadProc(TSearchRun& run, vrk::TWorker& worker) {
    const TSearchJob& job = run.Job();
    std::string list = job.m_strLibraryDicts;
    const vrk::TAlphabetRow alphabet = vrk::ReadAlphabetForSearch();
    if (!worker.WaitUntilShown()) return;

    std::string dir;
    if (!GetBackupDir(worker, dir)) return;
    const vrk::TScratchSet scratch = vrk::TScratchSet::In(dir, vrk::kFinderScratch);

    TSearchResults& results = run.Results();
    results.m_nFound = 0;
    std::vector<char> text(kSearchBufferSize);
    std::array<std::int32_t, MAX_RESULTS> index{};
    std::array<std::int32_t, MAX_RESULTS> hits{};
    while (!list.empty()) {
        const std::size_t quote = list.find('"');
        const std::string path = list.substr(0, quote);
        list.erase(0, quote == std::string::npos ? list.size() : quote + 1);
        if (path.empty()) continue;

        // Until its own name is read (which may wait for a program that holds
        // the dictionary), the window names it by its file, never by the
        // dictionary before it.
        const std::size_t slash = path.rfind('/');
        worker.SetStatus(StatusLine(
            vrk::ToCp1250(PathText(slash == std::string::npos ? path : path.substr(slash + 1)))));
        vrk::TDataFile file = scratch.Open(path);
        // The worker's stop request also ends a wait for the dictionary's lock.
        file.SetProgress(&worker.Progress());
        std::string name;
        if (!file.GetName(name)) {
            if (AskToGoOn(worker, vrk::texts::kDictReadError.arg(PathText(path)))) continue;
            return;
        }
        worker.SetStatus(StatusLine(name));
        file.SetAlphabet(alphabet.text, alphabet.separator);

        text.back() = '\0';
        const std::int32_t free = MAX_RESULTS - results.m_nFound;
        const auto room = static_cast<std::size_t>(free);
        const std::int32_t n =
            file.Search(job.m_strPattern, job.m_strDescWords, text, std::span(index).first(room),
                        std::span(hits).first(room), free, job.m_syntax);
        if (n < 0) {
            if (AskToGoOn(worker, vrk::texts::kDictSearchError.arg(PathText(path)))) continue;
            return;
        }
        AppendMatches(std::string_view(text.data(), text.size()), index, hits, n, path, name,
                      results);
        if (results.m_nFound >= MAX_RESULTS || text.back() == kBufferFullMark) {
            ShowLimitMessage(worker, results.m_nFound);
            return;
        }
    }
}
