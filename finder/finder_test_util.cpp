#include "finder/finder_test_util.h"

#include <QMdiSubWindow>
#include <QTreeWidget>
#include <filesystem>

#include "finder/vrk3mpg_view.h"
#include "settings/library_registry.h"
#include "settings/settings_keys.h"
#include "settings/temp_dir.h"

namespace vrk {

void TSearchTest::SetUp() {
    TUiTest::SetUp();
    folder_ = dir_ + "/data";
    std::filesystem::create_directories(folder_ + "/temp");
    ASSERT_TRUE(TWriteBackupDir(folder_ + "/temp"));
}

std::string TSearchTest::Dictionary(const std::string& file,
                                    const std::vector<std::string>& entries, std::int32_t flags) {
    const std::string path = folder_ + "/" + file;
    WriteDictionary(path, entries, file, "", flags);
    return path;
}

void TSearchTest::MakeLibrary(const std::string& name, const std::vector<std::string>& paths) {
    EnsureFinderKeys();
    const std::string groups(kGroupsKey);
    ASSERT_EQ(CreateLibraryKey(groups, name), TLibraryResult::kOk);
    for (const std::string& path : paths)
        ASSERT_EQ(AddLibraryDictionary(groups + "\\" + name, path), TLibraryResult::kOk);
}

std::shared_ptr<CVrk3mpgDoc> TSearchTest::Search(const QString& clue, const QString& desc) {
    bar_.clue = clue;
    bar_.desc = desc;
    auto doc = std::make_shared<CVrk3mpgDoc>();
    if (!doc->OnNewDocument(bar_)) return nullptr;
    return doc;
}

void TFrameTest::SetUp() {
    TSearchTest::SetUp();
    EnsureFinderKeys();
    frame_ = std::make_unique<CMainFrame>(false);
    // A dialog no test answers (a Save that went on to Save as where it
    // should not) fails the test within 3 s.
    unansweredModalMs_ = 3000;
}

void TFrameTest::TearDown() {
    frame_.reset();
    TSearchTest::TearDown();
}

CVrk3mpgView* TFrameTest::OpenResults(const std::vector<std::string>& paths, const QString& clue,
                                      const QString& desc) {
    SetLibrary(paths);
    auto doc = Search(clue, desc);
    if (!doc) return nullptr;
    QMdiSubWindow* window = frame_->OpenResultWindow(doc);
    return qobject_cast<CChildFrame*>(window)->View();
}

std::vector<std::string> TFrameTest::Rows(const CVrk3mpgView& view) {
    std::vector<std::string> rows;
    for (int row = 0; row < view.List()->topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = view.List()->topLevelItem(row);
        rows.push_back((item->text(CVrk3mpgView::kColWord) + "|" +
                        item->text(CVrk3mpgView::kColDescription) + "|" +
                        item->text(CVrk3mpgView::kColClueIndex))
                           .toStdString());
    }
    return rows;
}

}  // namespace vrk
