// The commands that change every selected dictionary: security settings,
// picture and letter remapping.

#include "manager/dict_data_dlg.h"
#include "manager/dictionary_commands.h"
#include "manager/dictionary_list.h"
#include "manager/job_thread.h"
#include "manager/last_dirs.h"
#include "manager/manager_texts.h"
#include "manager/password_dlg.h"
#include "manager/picture_file.h"
#include "manager/remap_letter_dlg.h"
#include "manager/security_dlg.h"
#include "manager/user_path.h"
#include "store/data_file.h"
#include "ui/cp1250_text.h"
#include "ui/file_dialog.h"
#include "ui/message_box.h"
#include "ui/temp_dir_dlg.h"
#include "ui/wait_cursor.h"

namespace {

constexpr std::size_t kKeptTextBuffer = 100000;

// The texts SetInfo keeps when only the security settings change.
struct TKeptTexts {
    std::string name, author, notes;
    bool Read(vrk::TDataFile& file) {
        return file.GetName(name, kKeptTextBuffer) && file.GetAuthor(author, kKeptTextBuffer) &&
               file.GetNotes(notes, kKeptTextBuffer);
    }
};

}  // namespace

void TDictionaryCommands::SecuritySettings() {
    const std::vector<QTreeWidgetItem*> rows = m_host.Selection().rows;
    if (rows.empty()) return;
    vrk::TScratchSet backups;
    if (!m_host.ScratchFiles(backups)) return;
    if (rows.size() == 1)
        securityForOne(rows.front(), backups);
    else
        securityForMany(rows, backups);
}

void TDictionaryCommands::securityForOne(QTreeWidgetItem* row, const vrk::TScratchSet& backups) {
    const QString name = row->text(kColName);
    vrk::TDataFile file = backups.Open(RowPath(row));
    std::string password;
    const std::int32_t flags = file.GetPassword(password, kKeptTextBuffer) ? file.GetFlags() : -1;
    if (flags < 0) {
        vrk::ShowError(m_host.Window(), vrk::texts::kFileError);
        return;
    }
    if (!Unlocked(m_host.Window(), file, flags, name, vrk::texts::kSecurityRefused,
                  vrk::texts::kFileError))
        return;
    CSecurityDlg dialog(m_host.Window());
    dialog.m_settings = {(flags & kFlagProtected) != 0, (flags & kFlagChanges) != 0,
                         (flags & kFlagExport) != 0, vrk::FromCp1250(password)};
    TKeptTexts kept;
    if (!kept.Read(file)) {
        vrk::ShowError(m_host.Window(), vrk::texts::kFileError);
        return;
    }
    if (dialog.exec() != QDialog::Accepted) return;
    TWaitCursor wait;
    if (!file.SetInfo(kept.name, kept.author, kept.notes, HeaderBytes(dialog.m_settings.password),
                      dialog.m_settings.Flags())) {
        wait.Release();
        vrk::ShowError(m_host.Window(), vrk::texts::kSecurityNotChanged);
    }
}

void TDictionaryCommands::securityForMany(const std::vector<QTreeWidgetItem*>& rows,
                                          const vrk::TScratchSet& backups) {
    // One dialog sets the same settings for all; each protected dictionary
    // is unlocked with its own password.
    CSecurityDlg dialog(m_host.Window());
    dialog.m_settings = {false, true, true, {}};
    if (dialog.exec() != QDialog::Accepted) return;
    const std::string password = HeaderBytes(dialog.m_settings.password);
    for (QTreeWidgetItem* row : rows) {
        const QString name = row->text(kColName);
        vrk::TDataFile file = backups.Open(RowPath(row));
        const std::int32_t flags = file.GetFlags();
        if (flags < 0) {
            vrk::ShowError(m_host.Window(), vrk::texts::kFileError);
            continue;
        }
        if (!Unlocked(m_host.Window(), file, flags, name, vrk::texts::kSecurityRefused,
                      vrk::texts::kFileError))
            continue;
        TKeptTexts kept;
        if (!kept.Read(file)) {
            vrk::ShowError(m_host.Window(), vrk::texts::kFileError);
            continue;
        }
        TWaitCursor wait;
        if (!file.SetInfo(kept.name, kept.author, kept.notes, password,
                          dialog.m_settings.Flags())) {
            wait.Release();
            vrk::ShowError(m_host.Window(), vrk::texts::kSecurityNotChangedMany);
        }
    }
}

