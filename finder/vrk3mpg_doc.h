// CVrk3mpgDoc: one search and its results. Its new-document initialisation
// runs the search (worker and progress window); a result window shows it
// afterwards and keeps it alive.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <string>

class QWidget;

// At most this many results per search.
inline constexpr int MAX_RESULTS = 500;

// The result set of one search, filled from slot 0 in the order found.
struct TSearchResults {
    std::int32_t m_nFound = 0;
    // Per result: found description words (0 for a pattern-only search),
    // the entry's index in its dictionary, its record (word, then 0x01 before
    // each description; Windows-1250), the dictionary's path (file-name
    // encoding) and the dictionary's stored name (Windows-1250).
    std::array<std::int32_t, MAX_RESULTS> m_nPriority{};
    std::array<std::int32_t, MAX_RESULTS> m_nClueIndex{};
    std::array<std::string, MAX_RESULTS> m_strEntry;
    std::array<std::string, MAX_RESULTS> m_strDataFile;
    std::array<std::string, MAX_RESULTS> m_strDictName;
};

// Where a search takes its two texts and records them: the search bar.
class TSearchSource {
  public:
    virtual ~TSearchSource() = default;
    virtual QString ClueText() const = 0;
    virtual QString DescText() const = 0;
    virtual void AddClueHistory(const QString& text) = 0;
    virtual void AddDescHistory(const QString& text) = 0;
};

// "Iskanje "clue" (n zadetkov)" with the Slovene form for n.
QString SearchTitle(const QString& clue, int found);

class CVrk3mpgDoc {
  public:
    CVrk3mpgDoc();
    ~CVrk3mpgDoc();
    CVrk3mpgDoc(const CVrk3mpgDoc&) = delete;
    CVrk3mpgDoc& operator=(const CVrk3mpgDoc&) = delete;

    // Runs the search with the texts of `source`, showing the progress window
    // over `parent`. True when a result window is to open: something was
    // found and the user did not cancel. False when both texts are empty,
    // nothing was found (after saying so) or the user cancelled; the document
    // then holds no results. Waits first for a worker of an earlier,
    // cancelled search to end, so that two workers never run at once.
    [[nodiscard]] bool OnNewDocument(TSearchSource& source, QWidget* parent = nullptr);

    const TSearchResults& Results() const { return *m_pResults; }
    const QString& Title() const { return m_strTitle; }
    const QString& Clue() const { return m_strClue; }
    const QString& Desc() const { return m_strDesc; }

  private:
    QString m_strClue;
    QString m_strDesc;
    QString m_strTitle;
    // Handed over by the worker only when the search succeeded; until then
    // an empty set. The worker fills a set of its own, so a cancelled search
    // never writes into this one.
    std::shared_ptr<const TSearchResults> m_pResults;
};
