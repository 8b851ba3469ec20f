// The library commands and adding and removing dictionaries.
#include "manager/library_commands.h"

#include "manager/dictionary_list.h"
#include "manager/last_dirs.h"
#include "manager/manager_texts.h"
#include "manager/stored_text.h"
#include "manager/user_path.h"
#include "settings/library_registry.h"
#include "settings/reg_key.h"
#include "settings/registry_helpers.h"
#include "ui/cp1250_text.h"
#include "ui/file_dialog.h"
#include "ui/message_box.h"
#include "ui/temp_dir_dlg.h"

namespace {

// Whether the library at `keyPath` holds sub-libraries or members.
bool LibraryHoldsAnything(const std::string& keyPath) {
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

}  // namespace

// --- Libraries ----------------------------------------------------------------

void TLibraryCommands::NewLibrary() {
    const QTreeWidgetItem* selected = m_host.Selection().library;
    CreateLibrary(selected ? selected->parent() : nullptr);
}

void TLibraryCommands::NewSubLibrary() {
    if (QTreeWidgetItem* selected = m_host.Selection().library) CreateLibrary(selected);
}

void TLibraryCommands::CreateLibrary(QTreeWidgetItem* parent) {
    std::string name;
    if (vrk::CreateNewLibrary(LibraryKeyPath(parent), name) != vrk::TLibraryResult::kOk) {
        vrk::ShowError(m_host.Window(), vrk::texts::kRegistryUnknownError);
        return;
    }
    m_host.InsertLibrary(parent, MakeLibraryItem(name));
}

void TLibraryCommands::RenameLibrary() {
    if (QTreeWidgetItem* selected = m_host.Selection().library) m_host.EditLibraryName(selected);
}

void TLibraryCommands::RenameCommitted(QTreeWidgetItem* item, const QString& text) {
    if (!item) return;
    const std::string oldName = item->data(0, kNameBytesRole).toByteArray().toStdString();
    if (text.contains('\\')) {
        vrk::ShowWarning(m_host.Window(), vrk::texts::kBackslashInName);
        return;
    }
    if (!CheckStorable(m_host.Window(), text)) return;
    const std::string newName = vrk::ToCp1250(text);
    if (newName.empty() || newName == oldName) return;
    // The name check and the rename are one settings transaction, so a name
    // another program takes meanwhile is refused too.
    if (vrk::RenameLibraryKey(LibraryKeyPath(item), newName) != vrk::TLibraryResult::kOk) {
        vrk::ShowMessage(m_host.Window(), vrk::texts::kNameExists, vrk::TMsgIcon::kNone);
        return;
    }
    item->setText(0, vrk::FromCp1250(newName));
    item->setData(0, kNameBytesRole, QByteArray::fromStdString(newName));
}

void TLibraryCommands::RemoveLibrary() {
    QTreeWidgetItem* library = m_host.Selection().library;
    if (!library) return;
    if (m_host.LibraryCount() < 2) {
        vrk::ShowMessage(m_host.Window(), vrk::texts::kCannotRemoveAll, vrk::TMsgIcon::kNone);
        return;
    }
    // Asked from what the store holds: the list may be older than the
    // library, and sub-libraries may have come from another program.
    const std::string keyPath = LibraryKeyPath(library);
    if ((library->childCount() > 0 || LibraryHoldsAnything(keyPath)) &&
        vrk::ShowMessage(m_host.Window(), vrk::texts::kLibraryNotEmpty, vrk::TMsgIcon::kWarning,
                         vrk::TMsgButtons::kYesNo, vrk::TMsgAnswer::kNo) != vrk::TMsgAnswer::kYes)
        return;
    std::string_view parentPath, name;
    vrk::SplitLibraryKeyPath(keyPath, parentPath, name);
    if (!vrk::MoveLibraryKey(parentPath, name)) {
        vrk::ShowError(m_host.Window(), vrk::texts::kCannotRemoveLibrary);
        return;
    }
    m_host.RemoveLibraryItem(library);
}

// --- Dictionaries -------------------------------------------------------------

void TLibraryCommands::AddDictionaries() {
    QTreeWidgetItem* library = m_host.Selection().library;
    if (!library) return;
    vrk::TFileDialogRequest request;
    request.multiple = true;
    request.filter = vrk::texts::kDictionaryFilter;
    request.fileName = vrk::texts::kDictionaryFileName;
    request.directory = ReadLastDir("AddDFDir");
    const vrk::TFileDialogResult chosen = vrk::GetOpenFiles(m_host.Window(), request);
    if (chosen.files.isEmpty()) return;
    StoreLastDir("AddDFDir", FolderOf(chosen.files.first()));
    vrk::TScratchSet backups;
    if (!m_host.ScratchFiles(backups)) return;

    const std::string keyPath = LibraryKeyPath(library);
    for (const QString& file : chosen.files) {
        const std::string path = vrk::PathBytes(AbsoluteUserPath(file));
        vrk::TRegKey key;
        if (vrk::TRegKey::Open(vrk::TRoot::kCurrentUser, keyPath, vrk::TAccess::kFull, key) !=
            vrk::TRegResult::kOk) {
            vrk::ShowError(m_host.Window(), vrk::texts::kRegistryUnknownError);
            return;
        }
        vrk::TRegValue existing;
        if (key.QueryValue(path, existing) == vrk::TRegResult::kOk &&
            existing.type == vrk::TValueType::kString) {
            vrk::ShowMessage(m_host.Window(), vrk::texts::kAlreadyMember, vrk::TMsgIcon::kNone);
            return;
        }
        // Read before it is added: a file that is no dictionary never
        // becomes a member.
        const TMemberRow row = ReadMember(path, backups);
        if (row.state == TMemberState::kGone) {
            vrk::ShowError(m_host.Window(), vrk::texts::kChosenNotADictionary);
            return;
        }
        if (row.state == TMemberState::kUnavailable) {
            vrk::ShowError(m_host.Window(), vrk::texts::kUnavailableChosen);
            return;
        }
        if (vrk::AddLibraryDictionary(keyPath, path) != vrk::TLibraryResult::kOk) {
            vrk::ShowError(m_host.Window(), vrk::texts::kRegistryUnknownError);
            return;
        }
        m_host.ListDictionary(row, false);
    }
}

void TLibraryCommands::RemoveDictionaries() {
    const TSelection selection = m_host.Selection();
    QTreeWidgetItem* library = selection.library;
    if (!library || selection.rows.empty()) return;
    const std::string keyPath = LibraryKeyPath(library);
    vrk::TRegKey key;
    if (vrk::TRegKey::Open(vrk::TRoot::kCurrentUser, keyPath, vrk::TAccess::kFull, key) !=
        vrk::TRegResult::kOk) {
        vrk::ShowError(m_host.Window(), vrk::texts::kRegistryUnknownError);
        return;
    }
    for (const QTreeWidgetItem* row : selection.rows) {
        const std::string path = RowPath(row);
        if (key.DeleteValue(path) != vrk::TRegResult::kOk) {
            vrk::ShowError(m_host.Window(), vrk::texts::kRegistryUnknownError);
            m_host.ListAgain();
            return;
        }
    }
    m_host.RemoveSelectedRows();
}
