#include "finder/vrk3mpg_doc.h"

#include <QThread>

#include "finder/search_hand_over.h"
#include "finder/search_progress_dlg.h"
#include "finder/search_texts.h"
#include "finder/search_thread.h"
#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"
#include "store/progress.h"
#include "ui/cp1250_text.h"
#include "ui/message_box.h"

namespace {

// '1' when the option value is a non-zero number; missing or unreadable is off.
char OptionCharacter(std::string_view name) {
    std::int32_t value = 0;
    return vrk::TGetRegistryNumber(vrk::kFinderPath, name, value) && value != 0 ? '1' : '0';
}

}  // namespace

QString SearchTitle(const QString& clue, int found) {
    // Slovene takes its form from the last two digits: 1, 101 "zadetek";
    // 2, 102 "zadetka"; 3-4, 103-104 "zadetki"; the rest "zadetkov".
    const int tail = found % 100;
    const QString& format = tail == 1                ? vrk::texts::kTitleOne
                            : tail == 2              ? vrk::texts::kTitleTwo
                            : tail == 3 || tail == 4 ? vrk::texts::kTitleFew
                                                     : vrk::texts::kTitleMany;
    return format.arg(clue).arg(found);
}

CVrk3mpgDoc::CVrk3mpgDoc() : m_pResults(std::make_shared<TSearchResults>()) {}

CVrk3mpgDoc::~CVrk3mpgDoc() {
    if (SearchHandOver.pResultDoc == this) SearchHandOver.pResultDoc = nullptr;
}

bool CVrk3mpgDoc::OnNewDocument(TSearchSource& source, QWidget* parent) {
    using namespace vrk;
    m_strClue = source.ClueText();
    m_strDesc = source.DescText();
    if (m_strClue.isEmpty() && m_strDesc.isEmpty()) return false;
    if (!m_strClue.isEmpty()) source.AddClueHistory(m_strClue);
    if (!m_strDesc.isEmpty()) source.AddDescHistory(m_strDesc);

    // The worker of a cancelled search may still be on its way out; the
    // shared flags are only reset once it has gone.
    TSearchWorker::WaitForEnd();
    m_pResults = std::make_shared<TSearchResults>();
    SearchHandOver.bFinished = false;
    SearchHandOver.progress.Reset();
    SearchHandOver.pResultDoc = this;
    SearchHandOver.strPattern = ToCp1250(m_strClue);
    SearchHandOver.strDescWords = ToCp1250(m_strDesc);
    SearchHandOver.strPattern += OptionCharacter("CountLetters");
    SearchHandOver.strPattern += OptionCharacter("MatchCase");
    SearchHandOver.SetStatus({});

    // The worker fills a result set of its own; this document takes it only
    // when the search ends well, so a cancelled worker writes into nothing
    // that anybody reads.
    auto results = std::make_shared<TSearchResults>();
    TSearchJob job{SearchHandOver.strPattern, SearchHandOver.strDescWords,
                   SearchHandOver.strLibraryDicts};
    SearchHandOver.bProgressShown = false;
    CSearchProgressDlg progress(parent);
    TSearchWorker::Start(std::move(job), results);
    QObject::connect(TSearchWorker::Thread(), &QThread::finished, &progress,
                     &CSearchProgressDlg::Poll);
    const int outcome = progress.exec();
    SearchHandOver.pResultDoc = nullptr;

    if (outcome != QDialog::Accepted) {
        SearchHandOver.progress.RequestStop();
        return false;
    }
    // bFinished was set as the worker's last write to the results; waiting
    // for the thread makes those writes visible here.
    TSearchWorker::WaitForEnd();
    if (results->m_nFound == 0) {
        ShowInformation(parent, texts::kNothingFound);
        return false;
    }
    m_pResults = std::move(results);
    m_strTitle = SearchTitle(m_strClue, m_pResults->m_nFound);
    return true;
}
