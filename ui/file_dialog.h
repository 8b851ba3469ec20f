// The file dialogs of both programs go through GetOpenFiles and GetSaveFile
// (or a CFileDialog), so that tests can answer them (SetFileDialogHook)
// instead of a person. The dialogs are Qt's own, with Slovene texts, so that
// a program can add a panel of its own under the file-type choice and every
// question they ask goes through ShowMessage.
#pragma once

#include <QFileDialog>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

namespace vrk {

struct TFileDialogRequest {
    QString caption;    // empty: the application's name
    QString directory;  // where the dialog opens; empty: the working directory
    QString filter;     // "Name (*.ext);;Other (*)"
    QString fileName;   // the initial text of the file-name field
    bool multiple = false;
    // A save dialog: any file name, and for an existing file (unless
    // confirmOverwrite is off) the question whether to replace it.
    bool save = false;
    bool confirmOverwrite = true;
    QString defaultSuffix;  // save: added to a name typed without one ("vrk3")
};

struct TFileDialogResult {
    QStringList files;       // full paths; empty when the user cancelled
    QString directory;       // the folder the dialog showed when it closed
    QString selectedFilter;  // the filter entry chosen; empty: the first one
    // What the dialog's own panel field held (the export chooser's
    // separator); none: the field's default for the chosen filter.
    std::optional<QString> panelText;
};

// Shows a modal open-file dialog for existing files.
TFileDialogResult GetOpenFiles(QWidget* parent, const TFileDialogRequest& request);
// Shows a modal save-file dialog (request.save is set for the hook).
TFileDialogResult GetSaveFile(QWidget* parent, TFileDialogRequest request);

// Replaces the dialogs: the hook gets each request and its result is the
// answer. An empty hook restores the dialogs. Returns the previous hook.
using TFileDialogHook = std::function<TFileDialogResult(const TFileDialogRequest&)>;
TFileDialogHook SetFileDialogHook(TFileDialogHook hook);
// The hook's answer to `request`; none when no hook is set.
std::optional<TFileDialogResult> HookedFileDialog(const TFileDialogRequest& request);

// Qt's own file dialog set up from a request, with Slovene labels. A save
// dialog asks before an existing file is replaced (No is the default).
// Programs derive from it to add a panel (AddPanel) and to check the
// choice before the dialog closes (CanAccept).
class CFileDialog : public QFileDialog {
    Q_OBJECT
  public:
    CFileDialog(QWidget* parent, const TFileDialogRequest& request);

    // The choice as the dialog holds it now.
    TFileDialogResult Result() const;

  protected:
    // Puts `panel` below the file-type choice, across the dialog.
    void AddPanel(QWidget* panel);
    // Called when the user accepts a file: false keeps the dialog open
    // (after telling the user why).
    virtual bool CanAccept(const QString& file);
    void accept() override;
    // Widens each column of the detail view to its header's text.
    void showEvent(QShowEvent* event) override;

  private:
    bool m_bSave;
    bool m_bConfirmOverwrite;
};

}  // namespace vrk
