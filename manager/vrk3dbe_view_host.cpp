// The view as the host of its commands: the selection they act on and the
// changes of tree and list they ask for.
#include <QTreeWidgetItemIterator>

#include "manager/dictionary_list.h"
#include "manager/vrk3dbe_view.h"

void CVrk3dbeView::ListDictionary(const TMemberRow& row, bool alone) {
    QTreeWidgetItem* item = MakeDictionaryRow(row);
    if (!alone) {
        m_pList->AddRows({item});
        item->setSelected(true);
        return;
    }
    for (int i = m_pList->topLevelItemCount() - 1; i >= 0; --i)
        if (RowPath(m_pList->topLevelItem(i)) == row.path) delete m_pList->topLevelItem(i);
    m_pList->AddRows({item});
    m_pList->clearSelection();
    m_pList->setCurrentItem(item);
    item->setSelected(true);
    m_pList->scrollToItem(item);
    emit SelectionChanged();
}

void CVrk3dbeView::RemoveSelectedRows() {
    qDeleteAll(m_pList->selectedItems());
    emit SelectionChanged();
}

void CVrk3dbeView::ListAgain() {
    Refresh();
}

int CVrk3dbeView::LibraryCount() const {
    int libraries = 0;
    for (QTreeWidgetItemIterator it(m_pTree); *it; ++it) ++libraries;
    return libraries;
}

void CVrk3dbeView::InsertLibrary(QTreeWidgetItem* parent, QTreeWidgetItem* item) {
    if (parent) {
        parent->addChild(item);
        parent->setExpanded(true);
        SetLibraryImage(parent, kImageLibraryOpen);
    } else {
        m_pTree->addTopLevelItem(item);
    }
    m_pTree->scrollToItem(item);
    m_pTree->setCurrentItem(item);
    EditLibraryName(item);
}

void CVrk3dbeView::EditLibraryName(QTreeWidgetItem* item) {
    m_pTree->setFocus();
    m_pTree->editItem(item, 0);
}

void CVrk3dbeView::RemoveLibraryItem(QTreeWidgetItem* item) {
    QTreeWidgetItem* parent = item->parent();
    delete item;
    if (parent && parent->childCount() == 0) SetLibraryImage(parent, kImageLibrary);
    if (!SelectedLibrary() && m_pTree->currentItem()) m_pTree->currentItem()->setSelected(true);
    if (!SelectedLibrary()) Refresh();
}
