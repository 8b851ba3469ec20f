// Open-file dialogs of both programs go through GetOpenFiles, so that tests
// can answer them (SetFileDialogHook) instead of a person.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace vrk {

struct TFileDialogRequest {
    QString caption;    // empty: the application's name
    QString directory;  // where the dialog opens; empty: the working directory
    QString filter;     // "Name (*.ext);;Other (*)"
    QString fileName;   // the initial text of the file-name field
    bool multiple = false;
};

struct TFileDialogResult {
    QStringList files;  // full paths; empty when the user cancelled
    QString directory;  // the folder the dialog showed when it closed
};

// Shows a modal open-file dialog for existing files.
TFileDialogResult GetOpenFiles(QWidget* parent, const TFileDialogRequest& request);

// Replaces the dialog: the hook gets each request and its result is the
// answer. An empty hook restores the dialog. Returns the previous hook.
using TFileDialogHook = std::function<TFileDialogResult(const TFileDialogRequest&)>;
TFileDialogHook SetFileDialogHook(TFileDialogHook hook);

}  // namespace vrk
