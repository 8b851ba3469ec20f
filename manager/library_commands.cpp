// The library and dictionary commands of the view, and its pop-up menus.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <QTreeWidgetItemIterator>
#include <functional>

#include "manager/dictionary_list.h"
#include "manager/last_dirs.h"
#include "manager/manager_ids.h"
#include "manager/manager_texts.h"
#include "manager/stored_text.h"
#include "manager/user_path.h"
#include "manager/vrk3dbe_view.h"
#include "settings/library_registry.h"
#include "settings/reg_key.h"
#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"
#include "store/data_file.h"
#include "store/same_file.h"
#include "ui/commands.h"
#include "ui/cp1250_text.h"
#include "ui/file_dialog.h"
#include "ui/message_box.h"
#include "ui/temp_dir_dlg.h"

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

// --- Libraries ----------------------------------------------------------------

void CVrk3dbeView::NewLibrary() {
    const QTreeWidgetItem* selected = SelectedLibrary();
    CreateLibrary(selected ? selected->parent() : nullptr);
}

void CVrk3dbeView::NewSubLibrary() {
    if (QTreeWidgetItem* selected = SelectedLibrary()) CreateLibrary(selected);
}

void CVrk3dbeView::CreateLibrary(QTreeWidgetItem* parent) {
    std::string name;
    if (vrk::CreateNewLibrary(GetLibraryKeyPath(parent), name) != vrk::TLibraryResult::kOk) {
        vrk::ShowError(this, texts::kRegistryError);
        return;
    }
    auto* item = new QTreeWidgetItem;
    item->setText(0, vrk::FromCp1250(name));
    item->setData(0, kNameBytesRole, QByteArray::fromStdString(name));
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    setImage(item, kImageLibrary);
    if (parent) {
        parent->addChild(item);
        parent->setExpanded(true);
        setImage(parent, kImageLibraryOpen);
    } else {
        m_pTree->addTopLevelItem(item);
    }
    m_pTree->scrollToItem(item);
    m_pTree->setCurrentItem(item);
    m_pTree->setFocus();
    m_pTree->editItem(item, 0);
}

void CVrk3dbeView::RenameLibrary() {
    if (QTreeWidgetItem* selected = SelectedLibrary()) {
        m_pTree->setFocus();
        m_pTree->editItem(selected, 0);
    }
}

void CVrk3dbeView::renameCommitted(QTreeWidgetItem* item, const QString& text) {
    if (!item) return;
    const std::string oldName = item->data(0, kNameBytesRole).toByteArray().toStdString();
    if (text.contains('\\')) {
        vrk::ShowWarning(this, texts::kBackslashInName);
        return;
    }
    if (!CheckStorable(this, text)) return;
    const std::string newName = vrk::ToCp1250(text);
    if (newName.empty() || newName == oldName) return;
    // The name check and the rename are one settings transaction, so a name
    // another program takes meanwhile is refused too.
    if (vrk::RenameLibraryKey(GetLibraryKeyPath(item), newName) != vrk::TLibraryResult::kOk) {
        vrk::ShowMessage(this, texts::kNameExists, vrk::TMsgIcon::kNone);
        return;
    }
    item->setText(0, vrk::FromCp1250(newName));
    item->setData(0, kNameBytesRole, QByteArray::fromStdString(newName));
}

bool CVrk3dbeView::libraryHoldsAnything(const std::string& keyPath) const {
    vrk::TRegKey key;
    if (vrk::TRegKey::Open(vrk::TRoot::kCurrentUser, keyPath, vrk::TAccess::kRead, key) !=
        vrk::TRegResult::kOk)
        return false;
    std::string sub;
    if (key.EnumKey(0, sub) != vrk::TRegResult::kNoMoreItems) return true;
    vrk::TRegValue value;
    for (std::uint32_t i = 0; key.EnumValue(i, value) == vrk::TRegResult::kOk; ++i)
        if (value.type == vrk::TValueType::kString && !value.name.empty()) return true;
    return false;
}

void CVrk3dbeView::RemoveLibrary() {
    QTreeWidgetItem* library = SelectedLibrary();
    if (!library) return;
    int libraries = 0;
    for (QTreeWidgetItemIterator it(m_pTree); *it; ++it) ++libraries;
    if (libraries < 2) {
        vrk::ShowMessage(this, texts::kCannotRemoveAll, vrk::TMsgIcon::kNone);
        return;
    }
    // Asked from what the store holds: the list may be older than the
    // library, and sub-libraries may have come from another program.
    const std::string keyPath = GetLibraryKeyPath(library);
    if ((library->childCount() > 0 || libraryHoldsAnything(keyPath)) &&
        vrk::ShowMessage(this, texts::kLibraryNotEmpty, vrk::TMsgIcon::kWarning,
                         vrk::TMsgButtons::kYesNo, vrk::TMsgAnswer::kNo) != vrk::TMsgAnswer::kYes)
        return;
    std::string_view parentPath, name;
    vrk::SplitLibraryKeyPath(keyPath, parentPath, name);
    if (!vrk::MoveLibraryKey(parentPath, name)) {
        vrk::ShowError(this, texts::kCannotRemoveLibrary);
        return;
    }
    QTreeWidgetItem* parent = library->parent();
    delete library;
    if (parent && parent->childCount() == 0) setImage(parent, kImageLibrary);
    if (!SelectedLibrary() && m_pTree->currentItem()) m_pTree->currentItem()->setSelected(true);
    if (!SelectedLibrary()) Refresh();
}

// --- Dictionaries -------------------------------------------------------------

