// The commands on a dictionary's header data: the new-dictionary wizard, the
// information window and the data dialog.

#include "manager/dictionary_commands.h"
#include "manager/dict_data_dlg.h"
#include "manager/dictionary_list.h"
#include "manager/last_dirs.h"
#include "manager/manager_texts.h"
#include "manager/new_dict_dlg.h"
#include "manager/new_file.h"
#include "manager/password_dlg.h"
#include "manager/user_path.h"
#include "settings/library_registry.h"
#include "store/data_file.h"
#include "ui/cp1250_text.h"
#include "ui/dict_info_dlg.h"
#include "ui/file_dialog.h"
#include "ui/icons.h"
#include "ui/message_box.h"
#include "ui/temp_dir_dlg.h"
#include "ui/wait_cursor.h"

namespace {

// Header texts are read with buffers of this size (99 999 characters), the
// list's name and author with the smaller one.
constexpr std::size_t kHeaderBuffer = 100000;
constexpr std::size_t kListTextBuffer = 500;

}  // namespace

bool TDictionaryCommands::registerNewDictionary(QTreeWidgetItem* library, const std::string& path) {
    const vrk::TLibraryResult result = vrk::AddLibraryDictionary(LibraryKeyPath(library), path);
    if (result == vrk::TLibraryResult::kOk || result == vrk::TLibraryResult::kAlreadyMember)
        return true;
    vrk::ShowError(m_host.Window(), vrk::texts::kRegistryUnknownError);
    return false;
}

bool TDictionaryCommands::replaceUnlocked(const std::string& path,
                                          const vrk::TScratchSet& backups) {
    vrk::TDataFile file = backups.Open(path);
    const std::int32_t flags = file.GetFlags();
    if (flags < 0) {
        // No file there, or no dictionary: nothing protected is replaced.
        const vrk::TFailure failure = file.LastFailure();
        if (failure == vrk::TFailure::NotFound || failure == vrk::TFailure::Damaged) return true;
        vrk::ShowError(m_host.Window(), vrk::texts::kFileError);
        return false;
    }
    if (!(flags & kFlagProtected)) return true;
    std::string name;
    if (!file.GetName(name, kListTextBuffer)) name.clear();
    return Unlocked(m_host.Window(), file, flags, vrk::FromCp1250(name),
                    vrk::texts::kReplaceRefused, vrk::texts::kFileError);
}

void TDictionaryCommands::NewDictionary() {
    QTreeWidgetItem* library = m_host.Selection().library;
    if (!library) return;
    // The pages live for the whole wizard, so going back keeps what was typed.
    CNewDictPage1Dlg page1(m_host.Window());
    CNewDictPage2Dlg page2(m_host.Window());
    for (;;) {
        if (page1.exec() != QDialog::Accepted) return;
        const int result = page2.exec();
        if (result == QDialog::Accepted) break;
        if (result != kWizardBack) return;
    }
    vrk::TFileDialogRequest request;
    request.directory = ReadLastDir("NewDFDir");
    request.filter = vrk::texts::kDictionaryFilter;
    request.fileName = vrk::texts::kDictionaryFileName;
    request.defaultSuffix = vrk::texts::kDictionarySuffix;
    const vrk::TFileDialogResult chosen = vrk::GetSaveFile(m_host.Window(), request);
    if (chosen.files.isEmpty()) return;
    const QString target = DictionaryUserPath(chosen.files.first());
    StoreLastDir("NewDFDir", FolderOf(target));
    vrk::TScratchSet backups;
    if (!m_host.ScratchFiles(backups)) return;

    TMemberRow row;
    row.path = vrk::PathBytes(target);
    if (!replaceUnlocked(row.path, backups)) return;
    row.name = HeaderBytes(page1.m_texts.name);
    row.author = HeaderBytes(page1.m_texts.author);
    const TSecuritySettings& security = page2.m_settings;
    {
        // The new dictionary is made and filled beside the chosen file and
        // takes its place only when it is complete: a failure leaves a
        // dictionary that was there as it was.
        TWaitCursor wait;
        vrk::TDataFile placed = backups.Open(row.path);
        std::string newPath;
        if (!placed.CreateEmptyBeside(newPath)) {
            wait.Release();
            vrk::ShowError(m_host.Window(), vrk::texts::kCreateFailed);
            return;
        }
        TNewFile made(newPath);
        vrk::TDataFile file = backups.Open(newPath);
        if (!file.SetInfo(row.name, row.author, HeaderBytes(page1.m_texts.notes),
                          HeaderBytes(security.password), security.Flags())) {
            wait.Release();
            vrk::ShowError(m_host.Window(), vrk::texts::kInfoWriteFailed);
            return;
        }
        if (!placed.ReplaceWith(newPath)) {
            wait.Release();
            vrk::ShowError(m_host.Window(), vrk::texts::kCreateFailed);
            return;
        }
        made.Placed();
    }
    if (registerNewDictionary(library, row.path)) m_host.ListDictionary(row, true);
}

