// Filling the library tree and the dictionary list, and what the selection
// holds.
#include <QApplication>
#include <QSignalBlocker>
#include <QTreeWidgetItemIterator>
#include <algorithm>
#include <set>
#include <vector>

#include "manager/dictionary_list.h"
#include "manager/manager_texts.h"
#include "manager/security_dlg.h"
#include "manager/vrk3dbe_view.h"
#include "settings/library_registry.h"
#include "settings/reg_key.h"
#include "settings/settings_keys.h"
#include "settings/temp_dir.h"
#include "store/data_file.h"
#include "ui/message_box.h"
#include "ui/temp_dir_dlg.h"
#include "ui/wait_cursor.h"
#include "ui/worker.h"

namespace {

// Library names and member paths are read with the settings store's own
// limit, as the finder reads them.
constexpr std::size_t kTreeNameBuffer = vrk::kLibraryNameBuffer;
constexpr std::size_t kMemberPathBuffer = vrk::kLibraryNameBuffer;
// An entry count is read from at most this many characters of its column.
constexpr int kMaxCountDigits = 9;

// The member paths of a library key: its string values with names that fit
// the path buffer, in the store's order.
std::vector<std::string> MemberPaths(vrk::TRegKey& key) {
    std::vector<std::string> paths;
    vrk::TRegValue value;
    for (std::uint32_t i = 0;; ++i) {
        const vrk::TRegResult r = key.EnumValue(i, value, kMemberPathBuffer, 1);
        if (r == vrk::TRegResult::kMoreData) continue;  // too long a name, or data: no member
        if (r != vrk::TRegResult::kOk) break;
        if (value.type == vrk::TValueType::kString && !value.name.empty())
            paths.push_back(value.name);
    }
    return paths;
}

}  // namespace

void CVrk3dbeView::FillLibraryTree(QTreeWidgetItem* parent, std::string_view keyPath) {
    vrk::TRegKey key;
    if (vrk::TRegKey::Open(vrk::TRoot::kCurrentUser, keyPath, vrk::TAccess::kRead, key) !=
        vrk::TRegResult::kOk)
        return;
    std::string name;
    for (std::uint32_t i = 0;; ++i) {
        const vrk::TRegResult r = key.EnumKey(i, name, kTreeNameBuffer);
        if (r == vrk::TRegResult::kMoreData) continue;
        if (r != vrk::TRegResult::kOk) break;
        QTreeWidgetItem* item = MakeLibraryItem(name);
        if (parent)
            parent->addChild(item);
        else
            m_pTree->addTopLevelItem(item);
        FillLibraryTree(item, std::string(keyPath) + '\\' + name);
        if (item->childCount() > 0) SetLibraryImage(item, kImageLibraryClosed);
    }
}

void CVrk3dbeView::FillDictionaryList(std::string_view keyPath, bool quiet) {
    vrk::TScratchSet backups;
    if (!ScratchFiles(backups)) return;
    m_pList->clear();
    std::vector<TMemberRow> rows;
    vrk::TRegKey key;
    {
        TWaitCursor wait;
        if (vrk::TRegKey::Open(vrk::TRoot::kCurrentUser, keyPath, vrk::TAccess::kRead, key) !=
            vrk::TRegResult::kOk)
            return;
        // The members are taken first and then read, so that removing one
        // cannot make the visit skip the next.
        for (const std::string& path : MemberPaths(key))
            rows.push_back(ReadMember(path, backups, kListLockWait));
        QList<QTreeWidgetItem*> items;
        for (const TMemberRow& row : rows) {
            // Quietly, a file that is gone is only marked: nothing is removed
            // while a drag passes over libraries.
            if (row.state != TMemberState::kGone || quiet) items.append(MakeDictionaryRow(row));
        }
        m_pList->AddRows(items);
    }
    if (quiet) return;
    bool unavailable = false;
    vrk::TRegKey writable;
    for (const TMemberRow& row : rows) {
        unavailable = unavailable || row.state == TMemberState::kUnavailable;
        if (row.state != TMemberState::kGone) continue;
        vrk::ShowMessage(this, vrk::texts::kDamagedMember, vrk::TMsgIcon::kNone);
        if (!writable.IsOpen())
            (void)vrk::TRegKey::Open(vrk::TRoot::kCurrentUser, keyPath, vrk::TAccess::kFull,
                                     writable);
        (void)writable.DeleteValue(row.path);
    }
    if (unavailable)
        vrk::ShowMessage(this, vrk::texts::kUnavailableMembers, vrk::TMsgIcon::kInformation);
}

