// The description pane: every description of the selected word, read again
// from its dictionary.
#include <QListWidget>
#include <QTreeWidget>

#include "finder/finder_texts.h"
#include "finder/vrk3mpg_view.h"
#include "store/data_file.h"
#include "ui/cp1250_text.h"
#include "ui/failure_text.h"
#include "ui/message_box.h"
#include "ui/temp_dir_dlg.h"
#include "ui/wait_cursor.h"

namespace {

// The pane shows at most this many descriptions of a word.
constexpr int kMaxPaneDescriptions = 100;

}  // namespace

void CVrk3mpgView::FillDescriptionPane(int row) {
    m_nShownRow = row;
    QTreeWidgetItem* item = row >= 0 ? m_pList->topLevelItem(row) : nullptr;
    m_pShownItem = item;
    if (!item) {
        m_pPane->clear();
        return;
    }
    TWaitCursor wait;
    vrk::TScratchSet paths;
    if (!vrk::GetBackupPaths(this, vrk::kFinderScratch, paths)) return;
    bool indexOk = false;
    const std::int32_t index = item->text(kColClueIndex).toInt(&indexOk);
    vrk::TDataFile file = paths.Open(vrk::PathBytes(item->text(kColDataFile)));
    m_pPane->clear();
    // One read of the whole entry gives every description at once.
    std::string entry;
    if (!indexOk || !file.GetEntry(index, entry)) {
        wait.Release();
        vrk::ShowError(this, vrk::texts::kDictOpenError);
        return;
    }
    // Another program may have moved the entries since the search: the
    // entry at the row's index is then another word, and is not shown.
    if (vrk::FromCp1250(std::string_view(entry).substr(0, entry.find('\x01'))) !=
        item->text(kColWord)) {
        m_pShownItem = nullptr;
        m_nShownRow = -1;
        wait.Release();
        vrk::ShowWarning(this, vrk::FailureReason(vrk::TFailure::EntryChanged));
        return;
    }
    showDescriptions(entry);
}

void CVrk3mpgView::showDescriptions(std::string_view entry) {
    m_pPane->clear();
    QStringList lines;
    std::size_t mark = entry.find('\x01');
    while (mark != std::string_view::npos && lines.size() < kMaxPaneDescriptions) {
        const std::size_t next = entry.find('\x01', mark + 1);
        lines.append(vrk::FromCp1250(entry.substr(
            mark + 1, next == std::string_view::npos ? std::string_view::npos : next - mark - 1)));
        mark = next;
    }
    m_pPane->addItems(lines);
}