void TDictionaryCommands::DictionaryInfo() {
    const std::vector<QTreeWidgetItem*> rows = m_host.Selection().rows;
    if (rows.size() != 1) return;
    vrk::TScratchSet backups;
    if (!m_host.ScratchFiles(backups)) return;
    QTreeWidgetItem* row = rows.front();
    TWaitCursor wait;
    vrk::TDataFile file = backups.Open(RowPath(row));
    std::string notes;
    if (!file.GetNotes(notes, kHeaderBuffer)) notes.clear();
    QString picturePath;
    const std::int32_t size = file.GetPictureSize();
    std::string picture;
    if (size > 0 && file.GetPicture(picture, static_cast<std::size_t>(size)))
        picturePath = vrk::WriteInfoPicture(m_host.BackupDir(), picture);
    vrk::CDictInfoDlg dialog(row->text(kColName), row->text(kColAuthor), vrk::FromCp1250(notes),
                             picturePath, vrk::bitmap::kManagerNoPicture, m_host.Window());
    wait.Release();
    dialog.exec();
}

void TDictionaryCommands::ChangeDictionaryData() {
    const std::vector<QTreeWidgetItem*> rows = m_host.Selection().rows;
    if (rows.size() != 1) return;
    vrk::TScratchSet backups;
    if (!m_host.ScratchFiles(backups)) return;
    QTreeWidgetItem* row = rows.front();
    const QString listName = row->text(kColName);
    vrk::TDataFile file = backups.Open(RowPath(row));
    const std::int32_t flags = file.GetFlags();
    if (flags < 0) {
        vrk::ShowError(m_host.Window(), vrk::texts::kFileError);
        return;
    }
    if (!Unlocked(m_host.Window(), file, flags, listName, vrk::texts::kDataRefused,
                  vrk::texts::kFileError))
        return;
    std::string name, author, notes, password;
    if (!file.GetName(name, kHeaderBuffer) || !file.GetAuthor(author, kHeaderBuffer) ||
        !file.GetNotes(notes, kHeaderBuffer) || !file.GetPassword(password, kHeaderBuffer)) {
        vrk::ShowError(m_host.Window(), vrk::texts::kFileError);
        return;
    }
    CDictDataDlg dialog(m_host.Window());
    dialog.m_texts = {vrk::FromCp1250(name), vrk::FromCp1250(author), vrk::FromCp1250(notes)};
    if (dialog.exec() != QDialog::Accepted) return;
    TWaitCursor wait;
    if (!file.SetInfo(HeaderBytes(dialog.m_texts.name), HeaderBytes(dialog.m_texts.author),
                      HeaderBytes(dialog.m_texts.notes), password, flags)) {
        wait.Release();
        vrk::ShowError(m_host.Window(), vrk::texts::kDataNotChanged);
        return;
    }
    if (file.GetAuthor(author, kListTextBuffer)) row->setText(kColAuthor, vrk::FromCp1250(author));
    if (file.GetName(name, kListTextBuffer)) row->setText(kColName, vrk::FromCp1250(name));
}
