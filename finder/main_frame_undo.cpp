// Undo: recording a step, undoing the most recent one (reversing its change
// of a dictionary first), and "Razveljavi Več" with its list of steps.
#include <QApplication>
#include <QStringList>

#include "finder/finder_texts.h"
#include "finder/main_frame.h"
#include "finder/undo_list_wnd.h"
#include "ui/message_box.h"
#include "ui/temp_dir_dlg.h"

void CMainFrame::PushUndo(int kind, const QString& text) {
    (void)m_undo.Push(kind, text, m_entry);
    m_bTypedSinceStep = false;
}

bool CMainFrame::UndoLast() {
    if (m_undo.Empty()) return false;
    const TEditorFocusKeeper focus(*this);
    ReadEntryEditor();
    // Text typed since the step was recorded is in no step: undoing drops
    // it, so the user is asked first, as before opening another word.
    if (m_bModified && m_bTypedSinceStep &&
        !vrk::AskYesNo(this, vrk::texts::kUnsavedChangesLost, false))
        return false;
    // Asked before anything is reversed: a cancelled prompt leaves the
    // history and the dictionaries as they are.
    vrk::TScratchSet paths;
    if (!vrk::GetBackupPaths(this, vrk::kFinderScratch, paths)) return false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    UndoRecord& step = m_undo.Last();
    const QString dataFile = step.strOpDataFile;
    bool ok = true;
    if (step.kind == kUndoDelete) {
        // The deleted entry comes back as the last of its dictionary; every
        // reference that holds this step's tag takes its new index.
        std::int32_t index = -1;
        ok = SaveEntryToFile(false, dataFile, index, step.strOpOldRecord, nullptr);
        if (ok) m_undo.TagResolved(step.nTag, index);
    } else if (step.kind == kUndoSave || step.kind == kUndoSaveAs) {
        // Each file operation gets a copy of the index: the reference updates
        // of that very operation move the step's own indexes.
        if (step.bOpCreated) {
            const std::int32_t index = step.nOpIndex;
            const std::string created = step.strOpNewRecord;
            ok = index >= 0 && DeleteEntryFromFile(false, dataFile, index, &created);
        } else {
            for (std::size_t i = 0; ok && i < step.otherEntries.size(); ++i) {
                const TMergedEntry other = step.otherEntries[i];
                std::int32_t index = other.nIndex;
                ok = index >= 0 && SaveEntryToFile(false, dataFile, index, other.strOldRecord,
                                                   &other.strNewRecord);
            }
            std::int32_t index = step.nOpIndex;
            const std::string stored = step.strOpNewRecord;
            ok = ok && index >= 0 &&
                 SaveEntryToFile(false, dataFile, index, step.strOpOldRecord, &stored);
        }
    }
    QApplication::restoreOverrideCursor();
    if (!ok) {
        // The steps left may no longer match the dictionaries.
        vrk::ShowError(this, vrk::texts::kUndoFailed);
        m_undo.Clear();
        UpdateCommandStates();
        return false;
    }
    m_entry = m_undo.Last().state;
    m_undo.DropLast();
    m_bTypedSinceStep = false;
    RequestEntryRefresh();
    EntryTick();
    UpdateCommandStates();
    return true;
}

void CMainFrame::UndoSteps(int count) {
    for (int i = 0; i < count && !m_undo.Empty(); ++i)
        if (!UndoLast()) break;
}

void CMainFrame::ShowUndoList() {
    if (m_undo.Empty()) return;
    QStringList texts;
    for (int position = 0; position < m_undo.Count(); ++position)
        texts.append(m_undo.At(position).strText);
    m_pUndoList->hide();
    m_pUndoList->SetSteps(texts);
    m_pUndoList->ShowAtCursor();
}
