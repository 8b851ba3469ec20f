// The frame's commands on the current word (entry_commands.h).
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <QTreeWidget>

#include "finder/entry_commands.h"
#include "finder/entry_window.h"
#include "finder/finder_texts.h"
#include "finder/frame_focus.h"
#include "finder/main_frame.h"
#include "finder/main_frame_ids.h"
#include "finder/save_entry_dlg.h"
#include "finder/undo_list_wnd.h"
#include "finder/vrk3mpg_view.h"
#include "store/data_file.h"
#include "ui/commands.h"
#include "ui/cp1250_text.h"
#include "ui/dict_info_dlg.h"
#include "ui/icons.h"
#include "ui/message_box.h"
#include "ui/temp_dir_dlg.h"
#include "ui/wait_cursor.h"

namespace {

// Gives the entry editor the keyboard focus back, when it had it, once a
// command's dialog or message has closed: a closing dialog gives the focus
// to the main window, not to a floating entry window.
class TEditorFocusKeeper {
  public:
    explicit TEditorFocusKeeper(CMainFrame& frame)
        : m_frame(frame),
          m_bHadFocus(QApplication::focusWidget() == frame.EntryWindow()->Editor()) {}
    ~TEditorFocusKeeper() {
        if (m_bHadFocus) (void)m_frame.Focus().FocusEntryEditor();
    }
    TEditorFocusKeeper(const TEditorFocusKeeper&) = delete;
    TEditorFocusKeeper& operator=(const TEditorFocusKeeper&) = delete;

  private:
    CMainFrame& m_frame;
    bool m_bHadFocus;
};

}  // namespace

CEntryCommands::CEntryCommands(CMainFrame& frame, TEntryEditor& editor)
    : QObject(&frame), m_frame(frame), m_editor(editor) {
    setObjectName(QStringLiteral("entryCommands"));
    m_pUndoList = new CUndoListWnd(&frame);
    connect(m_pUndoList, &CUndoListWnd::UndoRequested, this, &CEntryCommands::UndoSteps);
    connect(frame.EntryWindow()->NextButton(), &QPushButton::clicked, this,
            &CEntryCommands::NextDescription);
    connect(frame.EntryWindow()->PreviousButton(), &QPushButton::clicked, this,
            &CEntryCommands::PreviousDescription);
    connectCommands();
    setEnablingRules();
}

void CEntryCommands::LoadEntry(CVrk3mpgView* view, int row, int nDesc) {
    if (!view || row < 0) return;
    const QTreeWidgetItem* item = view->List()->topLevelItem(row);
    if (!item) return;
    bool indexOk = false;
    const std::int32_t index = item->text(CVrk3mpgView::kColClueIndex).toInt(&indexOk);
    if (!indexOk) return;
    const QString word = item->text(CVrk3mpgView::kColWord);
    using TLoadResult = TEntryEditor::TLoadResult;
    const TLoadResult loaded =
        m_editor.LoadEntryAt(item->text(CVrk3mpgView::kColDataFile), index, nDesc, word, &word);
    if (loaded == TLoadResult::kOtherWord) view->FillDescriptionPane(-1);
    // The word opened is there to be edited: typing goes into its description.
    if (loaded == TLoadResult::kLoaded) (void)m_frame.Focus().FocusEntryEditor();
}

void CEntryCommands::NextDescription() {
    stepDescription(1);
}

void CEntryCommands::PreviousDescription() {
    stepDescription(-1);
}

void CEntryCommands::stepDescription(int step) {
    // Docked, leaving a changed description records an undo step; floating,
    // nothing is recorded.
    m_editor.StepDescription(step, !m_frame.EntryWindow()->isFloating());
}

