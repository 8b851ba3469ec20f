#include "ui/accessible_text.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

namespace vrk {

void SetAccessibleText(QWidget* control, const QString& name, const QString& description) {
    QList<QWidget*> controls{control};
    if (auto* box = qobject_cast<QComboBox*>(control)) {
        controls << box->view();
        if (box->lineEdit()) controls << box->lineEdit();
    }
    for (QWidget* widget : controls) {
        widget->setAccessibleName(name);
        if (!description.isEmpty()) widget->setAccessibleDescription(description);
    }
}

QString NameFromLabel(const QString& label) {
    QString name = label;
    name.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    name.remove('&');
    name.replace('\x01', '&');
    name = name.trimmed();
    if (name.endsWith(':')) name.chop(1);
    return name.trimmed();
}

namespace {

// The name Qt reads for `widget`: its own, else its buddy label's text.
QString AccessibleName(QWidget* widget) {
    if (!widget->accessibleName().isEmpty()) return widget->accessibleName();
    for (QLabel* label : widget->window()->findChildren<QLabel*>())
        if (label->buddy() == widget) return NameFromLabel(label->text());
    return QString();
}

}  // namespace

void NameFromLabels(QWidget* window) {
    // Qt reads a buddy label as the name of a line edit or a combo box, but
    // not of an item view.
    for (QLabel* label : window->findChildren<QLabel*>()) {
        auto* view = qobject_cast<QAbstractItemView*>(label->buddy());
        if (view && view->accessibleName().isEmpty() && !label->text().isEmpty())
            view->setAccessibleName(NameFromLabel(label->text()));
    }
    // A list right below a named box in a grid, as Qt's font dialog has the
    // sizes below the size box, is read by the box's name.
    for (QGridLayout* grid : window->findChildren<QGridLayout*>()) {
        for (int i = 0; i < grid->count(); ++i) {
            auto* view = qobject_cast<QAbstractItemView*>(grid->itemAt(i)->widget());
            int row = 0, column = 0, rows = 0, columns = 0;
            grid->getItemPosition(i, &row, &column, &rows, &columns);
            QLayoutItem* above = row > 0 ? grid->itemAtPosition(row - 1, column) : nullptr;
            if (view && view->accessibleName().isEmpty() && above && above->widget())
                view->setAccessibleName(AccessibleName(above->widget()));
        }
    }
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!widget->accessibleName().isEmpty()) continue;
        if (auto* box = qobject_cast<QComboBox*>(widget)) {
            // Read by its text; its line edit and the list it opens by the
            // name of its label.
            if (box->view()->accessibleName().isEmpty())
                box->view()->setAccessibleName(AccessibleName(box));
        } else if (auto* owner = qobject_cast<QComboBox*>(widget->parentWidget());
                   owner && owner->lineEdit() == widget) {
            widget->setAccessibleName(AccessibleName(owner));
        } else if (QWidget* proxy = widget->focusProxy()) {
            widget->setAccessibleName(proxy->accessibleName());
        }
    }
}

}  // namespace vrk
