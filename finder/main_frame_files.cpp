// The operations that change dictionaries: store an entry again, store one
// merging it into the entries with its word, delete one. Each is one
// transaction of the dictionary object; afterwards every entry index held
// by the undo history and by the rows of the open result windows is brought
// up to date, since a rewrite moves entries (a stored entry becomes the last
// one, the entries after a deleted one move down).
#include "finder/entry_files.h"
#include "finder/finder_texts.h"
#include "finder/main_frame.h"
#include "finder/vrk3mpg_view.h"
#include "store/data_file.h"
#include "store/same_file.h"
#include "ui/cp1250_text.h"
#include "ui/failure_text.h"
#include "ui/message_box.h"
#include "ui/temp_dir_dlg.h"
#include "ui/wait_cursor.h"

namespace {

std::optional<vrk::TExpectedEntry> Expecting(const std::string* record) {
    if (!record) return std::nullopt;
    return vrk::TExpectedEntry::Record(*record);
}

// True when the dictionary's flags, read now, allow changes; otherwise the
// user is told why (the flags could not be read, or `refusal`).
bool ChangesStillAllowed(QWidget* parent, vrk::TDataFile& file, TWaitCursor& wait,
                         const QString& refusal) {
    const std::int32_t flags = file.GetFlags();
    if (flags >= 0 && (flags & vrk::kFlagChangesAllowed) != 0) return true;
    wait.Release();
    if (flags < 0)
        vrk::ShowError(parent,
                       vrk::WithFailureReason(vrk::texts::kFlagsReadError, file.LastFailure()));
    else
        vrk::ShowWarning(parent, refusal);
    return false;
}

}  // namespace

bool CMainFrame::SaveEntryToFile(bool bRecord, const QString& path, std::int32_t& nIndex,
                                 const std::string& record, const std::string* expected) {
    TWaitCursor wait;
    vrk::TScratchSet paths;
    if (!vrk::GetBackupPaths(this, vrk::kFinderScratch, paths)) {
        if (bRecord) m_undo.DropLast();
        return false;
    }
    vrk::TDataFile file = paths.Open(vrk::PathBytes(path));
    if (bRecord) {
        // The record the entry must still hold is the one undoing puts back.
        UndoRecord& step = m_undo.Last();
        step.strOpDataFile = path;
        step.nOpIndex = nIndex;
        step.strOpOldRecord = expected ? *expected : std::string();
    }
    const std::int32_t oldIndex = nIndex;
    std::int32_t stored = nIndex;
    if (!file.StoreEntry(record, &stored, oldIndex >= 0 ? Expecting(expected) : std::nullopt)) {
        wait.Release();
        vrk::ShowError(this,
                       vrk::WithFailureReason(vrk::texts::kStoreEntryError, file.LastFailure()));
        if (bRecord) m_undo.DropLast();
        return false;
    }
    if (bRecord) m_undo.Last().strOpNewRecord = record;
    const vrk::TSameFile same(vrk::PathBytes(path));
    m_undo.EntryStored(same, oldIndex, stored);
    if (bRecord) m_undo.Last().nOpIndex = stored;
    updateResultRowsStored(path, oldIndex, stored, record);
    nIndex = stored;
    return true;
}