void CEntryCommands::connectCommands() {
    vrk::TCommandSet& c = *m_frame.Commands();
    c.Connect(id::kNewEntry, this, &CEntryCommands::NewEntry);
    c.Connect(id::kSaveEntry, this, &CEntryCommands::SaveEntry);
    c.Connect(id::kSaveEntryAs, this, &CEntryCommands::SaveEntryAs);
    c.Connect(id::kAddDescription, this, &CEntryCommands::AddDescription);
    c.Connect(id::kRemoveDescription, this, &CEntryCommands::RemoveDescription);
    c.Connect(id::kDeleteEntry, this, &CEntryCommands::DeleteEntry);
    c.Connect(id::kDictionaryInfo, this, &CEntryCommands::ShowDictionaryInfo);
    c.OnTriggered(id::kUndo, [this] { (void)UndoLast(); });
    c.Connect(id::kUndoSeveral, this, &CEntryCommands::ShowUndoList);

    // Ctrl+X, Ctrl+C and Ctrl+V are the editor's own keys; the menu only
    // shows them.
    QPlainTextEdit* editor = m_frame.EntryWindow()->Editor();
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

bool CEntryCommands::editorVisible() const {
    return m_frame.EntryMode() != kEntryHidden;
}

void CEntryCommands::setEnablingRules() {
    vrk::TCommandSet& c = *m_frame.Commands();
    auto inDictionary = [this] { return !m_editor.State().m_strDataFile.isEmpty(); };
    c.SetEnabledRule(id::kDictionaryInfo, inDictionary);
    c.SetEnabledRule(id::kDeleteEntry, inDictionary);
    c.SetEnabledRule(id::kRemoveDescription, [this] { return m_editor.State().m_nDescCount >= 2; });
    c.SetEnabledRule(id::kUndo, [this] { return !m_editor.History().Empty(); });
    c.SetEnabledRule(id::kUndoSeveral, [this] { return !m_editor.History().Empty(); });
    auto selection = [this] {
        return editorVisible() && m_frame.EntryWindow()->Editor()->textCursor().hasSelection();
    };
    c.SetEnabledRule(id::kCut, selection);
    c.SetEnabledRule(id::kCopy, selection);
    c.SetEnabledRule(id::kPaste, [this] { return editorVisible() && m_bClipboardHasText; });
}

// The commands on the word: the editor runs them; a command that may show a
// dialog or a box gives the entry editor its focus back afterwards.
void CEntryCommands::NewEntry() {
    const TEditorFocusKeeper focus(m_frame);
    m_editor.NewEntry();
}

void CEntryCommands::SaveEntry() {
    const TEditorFocusKeeper focus(m_frame);
    if (m_editor.SaveEntry() == TEntryEditor::TSaveResult::kSaveAs) SaveEntryAs();
}

void CEntryCommands::SaveEntryAs() {
    const TEditorFocusKeeper focus(m_frame);
    m_frame.ReadEntryEditor();
    CSaveEntryDlg dialog(m_editor.State().m_strWord, &m_frame);
    if (dialog.exec() != QDialog::Accepted) return;
    m_editor.SaveEntryAs(dialog.Word(), dialog.DataFile());
}

void CEntryCommands::AddDescription() {
    const TEditorFocusKeeper focus(m_frame);
    m_editor.AddDescription();
}

void CEntryCommands::RemoveDescription() {
    m_editor.RemoveDescription();
}

void CEntryCommands::DeleteEntry() {
    const TEditorFocusKeeper focus(m_frame);
    m_editor.DeleteEntry();
}

bool CEntryCommands::UndoLast() {
    if (m_editor.History().Empty()) return false;
    const TEditorFocusKeeper focus(m_frame);
    return m_editor.UndoLast();
}

void CEntryCommands::UndoSteps(int count) {
    for (int i = 0; i < count && !m_editor.History().Empty(); ++i)
        if (!UndoLast()) break;
}

void CEntryCommands::ShowUndoList() {
    const TUndoHistory& history = m_editor.History();
    if (history.Empty()) return;
    QStringList texts;
    for (int position = 0; position < history.Count(); ++position)
        texts.append(history.At(position).strText);
    m_pUndoList->hide();
    m_pUndoList->SetSteps(texts);
    m_pUndoList->ShowAtCursor();
}

void CEntryCommands::ShowDictionaryInfo() {
    const TEditorFocusKeeper focus(m_frame);
    const QString dataFile = m_editor.State().m_strDataFile;
    if (dataFile.isEmpty()) return;
    TWaitCursor wait;
    std::string dir;
    vrk::TScratchSet paths;
    if (!vrk::GetBackupPaths(&m_frame, vrk::kFinderScratch, paths, &dir)) return;
    vrk::TDataFile file = paths.Open(vrk::PathBytes(dataFile));
    std::string name, author, notes;
    const bool read = file.GetName(name, vrk::MAX_RECORD) &&
                      file.GetAuthor(author, vrk::MAX_RECORD) &&
                      file.GetNotes(notes, vrk::MAX_RECORD);
    wait.Release();
    if (!read) {
        vrk::ShowError(&m_frame, vrk::texts::kInfoReadError);
        return;
    }
    QString picturePath;
    const std::int32_t size = file.GetPictureSize();
    std::string picture;
    if (size > 0 && file.GetPicture(picture, static_cast<std::size_t>(size)))
        picturePath = vrk::WriteInfoPicture(dir, picture);
    vrk::CDictInfoDlg dialog(vrk::FromCp1250(name), vrk::FromCp1250(author), vrk::FromCp1250(notes),
                             picturePath, vrk::bitmap::kFinderNoPicture, &m_frame);
    dialog.exec();
}
