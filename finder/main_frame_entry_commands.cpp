// The commands on the current word: new, save, save as, add and remove a
// description, delete, the dictionary's information, and the clipboard.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPlainTextEdit>
#include <algorithm>

#include "finder/entry_record.h"
#include "finder/entry_window.h"
#include "finder/finder_texts.h"
#include "finder/main_frame.h"
#include "finder/main_frame_ids.h"
#include "finder/save_entry_dlg.h"
#include "store/data_file.h"
#include "ui/commands.h"
#include "ui/cp1250_text.h"
#include "ui/dict_info_dlg.h"
#include "ui/icons.h"
#include "ui/message_box.h"
#include "ui/temp_dir_dlg.h"

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
    auto inDictionary = [this] { return !m_entry.m_strDataFile.isEmpty(); };
    c.SetEnabledRule(id::kDictionaryInfo, inDictionary);
    c.SetEnabledRule(id::kDeleteEntry, inDictionary);
    c.SetEnabledRule(id::kRemoveDescription, [this] { return m_entry.m_nDescCount >= 2; });
    c.SetEnabledRule(id::kUndo, [this] { return !m_undo.Empty(); });
    c.SetEnabledRule(id::kUndoSeveral, [this] { return !m_undo.Empty(); });
    auto selection = [this] {
        return entryEditorVisible() && m_pEntryWindow->Editor()->textCursor().hasSelection();
    };
    c.SetEnabledRule(id::kCut, selection);
    c.SetEnabledRule(id::kCopy, selection);
    c.SetEnabledRule(id::kPaste, [this] { return entryEditorVisible() && m_bClipboardHasText; });
}

void CMainFrame::NewEntry() {
    const TEditorFocusKeeper focus(*this);
    ReadEntryEditor();
    // Recorded before the question, so that it stays when the user declines.
    PushUndo(kUndoEntryOnly, vrk::texts::kUndoNewWord);
    if (m_bModified && !vrk::AskYesNo(this, vrk::texts::kNotSavedYet, false)) return;
    m_entry = TEntryState();
    RequestEntryRefresh();
    EntryTick();
}

void CMainFrame::SaveEntry() {
    const TEditorFocusKeeper focus(*this);
    ReadEntryEditor();
    if (m_entry.m_strDataFile.isEmpty() || m_entry.m_nClueIndex < 0) return SaveEntryAs();
    vrk::TScratchSet paths;
    if (!vrk::GetBackupPaths(this, vrk::kFinderScratch, paths)) return;
    const QString dataFile = m_entry.m_strDataFile;
    vrk::TDataFile file = paths.Open(vrk::PathBytes(dataFile));
    const std::int32_t flags = file.GetFlags();
    if (flags < 0) return SaveEntryAs();
    if ((flags & vrk::kFlagChangesAllowed) == 0) {
        vrk::ShowWarning(this, vrk::texts::kSaveRefused);
        return SaveEntryAs();
    }
    // The entry window holds the first MAX_DESCRIPTIONS descriptions only.
    if (m_entry.m_nMoreDescs > 0 &&
        !vrk::AskYesNo(this,
                       vrk::texts::kDropDescriptions.arg(MAX_DESCRIPTIONS + m_entry.m_nMoreDescs)
                           .arg(m_entry.m_nMoreDescs),
                       false))
        return;
    PushUndo(kUndoSave, vrk::texts::kUndoStore.arg(m_entry.m_strWord, dataFile));
    bool replaced = false;
    const std::string record =
        BuildRecord(m_entry.m_strWord, m_entry.EditedDescriptions(), &replaced);
    std::int32_t index = m_entry.m_nClueIndex;
    const std::string expected = m_entry.m_strFileRecord;
    if (!SaveEntryToFile(true, dataFile, index, record, &expected)) return;
    // The window shows what the dictionary now holds.
    m_entry.Load(dataFile, index, record, m_entry.m_nCurDesc);
    RequestEntryRefresh();
    EntryTick();
    reportReplacedCharacters(replaced);
}

void CMainFrame::SaveEntryAs() {
    const TEditorFocusKeeper focus(*this);
    ReadEntryEditor();
    CSaveEntryDlg dialog(m_entry.m_strWord, this);
    if (dialog.exec() != QDialog::Accepted) return;
    saveEntryAsTo(dialog.Word(), dialog.DataFile());
}

