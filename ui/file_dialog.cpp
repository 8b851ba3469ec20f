#include "ui/file_dialog.h"

#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QTreeView>
#include <algorithm>
#include <mutex>

#include "ui/message_box.h"
#include "ui/ui_texts.h"

namespace vrk {
namespace {

std::mutex g_fileDialogHookMutex;
TFileDialogHook g_fileDialogHook;

TFileDialogResult RunFileDialog(QWidget* parent, const TFileDialogRequest& request) {
    if (auto hooked = HookedFileDialog(request)) return *hooked;
    CFileDialog dialog(parent, request);
    TFileDialogResult result;
    const bool accepted = dialog.exec() == QDialog::Accepted;
    result = dialog.Result();
    if (!accepted) result.files.clear();
    return result;
}

// Qt's file list writes sizes and dates in the desktop's locale (an English
// desktop shows "12/7/26 1:12 PM"); the programs write them in Slovene, the
// default locale they set (InstallQtTranslations).
class TSloveneFileList : public QIdentityProxyModel {
  public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !files || !index.isValid())
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        if (index.column() == kSizeColumn && !files->isDir(source))
            return QLocale().formattedDataSize(files->size(source));
        if (index.column() == kDateColumn)
            return QLocale().toString(files->lastModified(source), QLocale::ShortFormat);
        return QIdentityProxyModel::data(index, role);
    }

  private:
    static constexpr int kSizeColumn = 1;
    static constexpr int kDateColumn = 3;
};

}  // namespace

TFileDialogResult GetOpenFiles(QWidget* parent, const TFileDialogRequest& request) {
    return RunFileDialog(parent, request);
}

TFileDialogResult GetSaveFile(QWidget* parent, TFileDialogRequest request) {
    request.save = true;
    request.multiple = false;
    return RunFileDialog(parent, request);
}

TFileDialogHook SetFileDialogHook(TFileDialogHook hook) {
    std::lock_guard lock(g_fileDialogHookMutex);
    std::swap(g_fileDialogHook, hook);
    return hook;
}

std::optional<TFileDialogResult> HookedFileDialog(const TFileDialogRequest& request) {
    TFileDialogHook hook;
    {
        std::lock_guard lock(g_fileDialogHookMutex);
        hook = g_fileDialogHook;
    }
    if (!hook) return std::nullopt;
    return hook(request);
}

CFileDialog::CFileDialog(QWidget* parent, const TFileDialogRequest& request)
    : QFileDialog(parent, request.caption.isEmpty() ? ProgramCaption() : request.caption,
                  request.directory, request.filter),
      m_bSave(request.save),
      m_bConfirmOverwrite(request.confirmOverwrite) {
    setObjectName(request.save ? QStringLiteral("saveFileDialog")
                               : QStringLiteral("openFileDialog"));
    // Our own widgets: a panel can be added, and the texts and questions
    // are the program's.
    setOption(QFileDialog::DontUseNativeDialog);
    setOption(QFileDialog::DontConfirmOverwrite);
    setProxyModel(new TSloveneFileList(this));
    setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    setFileMode(request.save       ? QFileDialog::AnyFile
                : request.multiple ? QFileDialog::ExistingFiles
                                   : QFileDialog::ExistingFile);
    if (!request.defaultSuffix.isEmpty()) setDefaultSuffix(request.defaultSuffix);
    setLabelText(QFileDialog::LookIn, texts::kFileLookIn);
    setLabelText(QFileDialog::FileName, texts::kFileName);
    setLabelText(QFileDialog::FileType, texts::kFileType);
    setLabelText(QFileDialog::Accept, request.save ? texts::kFileSave : texts::kFileOpen);
    setLabelText(QFileDialog::Reject, texts::kCancel);
    if (!request.fileName.isEmpty()) selectFile(request.fileName);
}

TFileDialogResult CFileDialog::Result() const {
    TFileDialogResult result;
    result.files = selectedFiles();
    result.directory = directory().absolutePath();
    result.selectedFilter = selectedNameFilter();
    return result;
}

void CFileDialog::AddPanel(QWidget* panel) {
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
        grid->addWidget(panel, grid->rowCount(), 0, 1, grid->columnCount());
    } else if (layout()) {
        layout()->addWidget(panel);
    }
}

void CFileDialog::showEvent(QShowEvent* event) {
    QFileDialog::showEvent(event);
    // The Slovene headers are longer than the room Qt gives the columns.
    if (auto* view = findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* header = view->header();
        for (int k = 0; k < header->count(); ++k)
            header->resizeSection(k, std::max(header->sectionSize(k), header->sectionSizeHint(k)));
    }
}

bool CFileDialog::CanAccept(const QString&) {
    return true;
}

void CFileDialog::accept() {
    const QStringList files = selectedFiles();
    // A folder or a pattern typed into the name field is Qt's to handle:
    // it opens the folder or filters the list.
    const QString file = files.size() == 1 ? files.first() : QString();
    const QFileInfo info(file);
    const bool pattern = file.contains('*') || file.contains('?');
    if (!file.isEmpty() && !info.isDir() && !pattern) {
        // Said here rather than by Qt, in the program's language.
        if (!m_bSave && !info.exists()) {
            ShowWarning(this, texts::kFileMissing.arg(info.fileName()));
            return;
        }
        if (!CanAccept(file)) return;
        if (m_bSave && m_bConfirmOverwrite && info.exists() &&
            !AskYesNo(this, texts::kFileReplace.arg(info.fileName()), false))
            return;
    }
    QFileDialog::accept();
}

}  // namespace vrk
