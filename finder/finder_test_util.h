// What the finder's tests share: dictionaries written from entry records, a
// search source standing in for the search bar, and a main frame fixture.
#pragma once

#include <QLabel>
#include <QPlainTextEdit>
#include <QString>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

#include "finder/child_frame.h"
#include "finder/entry_window.h"
#include "finder/main_frame.h"
#include "finder/search_bar.h"
#include "finder/vrk3mpg_doc.h"
#include "store/test_util.h"
#include "ui/test_ui.h"

class CVrk3mpgView;

namespace vrk {

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

    // folder/file holding `entries`; flags 6 allow changes and export.
    std::string Dictionary(const std::string& file, const std::vector<std::string>& entries,
                           std::int32_t flags = 6);
    // The searched dictionaries, in order.
    void SetLibrary(const std::vector<std::string>& paths) {
        bar_.dicts.clear();
        for (const std::string& path : paths) bar_.dicts += path + '"';
    }
    // Makes these paths the dictionaries of a stored library named `name`.
    void MakeLibrary(const std::string& name, const std::vector<std::string>& paths);
    // Runs a search in a new document; null when it opened no window.
    std::shared_ptr<CVrk3mpgDoc> Search(const QString& clue, const QString& desc = {});

    std::string folder_;
    TFakeSearchBar bar_;
};

// A main frame (not shown) over the private store.
class TFrameTest : public TSearchTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Runs the Search command for these texts; null when no window opened.
    CChildFrame* SearchFor(const QString& clue, const QString& desc = {}) {
        frame_->SearchBar()->SetClueText(clue);
        frame_->SearchBar()->SetDescText(desc);
        return qobject_cast<CChildFrame*>(frame_->RunSearch());
    }
    // A result window of the search for these texts over the dictionaries
    // at `paths`; null when nothing was found.
    CVrk3mpgView* OpenResults(const std::vector<std::string>& paths, const QString& clue = "*",
                              const QString& desc = {});
    void Load(const std::string& path, int index, int description = 0) {
        ASSERT_EQ(frame_->Editor().LoadEntryAt(QString::fromStdString(path), index, description),
                  TEntryEditor::TLoadResult::kLoaded);
    }
    // Replaces the shown description's text as typing would, without a tick.
    void Type(const QString& text) {
        frame_->EntryWindow()->Editor()->selectAll();
        frame_->EntryWindow()->Editor()->insertPlainText(text);
    }
    // The rows of `view` as "word|column 1|index".
    static std::vector<std::string> Rows(const CVrk3mpgView& view);
    QString Counter() const { return frame_->EntryWindow()->CounterLabel()->text(); }

    std::unique_ptr<CMainFrame> frame_;
};

}  // namespace vrk
