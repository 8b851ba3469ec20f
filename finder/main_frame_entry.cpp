// The entry state and the entry window: loading a found word, the tick that
// keeps the window and the state in step, and the description buttons.
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "finder/entry_record.h"
#include "finder/entry_window.h"
#include "finder/finder_texts.h"
#include "finder/main_frame.h"
#include "finder/vrk3mpg_view.h"
#include "store/data_file.h"
#include "ui/cp1250_text.h"
#include "ui/failure_text.h"
#include "ui/message_box.h"
#include "ui/temp_dir_dlg.h"
#include "ui/wait_cursor.h"

void CMainFrame::LoadEntry(CVrk3mpgView* view, int row, int nDesc) {
    if (!view || row < 0) return;
    const QTreeWidgetItem* item = view->List()->topLevelItem(row);
    if (!item) return;
    bool indexOk = false;
    const std::int32_t index = item->text(CVrk3mpgView::kColClueIndex).toInt(&indexOk);
    if (!indexOk) return;
    const QString word = item->text(CVrk3mpgView::kColWord);
    const TLoadResult loaded =
        LoadEntryAt(item->text(CVrk3mpgView::kColDataFile), index, nDesc, word, &word);
    if (loaded == TLoadResult::kOtherWord) view->FillDescriptionPane(-1);
    // The word opened is there to be edited: typing goes into its description.
    if (loaded == TLoadResult::kLoaded) (void)focusEntryEditor();
}

CMainFrame::TLoadResult CMainFrame::LoadEntryAt(const QString& dataFile, std::int32_t index,
                                                int nDesc, const QString& shownWord,
                                                const QString* expectedWord) {
    if (index < 0) return TLoadResult::kFailed;
    TWaitCursor wait;
    ReadEntryEditor();
    vrk::TScratchSet paths;
    if (!vrk::GetBackupPaths(this, vrk::kFinderScratch, paths)) return TLoadResult::kFailed;
    // One read of the whole entry gives the word and every description.
    vrk::TDataFile file = paths.Open(vrk::PathBytes(dataFile));
    std::string record;
    if (!file.GetEntry(index, record)) {
        wait.Release();
        vrk::ShowError(this, vrk::texts::kDictOpenError);
        return TLoadResult::kFailed;
    }
    // A row's index names another word once another program has moved the
    // entries: that word is never loaded in its place.
    if (expectedWord &&
        vrk::FromCp1250(std::string_view(record).substr(0, record.find('\x01'))) != *expectedWord) {
        wait.Release();
        vrk::ShowWarning(this, vrk::FailureReason(vrk::TFailure::EntryChanged));
        return TLoadResult::kOtherWord;
    }
    if (m_bModified) {
        wait.Release();
        if (!vrk::AskYesNo(this, vrk::texts::kUnsavedChangesLost, false))
            return TLoadResult::kFailed;
        PushUndo(kUndoEntryOnly, vrk::texts::kUndoShowWord.arg(shownWord));
    }
    m_entry.Load(dataFile, index, record, nDesc);
    RequestEntryRefresh();
    EntryTick();
    return TLoadResult::kLoaded;
}

CMainFrame::TEditorFocusKeeper::TEditorFocusKeeper(const CMainFrame& frame)
    : m_frame(frame), m_bHadFocus(QApplication::focusWidget() == frame.m_pEntryWindow->Editor()) {}

CMainFrame::TEditorFocusKeeper::~TEditorFocusKeeper() {
    if (!m_bHadFocus || !m_frame.entryEditorVisible()) return;
    QPlainTextEdit* editor = m_frame.m_pEntryWindow->Editor();
    editor->activateWindow();
    editor->setFocus(Qt::OtherFocusReason);
}

void CMainFrame::ReadEntryEditor() {
    // The editor shows the slot of the description shown last; until the
    // tick has shown the current one, what it holds belongs to no slot.
    QPlainTextEdit* editor = m_pEntryWindow->Editor();
    if (m_bRefresh || m_nShownDesc != m_entry.m_nCurDesc) return;
    if (editor->document()->isModified()) {
        // A description keeps the line breaks it came with (a dictionary
        // may hold lone line feeds); a new one takes CR LF.
        QString& edited = m_entry.m_strEditDesc[m_entry.m_nCurDesc];
        const QString lineBreak = LineBreakOf(m_entry.m_strSavedDesc[m_entry.m_nCurDesc],
                                              LineBreakOf(edited, QStringLiteral("\r\n")));
        edited = DescriptionFromEditor(editor->document()->toRawText(), lineBreak);
        editor->document()->setModified(false);
        m_bTypedSinceStep = true;
    }
    m_bModified = m_entry.DiffersFromSaved();
}

void CMainFrame::setEditorText(const QString& text) {
    QPlainTextEdit* editor = m_pEntryWindow->Editor();
    editor->setPlainText(EditorText(text));
    editor->document()->setModified(false);
}

void CMainFrame::EntryTick() {
    ReadEntryEditor();
    const int cur = m_entry.m_nCurDesc;
    if (cur != m_nShownDesc || m_bRefresh) setEditorText(m_entry.m_strEditDesc[cur]);
    m_bModified = m_entry.DiffersFromSaved();
    if (cur != m_nShownDesc || m_entry.m_nDescCount != m_nShownCount ||
        m_bModified != m_bShownModified || m_bRefresh) {
        const QString& format =
            m_bModified ? vrk::texts::kCounterModifiedFormat : vrk::texts::kCounterFormat;
        m_pEntryWindow->CounterLabel()->setText(format.arg(cur + 1).arg(m_entry.m_nDescCount));
        m_nShownDesc = cur;
        m_nShownCount = m_entry.m_nDescCount;
        m_bShownModified = m_bModified;
    }
    if (m_entry.m_strWord != m_strShownWord || m_bRefresh) {
        m_pEntryWindow->WordLabel()->setText(m_entry.m_strWord);
        // A narrow window cuts a long word off; the tip shows all of it.
        m_pEntryWindow->WordLabel()->setToolTip(m_entry.m_strWord);
        m_strShownWord = m_entry.m_strWord;
    }
    // A word that belongs to a dictionary is shown bold, a new or deleted
    // one in normal weight.
    const bool bold = !m_entry.m_strDataFile.isEmpty();
    if (bold != m_bLabelBold) {
        QFont font = m_pEntryWindow->WordLabel()->font();
        font.setBold(bold);
        m_pEntryWindow->WordLabel()->setFont(font);
        m_bLabelBold = bold;
    }
    m_bRefresh = false;
}

void CMainFrame::NextDescription() {
    stepDescription(1);
}

void CMainFrame::PreviousDescription() {
    stepDescription(-1);
}

void CMainFrame::stepDescription(int step) {
    ReadEntryEditor();
    const int cur = m_entry.m_nCurDesc;
    const int target = cur + step;
    if (target < 0 || target >= m_entry.m_nDescCount) return;
    if (!m_pEntryWindow->isFloating() && m_entry.m_strEditDesc[cur] != m_entry.m_strSavedDesc[cur])
        PushUndo(kUndoEntryOnly,
                 vrk::texts::kUndoEditDescription.arg(cur + 1).arg(m_entry.m_strWord));
    m_entry.m_nCurDesc = target;
    EntryTick();
    UpdateCommandStates();
}
