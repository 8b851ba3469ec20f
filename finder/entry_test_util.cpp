#include "finder/entry_test_util.h"

#include <QApplication>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "finder/child_frame.h"
#include "finder/entry_window.h"
#include "finder/save_entry_dlg.h"
#include "finder/vrk3mpg_view.h"
#include "settings/settings_keys.h"
#include "store/data_file.h"

namespace vrk {

void TEntryTest::SetUp() {
    TEntryFilesTest::SetUp();
    EnsureFinderKeys();
    frame_ = std::make_unique<CMainFrame>(false);
    // A dialog no test answers (a Save that went on to Save as where it
    // should not) fails the test within 3 s.
    unansweredModalMs_ = 3000;
}

void TEntryTest::TearDown() {
    frame_.reset();
    TSearchTest::TearDown();
}

std::string TEntryFilesTest::Dictionary(const std::string& file,
                                        const std::vector<std::string>& entries,
                                        std::int32_t flags) {
    const std::string path = MakeDictionary(file, file, entries);
    TDataFile dictionary(path, path + ".r", path + ".a", path + ".o");
    EXPECT_TRUE(dictionary.SetInfo(file, "", "", "", flags));
    return path;
}

CVrk3mpgView* TEntryTest::OpenResults(const std::vector<std::string>& paths, const QString& clue) {
    SetLibrary(paths);
    auto doc = Search(clue);
    if (!doc) return nullptr;
    QMdiSubWindow* window = frame_->OpenResultWindow(doc);
    return qobject_cast<CChildFrame*>(window)->View();
}

void TEntryTest::Load(const std::string& path, int index, int description) {
    ASSERT_EQ(frame_->Editor().LoadEntryAt(QString::fromStdString(path), index, description),
              TEntryEditor::TLoadResult::kLoaded);
}

void TEntryTest::Type(const QString& text) {
    QPlainTextEdit* editor = frame_->EntryWindow()->Editor();
    editor->selectAll();
    editor->insertPlainText(text);
}

std::vector<std::string> TEntryFilesTest::Entries(const std::string& path) {
    TDataFile file(path, path + ".r", path + ".a", path + ".o");
    std::vector<std::string> entries;
    const std::int32_t count = file.GetEntryCount();
    EXPECT_GE(count, 0) << path;
    for (std::int32_t i = 0; i < count; ++i) {
        std::string record;
        EXPECT_TRUE(file.GetEntry(i, record));
        entries.push_back(record);
    }
    return entries;
}

std::vector<std::string> TEntryTest::Rows(const CVrk3mpgView& view) {
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

void TEntryTest::ChooseInSaveDialog(const QString& dictionaryName) {
    WhenModal([dictionaryName](QWidget* modal) {
        auto* dialog = qobject_cast<CSaveEntryDlg*>(modal);
        ASSERT_NE(dialog, nullptr);
        const QList<QTreeWidgetItem*> found =
            dialog->Tree()->findItems(dictionaryName, Qt::MatchExactly | Qt::MatchRecursive);
        EXPECT_EQ(found.size(), 1);
        if (found.isEmpty()) return dialog->reject();
        dialog->Tree()->setCurrentItem(found.first());
        EXPECT_TRUE(dialog->OkButton()->isEnabled());
        dialog->OkButton()->click();
    });
}

std::vector<QString> TEntryTest::StepTexts() const {
    std::vector<QString> texts;
    for (int i = 0; i < frame_->Editor().History().Count(); ++i)
        texts.push_back(frame_->Editor().History().At(i).strText);
    return texts;
}

QString TEntryTest::Counter() const {
    return frame_->EntryWindow()->CounterLabel()->text();
}

}  // namespace vrk