void TDictionaryCommands::SetPicture() {
    const std::vector<QTreeWidgetItem*> rows = m_host.Selection().rows;
    if (rows.empty()) return;
    vrk::TScratchSet backups;
    if (!m_host.ScratchFiles(backups)) return;
    vrk::TFileDialogRequest request;
    request.directory = ReadLastDir("ImageDir");
    request.filter = vrk::texts::kPictureFilter;
    request.fileName = vrk::texts::kPictureFileName;
    const vrk::TFileDialogResult chosen = vrk::GetOpenFiles(m_host.Window(), request);
    if (chosen.files.isEmpty()) return;
    StoreLastDir("ImageDir", chosen.directory);
    std::string picture;
    bool read = false;
    {
        TWaitCursor wait;
        read = ReadPictureFile(vrk::PathBytes(AbsoluteUserPath(chosen.files.first())), picture);
    }
    if (!read) {
        vrk::ShowError(m_host.Window(), vrk::texts::kCannotOpenFile);
        return;
    }
    for (QTreeWidgetItem* row : rows) {
        const QString name = row->text(kColName);
        vrk::TDataFile file = backups.Open(RowPath(row));
        const std::int32_t flags = file.GetFlags();
        if (flags < 0) {
            vrk::ShowError(m_host.Window(), vrk::texts::kDamagedDictionary.arg(name));
            continue;
        }
        if (!Unlocked(m_host.Window(), file, flags, name, vrk::texts::kPictureRefused,
                      vrk::texts::kDamagedDictionary.arg(name)))
            continue;
        TWaitCursor wait;
        if (!file.SetPicture(picture)) {
            wait.Release();
            vrk::ShowError(m_host.Window(), vrk::texts::kPictureFailed.arg(name));
        }
    }
}

void TDictionaryCommands::RemapLetters() {
    const std::vector<QTreeWidgetItem*> rows = m_host.Selection().rows;
    if (rows.empty()) return;
    vrk::TScratchSet backups;
    if (!m_host.ScratchFiles(backups)) return;
    CRemapLetterDlg dialog(m_host.Window());
    if (dialog.exec() != QDialog::Accepted) return;
    TJobHandOver job;
    job.nJob = kJobRemapLetter;
    job.chJobParam = dialog.m_chFrom;
    job.chJobParam2 = dialog.m_chTo;
    // One job after the other: each has ended before the next starts, also
    // after a failure or a cancel.
    for (QTreeWidgetItem* row : rows) {
        const QString name = row->text(kColName);
        {
            // Remapping changes every entry: it keeps to "changes allowed"
            // and to the password, as the other changes do.
            vrk::TDataFile file = backups.Open(RowPath(row));
            const std::int32_t flags = file.GetFlags();
            if (flags < 0) {
                vrk::ShowWarning(m_host.Window(), vrk::texts::kRemapFailed);
                continue;
            }
            if (!(flags & kFlagChanges)) {
                vrk::ShowMessage(m_host.Window(), vrk::texts::kDictionaryKeepsAsItIs.arg(name),
                                 vrk::TMsgIcon::kNone);
                continue;
            }
            if (!Unlocked(m_host.Window(), file, flags, name, vrk::texts::kRemapRefused,
                          vrk::texts::kFileError))
                continue;
        }
        job.strJobDataFile = RowPath(row);
        (void)RunJob(m_host.Window(), job, vrk::texts::kJobRemap.arg(name));
    }
}
