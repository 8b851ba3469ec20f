// Sorting the result list: six modes, each a stable sort by the letter ranks
// of the current alphabet row, so rows the new mode finds equal keep their
// previous order.
#include <QTreeWidget>
#include <algorithm>
#include <vector>

#include "finder/vrk3mpg_view.h"
#include "settings/alphabet_rows.h"
#include "store/alphabet.h"
#include "ui/cp1250_text.h"

namespace {

struct TSortKey {
    QTreeWidgetItem* item;
    int priority;
    std::string word;
    std::string other;  // column 1 or 2, as the mode asks
};

}  // namespace

void CVrk3mpgView::SortBy(int mode) {
    if (mode < 0 || mode > 5) return;
    m_nSortMode = mode;
    const vrk::TAlphabetRow alphabet = vrk::ReadAlphabetForSearch();
    const vrk::TRankTable rank = vrk::BuildRankTable(alphabet.text, alphabet.separator);
    const bool byPriority = mode % 2 == 0;
    const int otherColumn = mode >= 4 ? kColDictionary : mode >= 2 ? kColDescription : -1;

    QTreeWidgetItem* current = m_pList->currentItem();
    const bool currentSelected = current && current->isSelected();
    QList<QTreeWidgetItem*> items = m_pList->invisibleRootItem()->takeChildren();
    std::vector<TSortKey> keys;
    keys.reserve(static_cast<std::size_t>(items.size()));
    for (QTreeWidgetItem* item : items)
        keys.push_back({item, item->text(kColPriority).toInt(), vrk::ToCp1250(item->text(kColWord)),
                        otherColumn < 0 ? std::string() : vrk::ToCp1250(item->text(otherColumn))});
    // CompareByRank gives +1 when its first text sorts first.
    std::stable_sort(keys.begin(), keys.end(), [&](const TSortKey& a, const TSortKey& b) {
        if (byPriority && a.priority != b.priority) return a.priority > b.priority;
        if (otherColumn >= 0) {
            const int order = vrk::CompareByRank(rank, a.other, b.other);
            if (order != 0) return order > 0;
        }
        return vrk::CompareByRank(rank, a.word, b.word) > 0;
    });
    items.clear();
    for (const TSortKey& key : keys) items.append(key.item);
    m_pList->addTopLevelItems(items);
    if (current) {
        m_pList->setCurrentItem(
            current, 0,
            currentSelected ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::NoUpdate);
        m_pList->scrollToItem(current);
    }
}

void CVrk3mpgView::OnHeadingClicked(int column) {
    // Heading 0 toggles modes 1 and 0, heading 1 modes 3 and 2, heading 2
    // modes 5 and 4; the first click picks the mode without priority.
    if (column < 0 || column > 2) return;
    const int plain = 2 * column + 1;
    SortBy(m_nSortMode == plain ? plain - 1 : plain);
}
