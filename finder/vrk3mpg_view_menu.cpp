// The row commands of a result view: open, mark and remove, on the keys and
// in the context menu.
#include <QFile>
#include <QHeaderView>
#include <QListWidget>
#include <QMenu>
#include <QTreeWidget>

#include "finder/finder_texts.h"
#include "finder/vrk3mpg_view.h"
#include "ui/commands.h"

namespace {

const vrk::TCommand kViewCommands[] = {
    {CVrk3mpgView::kCmdOpen, vrk::texts::kRowOpen},
    {CVrk3mpgView::kCmdMark, vrk::texts::kRowMark},
    {CVrk3mpgView::kCmdRemove, vrk::texts::kRowRemove},
};

}  // namespace

void CVrk3mpgView::createCommands() {
    // The actions belong to the list, so their keys act on the list that has
    // the focus and not on another result window.
    m_pCommands = new vrk::TCommandSet(m_pList);
    m_pCommands->Add(kViewCommands);
    for (const vrk::TCommand& command : kViewCommands)
        m_pCommands->Action(command.id)->setShortcutContext(Qt::WidgetShortcut);
    m_pCommands->Connect(kCmdOpen, this, &CVrk3mpgView::OpenSelected);
    m_pCommands->Connect(kCmdMark, this, &CVrk3mpgView::ToggleMark);
    m_pCommands->Connect(kCmdRemove, this, &CVrk3mpgView::RemoveSelected);
    m_pCommands->SetEnabledRule(kCmdOpen, [this] { return m_pList->selectedItems().size() == 1; });
}

void CVrk3mpgView::connectControls() {
    connect(m_pList->header(), &QHeaderView::sectionClicked, this, &CVrk3mpgView::OnHeadingClicked);
    connect(m_pList, &QTreeWidget::itemSelectionChanged, this, &CVrk3mpgView::onSelectionChanged);
    connect(m_pList, &QTreeWidget::itemDoubleClicked, this, [this] { OpenSelected(); });
    connect(m_pPane, &QListWidget::itemDoubleClicked, this, [this] { OpenSelected(); });
    connect(m_pList, &QWidget::customContextMenuRequested, this, &CVrk3mpgView::showContextMenu);
}

void CVrk3mpgView::onSelectionChanged() {
    const int row = SelectedRow();
    QTreeWidgetItem* item = row >= 0 ? m_pList->topLevelItem(row) : nullptr;
    if (item != m_pShownItem) FillDescriptionPane(row);
}

void CVrk3mpgView::showContextMenu(const QPoint& pos) {
    if (SelectedRow() < 0) return;
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("resultPopup"));
    m_pCommands->FillMenu(&menu, {kCmdOpen, vrk::kSeparator, kCmdMark, kCmdRemove});
    m_pCommands->UpdateStates();
    menu.exec(m_pList->viewport()->mapToGlobal(pos));
}

int CVrk3mpgView::SelectedRow() const {
    const QList<QTreeWidgetItem*> selected = m_pList->selectedItems();
    return selected.isEmpty() ? -1 : m_pList->indexOfTopLevelItem(selected.first());
}

void CVrk3mpgView::OpenSelected() {
    const int row = SelectedRow();
    if (row < 0) return;
    emit OpenEntryRequested(row, m_pPane->currentRow());
}

void CVrk3mpgView::ToggleMark() {
    const int row = SelectedRow();
    if (row < 0) return;
    QTreeWidgetItem* item = m_pList->topLevelItem(row);
    const bool marked = item->text(kColMarked) == vrk::texts::kMarkedNo;
    item->setIcon(kColWord, marked ? m_markedIcon : m_unmarkedIcon);
    item->setText(kColMarked, marked ? vrk::texts::kMarkedYes : vrk::texts::kMarkedNo);
}

void CVrk3mpgView::RemoveSelected() {
    const int row = SelectedRow();
    if (row < 0) return;
    QTreeWidgetItem* removed = m_pList->takeTopLevelItem(row);
    if (removed == m_pShownItem) m_pShownItem = nullptr;
    delete removed;
    if (QTreeWidgetItem* next = m_pList->topLevelItem(row)) {
        m_pList->setCurrentItem(next);
        next->setSelected(true);
        m_pList->setFocus();
    } else {
        m_pList->clearSelection();
        m_pList->setCurrentItem(nullptr);
    }
    onSelectionChanged();
}
