#include "ui/file_dialog.h"

#include <QFileDialog>
#include <QGuiApplication>

namespace vrk {
namespace {

TFileDialogHook g_hook;

}  // namespace

TFileDialogResult GetOpenFiles(QWidget* parent, const TFileDialogRequest& request) {
    if (g_hook) return g_hook(request);
    const QString caption =
        request.caption.isEmpty() ? QGuiApplication::applicationDisplayName() : request.caption;
    QFileDialog dialog(parent, caption, request.directory, request.filter);
    dialog.setObjectName(QStringLiteral("openFileDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
    TFileDialogResult result;
    if (dialog.exec() == QDialog::Accepted) result.files = dialog.selectedFiles();
    result.directory = dialog.directory().absolutePath();
    return result;
}

TFileDialogHook SetFileDialogHook(TFileDialogHook hook) {
    std::swap(g_hook, hook);
    return hook;
}

}  // namespace vrk
