// The rows of a result view after the entry editing changed a dictionary:
// indexes follow the moved entries, a stored entry shows its new
// descriptions, a deleted entry's rows go.
#include <QListWidget>
#include <QSignalBlocker>
#include <QTreeWidget>

#include "finder/vrk3mpg_view.h"
#include "store/format.h"
#include "store/same_file.h"
#include "ui/cp1250_text.h"

void CVrk3mpgView::EntryStored(const vrk::TSameFile& same, std::int32_t oldIndex,
                               std::int32_t newIndex, std::string_view record) {
    if (oldIndex < 0) return;
    const std::size_t mark = record.find(vrk::kDescriptionMark);
    const std::string_view descriptions =
        mark == std::string_view::npos ? std::string_view() : record.substr(mark + 1);
    const bool moved = oldIndex != newIndex;
    bool shownChanged = false;
    for (int row = 0; row < m_pList->topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = m_pList->topLevelItem(row);
        bool ok = false;
        const std::int32_t index = item->text(kColClueIndex).toInt(&ok);
        if (!ok || index < oldIndex || (index > oldIndex && !moved)) continue;
        if (!same(vrk::PathBytes(item->text(kColDataFile)))) continue;
        if (index > oldIndex) {
            item->setText(kColClueIndex, QString::number(index - 1));
            continue;
        }
        item->setText(kColWord, vrk::FromCp1250(record.substr(0, mark)));
        item->setText(kColDescription, vrk::FromCp1250(ShortDescription(descriptions)));
        item->setText(kColClueIndex, QString::number(newIndex));
        shownChanged = shownChanged || item == m_pShownItem;
    }
    // The pane shows the stored descriptions at once, without reading the
    // dictionary again.
    if (shownChanged) showDescriptions(record);
}

void CVrk3mpgView::EntryDeleted(const vrk::TSameFile& same, std::int32_t index) {
    // Qt selects another row as soon as the selected one goes; the pane must
    // not read that row's entry before its index is lowered, so it follows
    // the selection only once every row is current.
    const QSignalBlocker blocker(m_pList);
    // Walking backwards, a removed row never makes the loop skip the row
    // that takes its place.
    for (int row = m_pList->topLevelItemCount() - 1; row >= 0; --row) {
        QTreeWidgetItem* item = m_pList->topLevelItem(row);
        bool ok = false;
        const std::int32_t rowIndex = item->text(kColClueIndex).toInt(&ok);
        if (!ok || rowIndex < index || !same(vrk::PathBytes(item->text(kColDataFile)))) continue;
        if (rowIndex > index) {
            item->setText(kColClueIndex, QString::number(rowIndex - 1));
            continue;
        }
        if (item == m_pShownItem) {
            m_pShownItem = nullptr;
            m_pPane->clear();
        }
        delete m_pList->takeTopLevelItem(row);
    }
    m_nShownRow = m_pShownItem ? m_pList->indexOfTopLevelItem(m_pShownItem) : -1;
    onSelectionChanged();
}
