// What the search and result-window tests share: a private settings store
// with a temporary directory, dictionaries written straight from entry
// records, and a search source standing in for the search bar and the
// active library.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

#include "finder/vrk3mpg_doc.h"
#include "ui/test_ui.h"

namespace vrk {

// "word", then "\x01" + each description (Windows-1250 bytes).
std::string Entry(std::string_view word, std::initializer_list<std::string_view> descriptions = {});

class TFakeSearchBar : public TSearchSource {
  public:
    QString clue, desc;
    std::string dicts;
    QStringList clueHistory, descHistory;
    QString ClueText() const override { return clue; }
    QString DescText() const override { return desc; }
    std::string LibraryDicts() const override { return dicts; }
    void AddClueHistory(const QString& text) override { clueHistory.prepend(text); }
    void AddDescHistory(const QString& text) override { descHistory.prepend(text); }
};

class TSearchTest : public TUiTest {
  protected:
    void SetUp() override;

    // Writes a dictionary named `name` holding `entries` at folder/file and
    // returns its path.
    std::string MakeDictionary(const std::string& file, std::string_view name,
                               const std::vector<std::string>& entries);
    // Makes these paths the searched dictionaries, in order.
    void SetLibrary(const std::vector<std::string>& paths);
    // Makes these paths the dictionaries of a stored library named `name`.
    void MakeLibrary(const std::string& name, const std::vector<std::string>& paths);
    // Runs a search in a new document; null when it opened no window.
    std::shared_ptr<CVrk3mpgDoc> Search(const QString& clue, const QString& desc = {});

    std::string folder_;
    TFakeSearchBar bar_;
};

}  // namespace vrk
