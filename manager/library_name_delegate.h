// CLibraryNameDelegate: the in-place editor of a library name in the tree.
// While it is open, Enter, Escape, Delete and every key pressed with Ctrl go
// to the editor, never to the program's commands. A finished edit is handed
// to a callback that decides whether the name may be taken; the delegate
// itself writes nothing into the tree.
#pragma once

#include <QStyledItemDelegate>
#include <functional>

#include "settings/library_registry.h"

class CLibraryNameDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    // Names are at most this many characters, the settings store's limit
    // for a library name (one byte each in Windows-1250).
    static constexpr int kMaxNameLength = static_cast<int>(vrk::kLibraryNameBuffer) - 1;

    using TCommit = std::function<void(const QModelIndex& index, const QString& text)>;
    CLibraryNameDelegate(TCommit commit, QObject* parent);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    TCommit m_commit;
};
