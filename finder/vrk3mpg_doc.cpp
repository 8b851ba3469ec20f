#include "finder/vrk3mpg_doc.h"

#include "finder/finder_texts.h"
#include "finder/search_bar_options.h"
#include "store/search_terms.h"
#include "ui/cp1250_text.h"
#include "ui/message_box.h"
#include "ui/progress_window.h"
#include "ui/worker.h"

namespace {

// The option characters that follow the known letters: '1' for a switch
// that is on, '0' for one that is off or unreadable.
char OptionCharacter(std::string_view name) {
    return ReadSearchOption(name) ? '1' : '0';
}

// What is wrong with a malformed pattern, and where.
QString PatternProblemText(const vrk::TPatternProblem& problem) {
    using vrk::TPatternError;
    const QString& text =
        problem.error == TPatternError::UnclosedSet   ? vrk::texts::kPatternUnclosedSet
        : problem.error == TPatternError::EmptySet    ? vrk::texts::kPatternEmptySet
        : problem.error == TPatternError::UnopenedSet ? vrk::texts::kPatternUnopenedSet
                                                      : vrk::texts::kPatternRunWithCount;
    return text.arg(problem.position + 1);
}

}  // namespace

QString SearchTitle(const QString& clue, int found, vrk::TPatternSyntax syntax) {
    // Slovene takes its form from the last two digits: 1, 101 "zadetek";
    // 2, 102 "zadetka"; 3-4, 103-104 "zadetki"; the rest "zadetkov".
    const int tail = found % 100;
    const QString& format = tail == 1                ? vrk::texts::kTitleOne
                            : tail == 2              ? vrk::texts::kTitleTwo
                            : tail == 3 || tail == 4 ? vrk::texts::kTitleFew
                                                     : vrk::texts::kTitleMany;
    const QString& search = syntax.anagram && syntax.extended ? vrk::texts::kTitleSearchBoth
                            : syntax.anagram                  ? vrk::texts::kTitleSearchAnagram
                            : syntax.extended                 ? vrk::texts::kTitleSearchExtended
                                                              : vrk::texts::kTitleSearch;
    // One pass: a clue that holds "%2" (a run before a 2) stays as typed.
    return format.arg(clue, QString::number(found), search);
}

CVrk3mpgDoc::CVrk3mpgDoc() = default;
CVrk3mpgDoc::~CVrk3mpgDoc() = default;

bool CVrk3mpgDoc::OnNewDocument(TSearchSource& source, QWidget* parent) {
    m_strClue = source.ClueText();
    m_strDesc = source.DescText();
    if (m_strClue.isEmpty() && m_strDesc.isEmpty()) return false;

    TSearchJob job;
    job.m_strPattern = vrk::ToCp1250(m_strClue);
    job.m_strPattern += OptionCharacter("CountLetters");
    job.m_strPattern += OptionCharacter("MatchCase");
    job.m_syntax = ReadPatternSyntax();
    // A malformed pattern is refused before anything starts; the user
    // mends it in the box, where it still stands.
    if (const vrk::TPatternProblem problem = vrk::CheckPattern(job.m_strPattern, job.m_syntax)) {
        vrk::ShowWarning(parent, PatternProblemText(problem));
        return false;
    }
    // So is a description term with marks but no text ("-", "+=", ""),
    // which would otherwise ask for nothing.
    job.m_strDescWords = vrk::ToCp1250(m_strDesc);
    if (const vrk::TEmptyTerm empty = vrk::FindEmptyTerm(job.m_strDescWords)) {
        vrk::ShowWarning(parent,
                         vrk::texts::kEmptySearchTerm.arg(vrk::FromCp1250(empty.typed),
                                                          QString::number(empty.position + 1)));
        return false;
    }
    if (!m_strClue.isEmpty()) source.AddClueHistory(m_strClue);
    if (!m_strDesc.isEmpty()) source.AddDescHistory(m_strDesc);

    job.m_strLibraryDicts = source.LibraryDicts();
    m_pRun = std::make_unique<TSearchRun>(std::move(job));
    m_results = {};

    vrk::TWorker worker;
    // The window shows the worker's status line; "Prekliči" closes it at once.
    vrk::CProgressWindow progress(worker, {}, vrk::BarFullAbove90, vrk::TCancelPolicy::kCloseAtOnce,
                                  parent);
    TSearchRun& run = *m_pRun;
    worker.Start([&run, &worker] { SearchThreadProc(run, worker); });
    const bool cancelled = progress.exec() != QDialog::Accepted;
    if (cancelled) worker.RequestStop();
    // The worker is joined also after a cancel: the next search uses the
    // same scratch files, and the run's results are read only once it ended.
    worker.Join();
    if (cancelled) return false;

    if (m_pRun->Results().m_nFound == 0) {
        vrk::ShowInformation(parent, vrk::texts::kNothingFound);
        return false;
    }
    m_results = std::move(m_pRun->Results());
    m_strTitle = SearchTitle(m_strClue, m_results.m_nFound, m_pRun->Job().m_syntax);
    return true;
}