void CMainFrame::saveEntryAsTo(const QString& word, const QString& path) {
    PushUndo(kUndoSaveAs, vrk::texts::kUndoStore.arg(word, path));
    bool replaced = false;
    const std::string record = BuildRecord(word, m_entry.EditedDescriptions(), &replaced);
    std::int32_t index = -1;
    if (!SaveEntryAsToFile(true, path, index, record)) return;
    const UndoRecord& step = m_undo.Last();
    // Merged into an entry that held the word: the window shows the entry as
    // stored, older descriptions included, so that a later Save keeps them.
    m_entry.Load(path, index, step.bOpCreated ? record : step.strOpNewRecord, m_entry.m_nCurDesc);
    RequestEntryRefresh();
    EntryTick();
    reportReplacedCharacters(replaced);
}

void CMainFrame::reportReplacedCharacters(bool replaced) {
    if (replaced) vrk::ShowInformation(this, vrk::texts::kCharactersReplaced);
}

void CMainFrame::AddDescription() {
    const TEditorFocusKeeper focus(*this);
    ReadEntryEditor();
    if (m_entry.m_nDescCount >= MAX_DESCRIPTIONS) {
        vrk::ShowMessage(this, vrk::texts::kDescriptionLimit, vrk::TMsgIcon::kNone);
        return;
    }
    PushUndo(kUndoEntryOnly,
             vrk::texts::kUndoAddDescription.arg(m_entry.m_nDescCount + 1).arg(m_entry.m_strWord));
    const int added = m_entry.m_nDescCount;
    m_entry.m_strSavedDesc[added].clear();
    m_entry.m_strEditDesc[added].clear();
    m_entry.m_nCurDesc = added;
    ++m_entry.m_nDescCount;
    EntryTick();
    UpdateCommandStates();
}

void CMainFrame::RemoveDescription() {
    ReadEntryEditor();
    if (m_entry.m_nDescCount < 2) return;
    PushUndo(kUndoEntryOnly,
             vrk::texts::kUndoRemoveDescription.arg(m_entry.m_nCurDesc + 1).arg(m_entry.m_strWord));
    const int count = m_entry.m_nDescCount;
    for (int i = m_entry.m_nCurDesc; i < count - 1; ++i) {
        m_entry.m_strSavedDesc[i] = m_entry.m_strSavedDesc[i + 1];
        m_entry.m_strEditDesc[i] = m_entry.m_strEditDesc[i + 1];
    }
    m_entry.m_nDescCount = count - 1;
    m_entry.m_nCurDesc = std::min(m_entry.m_nCurDesc, m_entry.m_nDescCount - 1);
    RequestEntryRefresh();
    EntryTick();
    UpdateCommandStates();
}

void CMainFrame::DeleteEntry() {
    const TEditorFocusKeeper focus(*this);
    ReadEntryEditor();
    if (m_entry.m_strDataFile.isEmpty()) return;
    const QString dataFile = m_entry.m_strDataFile;
    PushUndo(kUndoDelete, vrk::texts::kUndoDelete.arg(m_entry.m_strWord, dataFile));
    const std::string expected = m_entry.m_strFileRecord;
    if (!DeleteEntryFromFile(true, dataFile, m_entry.m_nClueIndex, &expected)) return;
    // The word stays in the window as a word of no dictionary.
    m_entry.m_strDataFile.clear();
    m_entry.m_nClueIndex = -1;
    m_entry.m_strFileRecord.clear();
    m_entry.m_nMoreDescs = 0;
    EntryTick();
    UpdateCommandStates();
}

void CMainFrame::ShowDictionaryInfo() {
    const TEditorFocusKeeper focus(*this);
    if (m_entry.m_strDataFile.isEmpty()) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::string dir;
    vrk::TScratchSet paths;
    if (!vrk::GetBackupPaths(this, vrk::kFinderScratch, paths, &dir)) {
        QApplication::restoreOverrideCursor();
        return;
    }
    vrk::TDataFile file = paths.Open(vrk::PathBytes(m_entry.m_strDataFile));
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
