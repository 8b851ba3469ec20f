// The commands on the current word: new, save, save as, add and remove a
// description, delete, undo and "Razveljavi Več", the dictionary's
// information, and the clipboard.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QStringList>

#include "finder/entry_window.h"
#include "finder/finder_texts.h"
#include "finder/main_frame.h"
#include "finder/main_frame_ids.h"
#include "finder/save_entry_dlg.h"
#include "finder/undo_list_wnd.h"
#include "store/data_file.h"
#include "ui/commands.h"
#include "ui/cp1250_text.h"
#include "ui/dict_info_dlg.h"
#include "ui/icons.h"
#include "ui/message_box.h"
#include "ui/temp_dir_dlg.h"

namespace {

// Gives the entry editor the keyboard focus back, when it had it, once a
// command's dialog or message has closed: a closing dialog gives the focus
// to the main window, not to a floating entry window.
class TEditorFocusKeeper {
  public:
    explicit TEditorFocusKeeper(const CMainFrame& frame)
        : m_frame(frame),
          m_bHadFocus(QApplication::focusWidget() == frame.EntryWindow()->Editor()) {}
    ~TEditorFocusKeeper() {
        if (!m_bHadFocus || m_frame.EntryMode() == kEntryHidden) return;
        QPlainTextEdit* editor = m_frame.EntryWindow()->Editor();
        editor->activateWindow();
        editor->setFocus(Qt::OtherFocusReason);
    }
    TEditorFocusKeeper(const TEditorFocusKeeper&) = delete;
    TEditorFocusKeeper& operator=(const TEditorFocusKeeper&) = delete;

  private:
    const CMainFrame& m_frame;
    bool m_bHadFocus;
};

}  // namespace

void CMainFrame::connectEntryCommands() {
    vrk::TCommandSet& c = *m_pCommands;
    c.Connect(id::kNewEntry, this, &CMainFrame::NewEntry);
    c.Connect(id::kSaveEntry, this, &CMainFrame::SaveEntry);
    c.Connect(id::kSaveEntryAs, this, &CMainFrame::SaveEntryAs);
    c.Connect(id::kAddDescription, this, &CMainFrame::AddDescription);
    c.Connect(id::kRemoveDescription, this, &CMainFrame::RemoveDescription);
    c.Connect(id::kDeleteEntry, this, &CMainFrame::DeleteEntry);
    c.Connect(id::kDictionaryInfo, this, &CMainFrame::ShowDictionaryInfo);
    c.OnTriggered(id::kUndo, [this] { (void)UndoLast(); });
    c.Connect(id::kUndoSeveral, this, &CMainFrame::ShowUndoList);

    // Ctrl+X, Ctrl+C and Ctrl+V are the editor's own keys; the menu only
    // shows them.
    QPlainTextEdit* editor = m_pEntryWindow->Editor();
    for (int command : {id::kCut, id::kCopy, id::kPaste})
        c.Action(command)->setShortcutContext(Qt::WidgetShortcut);
    c.OnTriggered(id::kCut, [editor] { editor->cut(); });
    c.OnTriggered(id::kCopy, [editor] { editor->copy(); });
    c.OnTriggered(id::kPaste, [editor] {
        editor->paste();
        editor->setFocus();
    });
    // Asking the clipboard ten times a second would cost a round trip to
    // the display each time; it says when its content changes.
    QClipboard* clipboard = QApplication::clipboard();
    auto noteClipboard = [this, clipboard] {
        const QMimeData* data = clipboard->mimeData();
        m_bClipboardHasText = data && data->hasText();
    };
    connect(clipboard, &QClipboard::dataChanged, this, noteClipboard);
    noteClipboard();
}

bool CMainFrame::entryEditorVisible() const {
    return EntryMode() != kEntryHidden;
}

