#include "manager/library_name_delegate.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "manager/manager_texts.h"

CLibraryNameDelegate::CLibraryNameDelegate(TCommit commit, QObject* parent)
    : QStyledItemDelegate(parent), m_commit(std::move(commit)) {}

QWidget* CLibraryNameDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                            const QModelIndex& index) const {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        line->setObjectName(QStringLiteral("libraryNameEditor"));
        line->setAccessibleName(vrk::texts::kA11yLibraryNameEdit);
        line->setMaxLength(kMaxNameLength);
        line->installEventFilter(const_cast<CLibraryNameDelegate*>(this));
    }
    return editor;
}

void CLibraryNameDelegate::setModelData(QWidget* editor, QAbstractItemModel*,
                                        const QModelIndex& index) const {
    if (auto* line = qobject_cast<QLineEdit*>(editor)) m_commit(index, line->text());
}

bool CLibraryNameDelegate::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        // Claiming the key keeps it from the window's shortcuts; the editor
        // then gets it as a normal key press.
        auto* key = static_cast<QKeyEvent*>(event);
        const int k = key->key();
        if ((key->modifiers() & Qt::ControlModifier) || k == Qt::Key_Return || k == Qt::Key_Enter ||
            k == Qt::Key_Escape || k == Qt::Key_Delete) {
            event->accept();
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(watched, event);
}
