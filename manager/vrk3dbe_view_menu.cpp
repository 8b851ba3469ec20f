// The view's pop-up menus: the library menu of a right click in the tree,
// the dictionary menu of a right click in the list.
#include <QAction>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>

#include "manager/manager_ids.h"
#include "manager/manager_texts.h"
#include "manager/vrk3dbe_view.h"
#include "ui/commands.h"

namespace {

// A pop-up entry that runs `command`, shown with its own text when one is
// given, and enabled only when the command is and `enabled` holds.
void AddAlias(QMenu* menu, QAction* command, const QString& text = {}, bool enabled = true) {
    if (!command) return;
    auto* alias = menu->addAction(command->icon(), text.isEmpty() ? command->text() : text);
    alias->setObjectName(command->objectName());
    alias->setStatusTip(command->statusTip());
    alias->setShortcut(command->shortcut());
    alias->setEnabled(enabled && command->isEnabled());
    QObject::connect(alias, &QAction::triggered, command, &QAction::trigger);
}

}  // namespace

bool CVrk3dbeView::treeMouseEvent(QMouseEvent* event) {
    // A right click opens the library menu without choosing another library.
    if (event->button() != Qt::RightButton) return false;
    if (event->type() == QEvent::MouseButtonRelease) {
        const QPoint at = event->globalPosition().toPoint();
        QTimer::singleShot(0, this, [this, at] { showLibraryMenu(at); });
    }
    return true;
}

void CVrk3dbeView::showLibraryMenu(const QPoint& globalPos) {
    m_pCommands->UpdateStates();
    QMenu menu(vrk::texts::kMenuLibrary, this);
    menu.setObjectName(QStringLiteral("libraryMenu"));
    for (int command :
         {id::kNewLibrary, id::kNewSubLibrary, id::kRenameLibrary, id::kRemoveLibrary})
        AddAlias(&menu, m_pCommands->Action(command));
    menu.addSeparator();
    AddAlias(&menu, m_pCommands->Action(id::kAddDictionary),
             vrk::texts::kPopupAddDictionary.section('\t', 0, 0));
    AddAlias(&menu, m_pCommands->Action(id::kRemoveDictionary), vrk::texts::kPopupRemoveDictionary,
             SelectedDictionaryCount() > 0);
    menu.exec(globalPos);
}

void CVrk3dbeView::showDictionaryMenu(const QPoint& globalPos) {
    const int selected = SelectedDictionaryCount();
    if (selected == 0) return;
    // Export only for one dictionary whose flags allow it.
    const bool exportAllowed = SelectedExportAllowed();
    m_pCommands->UpdateStates();
    QMenu menu(vrk::texts::kMenuDictionary, this);
    menu.setObjectName(QStringLiteral("dictionaryMenu"));
    AddAlias(&menu, m_pCommands->Action(id::kDictionaryInfo), {}, selected == 1);
    AddAlias(&menu, m_pCommands->Action(id::kNewDictionary));
    AddAlias(&menu, m_pCommands->Action(id::kImport));
    AddAlias(&menu, m_pCommands->Action(id::kExport), {}, exportAllowed);
    QMenu* change = menu.addMenu(vrk::texts::kMenuChange);
    AddAlias(change, m_pCommands->Action(id::kChangeData), {}, selected == 1);
    for (int command : {id::kSecurity, id::kRemapLetters, id::kSetPicture})
        AddAlias(change, m_pCommands->Action(command));
    menu.exec(globalPos);
}