bool CMainFrame::SaveEntryAsToFile(bool bRecord, const QString& path, std::int32_t& nIndex,
                                   const std::string& record) {
    TWaitCursor wait;
    vrk::TScratchSet paths;
    if (!vrk::GetBackupPaths(this, vrk::kFinderScratch, paths)) {
        if (bRecord) m_undo.DropLast();
        return false;
    }
    vrk::TDataFile file = paths.Open(vrk::PathBytes(path));
    // The dialog listed the dictionary when it accepted changes; another
    // program may have forbidden them since, so they are read again here.
    if (!ChangesStillAllowed(this, file, wait, vrk::texts::kChangesNotAllowed)) {
        if (bRecord) m_undo.DropLast();
        return false;
    }
    // The entries that already hold the word take the record's descriptions
    // they lack; undoing the step puts back the earlier record of each.
    std::vector<TFoundEntry> holders;
    if (bRecord && !FindWordEntries(file, record, holders)) {
        wait.Release();
        vrk::ShowError(this,
                       vrk::WithFailureReason(vrk::texts::kReadEntryError, file.LastFailure()));
        m_undo.DropLast();
        return false;
    }
    std::int32_t stored = -1;
    if (!file.StoreEntryMerged(record, stored)) {
        wait.Release();
        vrk::ShowError(this,
                       vrk::WithFailureReason(vrk::texts::kStoreEntryError, file.LastFailure()));
        if (bRecord) m_undo.DropLast();
        return false;
    }
    // What the store left at each changed entry, as it merged it.
    std::vector<TMergedEntry> changed;
    for (const TFoundEntry& holder : holders) {
        TMergedEntry entry{holder.index, holder.record, {}};
        (void)vrk::MergeDescriptions(holder.record, record, entry.strNewRecord);
        changed.push_back(std::move(entry));
    }
    if (bRecord) {
        UndoRecord& step = m_undo.Last();
        step.strOpDataFile = path;
        step.nOpIndex = stored;
        step.bOpCreated = changed.empty();
        if (step.bOpCreated) {
            step.strOpNewRecord = record;
        } else {
            // The step names the last entry with the word, the one the store
            // reports; the others are kept beside it.
            step.strOpOldRecord = changed.back().strOldRecord;
            step.strOpNewRecord = changed.back().strNewRecord;
            changed.pop_back();
            step.otherEntries = changed;
        }
    }
    // A merging store appends nothing and moves no entry; only the rows of
    // the changed entries show new descriptions.
    if (bRecord && !m_undo.Last().bOpCreated) {
        const UndoRecord& step = m_undo.Last();
        for (const TMergedEntry& other : step.otherEntries)
            updateResultRowsStored(path, other.nIndex, other.nIndex, other.strNewRecord);
        updateResultRowsStored(path, stored, stored, step.strOpNewRecord);
    }
    nIndex = stored;
    return true;
}

bool CMainFrame::DeleteEntryFromFile(bool bRecord, const QString& path, std::int32_t nIndex,
                                     const std::string* expected) {
    TWaitCursor wait;
    vrk::TScratchSet paths;
    if (!vrk::GetBackupPaths(this, vrk::kFinderScratch, paths)) {
        if (bRecord) m_undo.DropLast();
        return false;
    }
    vrk::TDataFile file = paths.Open(vrk::PathBytes(path));
    if (!ChangesStillAllowed(this, file, wait, vrk::texts::kChangesForbidden)) {
        if (bRecord) m_undo.DropLast();
        return false;
    }
    if (bRecord) {
        UndoRecord& step = m_undo.Last();
        step.strOpDataFile = path;
        step.nOpIndex = nIndex;
        step.strOpOldRecord = expected ? *expected : std::string();
    }
    if (!file.DeleteEntry(nIndex, Expecting(expected))) {
        wait.Release();
        vrk::ShowError(this,
                       vrk::WithFailureReason(vrk::texts::kDeleteEntryError, file.LastFailure()));
        if (bRecord) m_undo.DropLast();
        return false;
    }
    // References to the deleted entry name the step that deleted it (the
    // most recent one: the command's own step, or the step being undone).
    const vrk::TSameFile same(vrk::PathBytes(path));
    if (!m_undo.Empty()) m_undo.EntryDeleted(same, nIndex, m_undo.Last().nTag);
    updateResultRowsDeleted(path, nIndex);
    return true;
}

void CMainFrame::updateResultRowsStored(const QString& path, std::int32_t oldIndex,
                                        std::int32_t newIndex, const std::string& record) {
    const vrk::TSameFile same(vrk::PathBytes(path));
    for (CVrk3mpgView* view : CVrk3mpgView::ResultViews())
        view->EntryStored(same, oldIndex, newIndex, record);
}

void CMainFrame::updateResultRowsDeleted(const QString& path, std::int32_t index) {
    const vrk::TSameFile same(vrk::PathBytes(path));
    for (CVrk3mpgView* view : CVrk3mpgView::ResultViews()) view->EntryDeleted(same, index);
}
