#include "manager/dictionary_list.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHeaderView>
#include <algorithm>

#include "manager/manager_texts.h"
#include "ui/cp1250_text.h"
#include "ui/icons.h"

namespace {

QString UnavailableReason(vrk::TFailure failure) {
    switch (failure) {
        case vrk::TFailure::Busy:
            return vrk::texts::kUnavailableBusy;
        case vrk::TFailure::NoPermission:
            return vrk::texts::kUnavailablePermission;
        case vrk::TFailure::NotFound:
            return vrk::texts::kUnavailableFolder;
        default:
            return vrk::texts::kUnavailableOther;
    }
}

}  // namespace

std::string RowPath(const QTreeWidgetItem* row) {
    return row->data(kColName, kPathRole).toByteArray().toStdString();
}

CDictionaryItem* MakeDictionaryRow(const TMemberRow& member) {
    auto* item = new CDictionaryItem;
    const QString path = vrk::PathText(member.path);
    item->setData(kColName, kPathRole, QByteArray::fromStdString(member.path));
    item->setIcon(kColName, vrk::RoleIcon(vrk::icon::kDictionary));
    item->setText(kColFile, path);
    item->setTextAlignment(kColCount, Qt::AlignRight | Qt::AlignVCenter);
    if (member.state == TMemberState::kListed) {
        item->setText(kColName, vrk::FromCp1250(member.name));
        item->setText(kColCount, QString::number(member.count));
        item->setText(kColAuthor, vrk::FromCp1250(member.author));
        return item;
    }
    item->setData(kColName, kUnavailableRole, true);
    item->setText(kColName, vrk::texts::kUnavailableName);
    const QString reason = UnavailableReason(member.failure);
    for (int column = 0; column < 4; ++column) {
        item->setToolTip(column, reason);
        item->setForeground(column,
                            QApplication::palette().brush(QPalette::Disabled, QPalette::Text));
    }
    return item;
}

CDictionaryList::CDictionaryList(QWidget* parent) : QTreeWidget(parent) {
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The drag start (distance, keeping a multiple selection under the
    // pressed row) is Qt's; where the dictionaries go is the view's.
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    // Right-button presses and releases reach the list, so that a right
    // button can drag as well as open the pop-up menu on release.
    setContextMenuPolicy(Qt::PreventContextMenu);
    header()->setSectionsClickable(false);
    header()->setStretchLastSection(false);
}

void CDictionaryList::AddRows(const QList<QTreeWidgetItem*>& rows) {
    // Sorted here rather than by the view, so that the header shows no sort
    // mark and its sections cannot be clicked to sort.
    QList<QTreeWidgetItem*> all;
    while (topLevelItemCount() > 0) all.append(takeTopLevelItem(0));
    all.append(rows);
    std::stable_sort(all.begin(), all.end(),
                     [](const QTreeWidgetItem* a, const QTreeWidgetItem* b) { return *a < *b; });
    addTopLevelItems(all);
}

void CDictionaryList::focusInEvent(QFocusEvent* event) {
    QTreeWidget::focusInEvent(event);
    if (event->reason() == Qt::MouseFocusReason || !selectedItems().isEmpty()) return;
    if (QTreeWidgetItem* row = currentItem() ? currentItem() : topLevelItem(0)) {
        setCurrentItem(row);
        row->setSelected(true);
    }
}

void CDictionaryList::startDrag(Qt::DropActions) {
    emit DragStarted();
}

bool CDictionaryItem::operator<(const QTreeWidgetItem& other) const {
    return text(kColName).localeAwareCompare(other.text(kColName)) < 0;
}