void CVrk3dbeView::AddDictionaries() {
    QTreeWidgetItem* library = SelectedLibrary();
    if (!library) return;
    vrk::TFileDialogRequest request;
    request.multiple = true;
    request.filter = texts::kDictionaryFilter;
    request.fileName = texts::kDictionaryFileName;
    request.directory = ReadLastDir("AddDFDir");
    const vrk::TFileDialogResult chosen = vrk::GetOpenFiles(this, request);
    if (chosen.files.isEmpty()) return;
    StoreLastDir("AddDFDir", FolderOf(chosen.files.first()));
    vrk::TScratchSet backups;
    if (!vrk::GetBackupPaths(this, vrk::kManagerScratch, backups, &m_strBackupDir)) return;

    const std::string keyPath = GetLibraryKeyPath(library);
    for (const QString& file : chosen.files) {
        const std::string path = vrk::PathBytes(AbsoluteUserPath(file));
        vrk::TRegKey key;
        if (vrk::TRegKey::Open(vrk::TRoot::kCurrentUser, keyPath, vrk::TAccess::kFull, key) !=
            vrk::TRegResult::kOk) {
            vrk::ShowError(this, texts::kRegistryError);
            return;
        }
        vrk::TRegValue existing;
        if (key.QueryValue(path, existing) == vrk::TRegResult::kOk &&
            existing.type == vrk::TValueType::kString) {
            vrk::ShowMessage(this, texts::kAlreadyMember, vrk::TMsgIcon::kNone);
            return;
        }
        // Read before it is added: a file that is no dictionary never
        // becomes a member.
        const TMemberRow row = ReadMember(path, backups);
        if (row.state == TMemberState::kGone) {
            vrk::ShowError(this, texts::kNotADictionary);
            return;
        }
        if (row.state == TMemberState::kUnavailable) {
            vrk::ShowError(this, texts::kUnavailableChosen);
            return;
        }
        if (vrk::AddLibraryDictionary(keyPath, path) != vrk::TLibraryResult::kOk) {
            vrk::ShowError(this, texts::kRegistryError);
            return;
        }
        QTreeWidgetItem* item = MakeDictionaryRow(row);
        m_pList->AddRows({item});
        item->setSelected(true);
    }
}

void CVrk3dbeView::RemoveDictionaries() {
    QTreeWidgetItem* library = SelectedLibrary();
    if (!library || SelectedDictionaryCount() == 0) return;
    const std::string keyPath = GetLibraryKeyPath(library);
    vrk::TRegKey key;
    if (vrk::TRegKey::Open(vrk::TRoot::kCurrentUser, keyPath, vrk::TAccess::kFull, key) !=
        vrk::TRegResult::kOk) {
        vrk::ShowError(this, texts::kRegistryError);
        return;
    }
    for (const std::string& path : SelectedPaths()) {
        if (key.DeleteValue(path) != vrk::TRegResult::kOk) {
            vrk::ShowError(this, texts::kRegistryError);
            FillDictionaryList(keyPath);
            emit SelectionChanged();
            return;
        }
    }
    qDeleteAll(m_pList->selectedItems());
    emit SelectionChanged();
}

QString CVrk3dbeView::libraryHolding(const std::string& path) const {
    vrk::TLibraryNode groups;
    (void)vrk::ReadLibraryTree(groups);
    // Depth first, as the tree shows them; the members of Groups itself
    // belong to no library.
    std::function<QString(const vrk::TLibraryNode&)> find = [&](const vrk::TLibraryNode& node) {
        for (const vrk::TLibraryNode& library : node.children) {
            for (const std::string& member : library.dictionaries)
                if (vrk::IsSameFile(member, path)) return vrk::FromCp1250(library.name);
            if (QString inside = find(library); !inside.isEmpty()) return inside;
        }
        return QString();
    };
    return find(groups);
}

// --- Pop-up menus -------------------------------------------------------------

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
    QMenu menu(texts::kMenuLibrary, this);
    menu.setObjectName(QStringLiteral("libraryMenu"));
    for (int command :
         {id::kNewLibrary, id::kNewSubLibrary, id::kRenameLibrary, id::kRemoveLibrary})
        AddAlias(&menu, m_pCommands->Action(command));
    menu.addSeparator();
    AddAlias(&menu, m_pCommands->Action(id::kAddDictionary),
             texts::kPopupAddDictionary.section('\t', 0, 0));
    AddAlias(&menu, m_pCommands->Action(id::kRemoveDictionary), texts::kPopupRemoveDictionary,
             SelectedDictionaryCount() > 0);
    menu.exec(globalPos);
}

void CVrk3dbeView::showDictionaryMenu(const QPoint& globalPos) {
    const int selected = SelectedDictionaryCount();
    if (selected == 0) return;
    // Export only for one dictionary whose flags allow it.
    const bool exportAllowed = SelectedExportAllowed();
    m_pCommands->UpdateStates();
    QMenu menu(texts::kMenuDictionary, this);
    menu.setObjectName(QStringLiteral("dictionaryMenu"));
    AddAlias(&menu, m_pCommands->Action(id::kDictionaryInfo), {}, selected == 1);
    AddAlias(&menu, m_pCommands->Action(id::kNewDictionary));
    AddAlias(&menu, m_pCommands->Action(id::kImport));
    AddAlias(&menu, m_pCommands->Action(id::kExport), {}, exportAllowed);
    QMenu* change = menu.addMenu(texts::kMenuChange);
    AddAlias(change, m_pCommands->Action(id::kChangeData), {}, selected == 1);
    for (int command : {id::kSecurity, id::kRemapLetters, id::kSetPicture})
        AddAlias(change, m_pCommands->Action(command));
    menu.exec(globalPos);
}