void CMainFrame::setEntryEnablingRules() {
    vrk::TCommandSet& c = *m_pCommands;
    auto inDictionary = [this] { return !m_editor.State().m_strDataFile.isEmpty(); };
    c.SetEnabledRule(id::kDictionaryInfo, inDictionary);
    c.SetEnabledRule(id::kDeleteEntry, inDictionary);
    c.SetEnabledRule(id::kRemoveDescription, [this] { return m_editor.State().m_nDescCount >= 2; });
    c.SetEnabledRule(id::kUndo, [this] { return !m_editor.History().Empty(); });
    c.SetEnabledRule(id::kUndoSeveral, [this] { return !m_editor.History().Empty(); });
    auto selection = [this] {
        return entryEditorVisible() && m_pEntryWindow->Editor()->textCursor().hasSelection();
    };
    c.SetEnabledRule(id::kCut, selection);
    c.SetEnabledRule(id::kCopy, selection);
    c.SetEnabledRule(id::kPaste, [this] { return entryEditorVisible() && m_bClipboardHasText; });
}

// The commands on the word: the editor runs them; a command that may show a
// dialog or a box gives the entry editor its focus back afterwards.
void CMainFrame::NewEntry() {
    const TEditorFocusKeeper focus(*this);
    m_editor.NewEntry();
}

void CMainFrame::SaveEntry() {
    const TEditorFocusKeeper focus(*this);
    if (m_editor.SaveEntry() == TEntryEditor::TSaveResult::kSaveAs) SaveEntryAs();
}

void CMainFrame::SaveEntryAs() {
    const TEditorFocusKeeper focus(*this);
    ReadEntryEditor();
    CSaveEntryDlg dialog(m_editor.State().m_strWord, this);
    if (dialog.exec() != QDialog::Accepted) return;
    m_editor.SaveEntryAs(dialog.Word(), dialog.DataFile());
}

void CMainFrame::AddDescription() {
    const TEditorFocusKeeper focus(*this);
    m_editor.AddDescription();
}

void CMainFrame::RemoveDescription() {
    m_editor.RemoveDescription();
}

void CMainFrame::DeleteEntry() {
    const TEditorFocusKeeper focus(*this);
    m_editor.DeleteEntry();
}

bool CMainFrame::UndoLast() {
    if (m_editor.History().Empty()) return false;
    const TEditorFocusKeeper focus(*this);
    return m_editor.UndoLast();
}

void CMainFrame::UndoSteps(int count) {
    for (int i = 0; i < count && !m_editor.History().Empty(); ++i)
        if (!UndoLast()) break;
}

void CMainFrame::ShowUndoList() {
    const TUndoHistory& history = m_editor.History();
    if (history.Empty()) return;
    QStringList texts;
    for (int position = 0; position < history.Count(); ++position)
        texts.append(history.At(position).strText);
    m_pUndoList->hide();
    m_pUndoList->SetSteps(texts);
    m_pUndoList->ShowAtCursor();
}

void CMainFrame::ShowDictionaryInfo() {
    const TEditorFocusKeeper focus(*this);
    const QString dataFile = m_editor.State().m_strDataFile;
    if (dataFile.isEmpty()) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::string dir;
    vrk::TScratchSet paths;
    if (!vrk::GetBackupPaths(this, vrk::kFinderScratch, paths, &dir)) {
        QApplication::restoreOverrideCursor();
        return;
    }
    vrk::TDataFile file = paths.Open(vrk::PathBytes(dataFile));
    std::string name, author, notes;
    const bool read = file.GetName(name, vrk::MAX_RECORD) &&
                      file.GetAuthor(author, vrk::MAX_RECORD) &&
                      file.GetNotes(notes, vrk::MAX_RECORD);
    QApplication::restoreOverrideCursor();
    if (!read) {
        vrk::ShowError(this, vrk::texts::kInfoReadError);
        return;
    }
    QString picturePath;
    const std::int32_t size = file.GetPictureSize();
    std::string picture;
    if (size > 0 && file.GetPicture(picture, static_cast<std::size_t>(size)))
        picturePath = vrk::WriteInfoPicture(dir, picture);
    vrk::CDictInfoDlg dialog(vrk::FromCp1250(name), vrk::FromCp1250(author), vrk::FromCp1250(notes),
                             picturePath, vrk::bitmap::kFinderNoPicture, this);
    dialog.exec();
}
