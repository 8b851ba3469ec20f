// CDictionaryList: the list of the selected library's dictionaries, a report
// with four columns kept sorted by name. Dragging selected dictionaries out
// of it does not start a system drag: it asks the view to carry them to a
// library in its tree (DragStarted), so that the view decides move, copy
// and the right-button menu itself.
#pragma once

#include <QTreeWidget>

#include "manager/member_reader.h"

// The list columns.
enum TListColumn { kColName = 0, kColCount = 1, kColAuthor = 2, kColFile = 3 };

// Item data of a list item: its path as stored (file-name bytes) and whether
// it could not be read.
inline constexpr int kPathRole = Qt::UserRole;
inline constexpr int kUnavailableRole = Qt::UserRole + 1;

class CDictionaryList : public QTreeWidget {
    Q_OBJECT
  public:
    explicit CDictionaryList(QWidget* parent = nullptr);

    // Adds rows, keeping the list sorted by name (ascending, as the
    // desktop's language sorts).
    void AddRows(const QList<QTreeWidgetItem*>& rows);

  signals:
    // The user dragged selected items farther than the start distance.
    void DragStarted();

  protected:
    void startDrag(Qt::DropActions supportedActions) override;
    // Reached by keyboard with nothing selected, the list selects its
    // current row (the first when none is), so that the keys' place shows
    // and the commands act on it.
    void focusInEvent(QFocusEvent* event) override;
};

// A list row; rows compare by name as the user reads it (case and accents
// folded the way the desktop's language sorts).
class CDictionaryItem : public QTreeWidgetItem {
  public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& other) const override;
};

// The stored path (file-name bytes) of a list row: its identity.
[[nodiscard]] std::string RowPath(const QTreeWidgetItem* row);

// The row of a member: name, entry count, author and path; a member that
// cannot be read is marked, greyed and says why in its tool tip.
CDictionaryItem* MakeDictionaryRow(const TMemberRow& member);
