// What the entry-editing tests share: a main frame over a private settings
// store and temporary directory, dictionaries written straight from entry
// records, result windows opened by real searches, and the dictionary read
// back through the store afterwards.
#pragma once

#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "finder/main_frame.h"
#include "finder/search_test_util.h"

class CVrk3mpgView;

namespace vrk {

// Dictionaries written and read back, for the entry editor's tests and the
// frame's.
class TEntryFilesTest : public TSearchTest {
  protected:
    // A dictionary named after its file holding `entries`, with security
    // flags `flags` (6: changes and export allowed).
    std::string Dictionary(const std::string& file, const std::vector<std::string>& entries,
                           std::int32_t flags = 6);
    // Every entry record of the dictionary at `path`, in order.
    static std::vector<std::string> Entries(const std::string& path);
};

class TEntryTest : public TEntryFilesTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // A result window of the search for `clue` over the dictionaries at
    // `paths`; null when nothing was found.
    CVrk3mpgView* OpenResults(const std::vector<std::string>& paths, const QString& clue = "*");
    // Loads entry `index` of `path` into the entry window.
    void Load(const std::string& path, int index, int description = 0);
    // Replaces the shown description's text as typing would, without a tick.
    void Type(const QString& text);
    // The rows of `view` as "word|column 1|index".
    static std::vector<std::string> Rows(const CVrk3mpgView& view);
    // Answers the next "Shrani Geslo" dialog: the dictionary named
    // `dictionaryName` is chosen.
    static void ChooseInSaveDialog(const QString& dictionaryName);
    // The undo steps' texts, oldest first.
    std::vector<QString> StepTexts() const;
    QString Counter() const;

    std::unique_ptr<CMainFrame> frame_;
};

}  // namespace vrk
