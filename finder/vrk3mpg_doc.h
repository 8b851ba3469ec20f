// CVrk3mpgDoc: one search and its results, the "search document". Its
// new-document initialisation runs the search: it makes the search run
// (TSearchRun), runs its work on a worker and shows the progress window
// until the worker has ended or the user cancels. When something was found it
// keeps the results and a title, and the main frame opens a result window
// (CChildFrame with a CVrk3mpgView) that shows it and keeps it alive.
#pragma once

#include <QString>
#include <memory>
#include <string>

#include "finder/search_results.h"
#include "finder/search_worker.h"
#include "store/pattern.h"

class QWidget;

// Where a search takes its texts and its dictionaries: the search bar and
// the active library.
class TSearchSource {
  public:
    virtual ~TSearchSource() = default;
    virtual QString ClueText() const = 0;
    virtual QString DescText() const = 0;
    // The active library's dictionary paths, each followed by '"'.
    virtual std::string LibraryDicts() const = 0;
    // Records a text that was searched for in its box's history.
    virtual void AddClueHistory(const QString& text) = 0;
    virtual void AddDescHistory(const QString& text) = 0;
};

// "Iskanje "clue" (n zadetkov)" with the Slovene form for n; extended
// patterns and anagrams say so after "Iskanje".
QString SearchTitle(const QString& clue, int found, vrk::TPatternSyntax syntax = {});

class CVrk3mpgDoc {
  public:
    CVrk3mpgDoc();
    ~CVrk3mpgDoc();
    CVrk3mpgDoc(const CVrk3mpgDoc&) = delete;
    CVrk3mpgDoc& operator=(const CVrk3mpgDoc&) = delete;

    // Runs the search with the texts and dictionaries of `source`, showing
    // the progress window over `parent`. True when a result window is to
    // open: something was found and the user did not cancel. False when both
    // texts are empty, the pattern is malformed or nothing was found (after
    // saying so), or the user cancelled; the document then holds no results. Returns only after the
    // worker has ended, so the next search never meets it.
    [[nodiscard]] bool OnNewDocument(TSearchSource& source, QWidget* parent = nullptr);

    const TSearchResults& Results() const { return m_results; }
    const QString& Title() const { return m_strTitle; }
    const QString& Clue() const { return m_strClue; }
    const QString& Desc() const { return m_strDesc; }
    // The run of the last OnNewDocument that got as far as starting one;
    // null before.
    const TSearchRun* Run() const { return m_pRun.get(); }

  private:
    QString m_strClue;
    QString m_strDesc;
    QString m_strTitle;
    std::unique_ptr<TSearchRun> m_pRun;
    // Taken from the run only when the search ended well.
    TSearchResults m_results;
};