void CVrk3dbeView::Refresh() {
    if (QTreeWidgetItem* library = SelectedLibrary())
        FillDictionaryList(LibraryKeyPath(library), m_bQuietFill);
    else
        m_pList->clear();
    emit SelectionChanged();
}

void CVrk3dbeView::RefreshAll() {
    const QTreeWidgetItem* selected = SelectedLibrary();
    const std::string selectedPath = selected ? LibraryKeyPath(selected) : std::string();
    const std::vector<std::string> selectedRows = SelectedPaths();
    std::set<std::string> open;
    for (QTreeWidgetItemIterator it(m_pTree); *it; ++it)
        if ((*it)->isExpanded()) open.insert(LibraryKeyPath(*it));
    QTreeWidgetItem* keep = nullptr;
    {
        // One listing at the end, not one per selection change on the way.
        const QSignalBlocker block(m_pTree);
        m_pTree->clear();
        FillLibraryTree(nullptr, vrk::kGroupsKey);
        for (QTreeWidgetItemIterator it(m_pTree); *it; ++it) {
            const std::string path = LibraryKeyPath(*it);
            if (open.contains(path)) {
                (*it)->setExpanded(true);
                SetLibraryImage(*it, kImageLibraryOpen);
            }
            if (path == selectedPath) keep = *it;
        }
        if (!keep) keep = m_pTree->topLevelItem(0);
        if (keep) m_pTree->setCurrentItem(keep);
    }
    if (keep) m_pTree->scrollToItem(keep);
    Refresh();
    // The dictionaries selected before stay selected where the same library
    // still lists them.
    if (!keep || LibraryKeyPath(keep) != selectedPath) return;
    for (int i = 0; i < m_pList->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = m_pList->topLevelItem(i);
        if (std::find(selectedRows.begin(), selectedRows.end(), RowPath(row)) != selectedRows.end())
            row->setSelected(true);
    }
}

void CVrk3dbeView::onTreeSelectionChanged() {
    // The tree always has a library selected while it has any: a click on
    // empty space keeps the current one.
    if (m_pTree->selectedItems().isEmpty() && m_pTree->currentItem()) {
        m_pTree->currentItem()->setSelected(true);
        return;
    }
    Refresh();
}

QTreeWidgetItem* CVrk3dbeView::SelectedLibrary() const {
    const QList<QTreeWidgetItem*> selected = m_pTree->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

int CVrk3dbeView::SelectedDictionaryCount() const {
    return static_cast<int>(m_pList->selectedItems().size());
}

long long CVrk3dbeView::SelectedEntrySum() const {
    long long sum = 0;
    for (const QTreeWidgetItem* item : m_pList->selectedItems()) {
        bool ok = false;
        const int count = item->text(kColCount).left(kMaxCountDigits).toInt(&ok);
        if (ok) sum += count;
    }
    return sum;
}

std::vector<std::string> CVrk3dbeView::SelectedPaths() const {
    std::vector<std::string> paths;
    for (const QTreeWidgetItem* row : Selection().rows) paths.push_back(RowPath(row));
    return paths;
}

TSelection CVrk3dbeView::Selection() const {
    std::vector<QTreeWidgetItem*> rows;
    for (int i = 0; i < m_pList->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_pList->topLevelItem(i);
        if (item->isSelected()) rows.push_back(item);
    }
    return {SelectedLibrary(), rows};
}

bool CVrk3dbeView::SelectedExportAllowed() const {
    // A running job may be changing the dictionary: it is not opened then.
    if (SelectedDictionaryCount() != 1 || vrk::WorkerRunning()) return false;
    const std::vector<QTreeWidgetItem*> rows = Selection().rows;
    // A row already known to be unavailable is not opened again: it would
    // only wait for the same lock.
    if (rows.empty() || rows.front()->data(kColName, kUnavailableRole).toBool()) return false;
    TWaitCursor wait;
    // Reading the flags makes no scratch files.
    vrk::TDataFile file(RowPath(rows.front()), "", "", "");
    file.SetLockWait(kListLockWait);
    const std::int32_t flags = file.GetFlags();
    return flags >= 0 && (flags & kFlagExport) != 0;
}
