// Import from and export to the older formats, as jobs.
#include <QFileInfo>
#include <functional>

#include "manager/dict_data_dlg.h"
#include "manager/dictionary_commands.h"
#include "manager/dictionary_list.h"
#include "manager/export_file_dlg.h"
#include "manager/format_choice.h"
#include "manager/import_dlg.h"
#include "manager/job_thread.h"
#include "manager/last_dirs.h"
#include "manager/manager_texts.h"
#include "manager/new_file.h"
#include "manager/security_dlg.h"
#include "manager/user_path.h"
#include "settings/library_registry.h"
#include "store/data_file.h"
#include "store/file_io.h"
#include "store/same_file.h"
#include "ui/cp1250_text.h"
#include "ui/message_box.h"
#include "ui/temp_dir_dlg.h"
#include "ui/wait_cursor.h"

namespace {

// The description separator of the older dictionary formats when they are
// imported.
constexpr char kImportSeparator = 2;

// The name of a library holding the dictionary at `path`; empty when none
// does.
QString LibraryHolding(const std::string& path) {
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

}  // namespace

void TDictionaryCommands::Import() {
    QTreeWidgetItem* library = m_host.Selection().library;
    if (!library) return;
    CImportDlg dialog(m_host.Window());
    if (dialog.exec() != QDialog::Accepted) return;
    const std::string target = vrk::PathBytes(dialog.m_strNewFile);
    TJobHandOver job;
    job.strJobOtherFile = vrk::PathBytes(dialog.m_strExistingFile);
    const TOlderFormat format = ImportFormat(dialog.m_strExistingFile);
    QString text;
    switch (format) {
        case TOlderFormat::kSecondGen:
            job.nJob = kJobImportSecondGen;
            job.chJobParam = kImportSeparator;
            text = vrk::texts::kJobImportSecondGen;
            break;
        case TOlderFormat::kCsv:
            job.nJob = kJobImportCsv;
            text = vrk::texts::kJobImportCsv;
            break;
        case TOlderFormat::kFirstGen:
            job.nJob = kJobImportFirstGen;
            job.chJobParam = kImportSeparator;
            text = vrk::texts::kJobImportFirstGen;
            break;
    }
    vrk::TScratchSet backups;
    if (!m_host.ScratchFiles(backups)) return;
    if (!replaceUnlocked(target, backups)) return;

    // The import fills a new file beside the target, which replaces the
    // target only once the import and its data are complete: a failure, a
    // cancel or a change of mind leaves whatever was there.
    vrk::TDataFile placed = backups.Open(target);
    if (!placed.CreateEmptyBeside(job.strJobDataFile)) {
        vrk::ShowWarning(m_host.Window(), vrk::texts::kImportFailed);
        return;
    }
    TNewFile made(job.strJobDataFile);
    if (!RunJob(m_host.Window(), job, text)) return;
    if (job.counts.separators > 0 || job.counts.cut > 0)
        vrk::ShowMessage(
            m_host.Window(),
            vrk::texts::kImportChangedTexts.arg(job.counts.separators).arg(job.counts.cut),
            vrk::TMsgIcon::kInformation);
    // The older formats but the second generation carry no header data.
    if (format != TOlderFormat::kSecondGen) {
        CDictDataDlg data(m_host.Window());
        if (data.exec() != QDialog::Accepted) return;
        TWaitCursor wait;
        vrk::TDataFile file = backups.Open(job.strJobDataFile);
        if (!file.SetInfo(HeaderBytes(data.m_texts.name), HeaderBytes(data.m_texts.author),
                          HeaderBytes(data.m_texts.notes), "", kFlagChanges | kFlagExport)) {
            wait.Release();
            vrk::ShowError(m_host.Window(), vrk::texts::kImportInfoFailed);
            return;
        }
    }
    {
        TWaitCursor wait;
        if (!placed.ReplaceWith(job.strJobDataFile)) {
            wait.Release();
            vrk::ShowError(m_host.Window(), vrk::texts::kCreateFailed);
            return;
        }
    }
    made.Placed();
    if (!registerNewDictionary(library, target)) return;
    const TMemberRow row = ReadMember(target, backups);
    if (row.state != TMemberState::kListed) {
        vrk::ShowError(m_host.Window(), vrk::texts::kChosenNotADictionary);
        return;
    }
    m_host.ListDictionary(row, true);
}

void TDictionaryCommands::Export() {
    const std::vector<QTreeWidgetItem*> rows = m_host.Selection().rows;
    if (rows.size() != 1) return;
    const std::string dictionary = RowPath(rows.front());
    vrk::TFileDialogRequest request;
    request.caption = vrk::texts::kExportTitle;
    request.directory = ReadLastDir("ExportDir");
    request.filter = vrk::texts::kOlderFormatsFilter;
    request.fileName = vrk::texts::kOlderFormatFileName;
    TExportChoice choice;
    if (!CExportFileDlg::Choose(m_host.Window(), request, choice)) return;
    choice.path = AbsoluteUserPath(choice.path);
    StoreLastDir("ExportDir", FolderOf(choice.path));
    vrk::TScratchSet backups;
    if (!m_host.ScratchFiles(backups)) return;
    vrk::TDataFile file = backups.Open(dictionary);
    const std::int32_t flags = file.GetFlags();
    if (flags < 0) {
        vrk::ShowError(m_host.Window(), vrk::texts::kFileError);
        return;
    }
    if (!(flags & kFlagExport)) {
        vrk::ShowMessage(m_host.Window(), vrk::texts::kExportDisabled, vrk::TMsgIcon::kNone);
        return;
    }
    // Writing the dictionary's own file would replace it by the export.
    if (vrk::IsSameFile(dictionary, vrk::PathBytes(choice.path))) {
        vrk::ShowWarning(m_host.Window(), vrk::texts::kExportSameFile);
        return;
    }
    // A dictionary there would be lost, and dropped from its library.
    const std::string target = vrk::PathBytes(choice.path);
    if (backups.Open(target).GetFlags() >= 0) {
        const QString fileName = QFileInfo(choice.path).fileName();
        const QString library = LibraryHolding(target);
        const QString question = library.isEmpty()
                                     ? vrk::texts::kExportOverDictionary.arg(fileName)
                                     : vrk::texts::kExportOverMember.arg(fileName, library);
        if (vrk::ShowMessage(m_host.Window(), question, vrk::TMsgIcon::kWarning,
                             vrk::TMsgButtons::kYesNo,
                             vrk::TMsgAnswer::kNo) != vrk::TMsgAnswer::kYes ||
            !replaceUnlocked(target, backups))
            return;
    }
    TJobHandOver job;
    job.strJobDataFile = dictionary;
    job.strJobOtherFile = target;
    job.chJobParam = choice.separator;
    QString text;
    switch (ExportFormat(choice.path)) {
        case TOlderFormat::kSecondGen:
            job.nJob = kJobExportSecondGen;
            text = vrk::texts::kJobExportSecondGen;
            break;
        case TOlderFormat::kCsv:
            job.nJob = kJobExportCsv;
            text = vrk::texts::kJobExportCsv;
            break;
        case TOlderFormat::kFirstGen:
            job.nJob = kJobExportFirstGen;
            text = vrk::texts::kJobExportFirstGen;
            break;
    }
    if (RunJob(m_host.Window(), job, text) && job.counts.lineBreaks > 0)
        vrk::ShowMessage(m_host.Window(),
                         vrk::texts::kExportChangedTexts.arg(job.counts.lineBreaks),
                         vrk::TMsgIcon::kInformation);
}
