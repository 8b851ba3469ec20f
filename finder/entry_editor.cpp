// The entry editing: loading a word, the commands on it, undo, and the
// operations that change dictionaries. Each operation is one transaction of
// the dictionary object; afterwards every entry index held by the undo
// history and by the rows of the open result windows is brought up to
// date, since a rewrite moves entries (a stored entry becomes the last one,
// the entries after a deleted one move down).
#include "finder/entry_editor.h"

#include <QApplication>
#include <algorithm>

#include "finder/entry_files.h"
#include "finder/entry_record.h"
#include "finder/finder_texts.h"
#include "settings/scratch_set.h"
#include "store/data_file.h"
#include "store/same_file.h"
#include "ui/cp1250_text.h"
#include "ui/failure_text.h"
#include "ui/wait_cursor.h"

namespace {

std::optional<vrk::TExpectedEntry> Expecting(const std::string* record) {
    if (!record) return std::nullopt;
    return vrk::TExpectedEntry::Record(*record);
}

// True when the dictionary's flags, read now, allow changes; otherwise the
// user is told why (the flags could not be read, or `refusal`).
bool ChangesStillAllowed(TEntryEditorHost& host, vrk::TDataFile& file, TWaitCursor& wait,
                         const QString& refusal) {
    const std::int32_t flags = file.GetFlags();
    if (flags >= 0 && (flags & vrk::kFlagChangesAllowed) != 0) return true;
    wait.Release();
    if (flags < 0)
        host.ShowMessage(vrk::WithFailureReason(vrk::texts::kFlagsReadError, file.LastFailure()),
                         vrk::TMsgIcon::kError);
    else
        host.ShowMessage(refusal, vrk::TMsgIcon::kWarning);
    return false;
}

}  // namespace

void TEntryEditor::TakeTyped(const QString& editorText) {
    QString& edited = m_entry.m_strEditDesc[m_entry.m_nCurDesc];
    const QString lineBreak = LineBreakOf(m_entry.m_strSavedDesc[m_entry.m_nCurDesc],
                                          LineBreakOf(edited, QStringLiteral("\r\n")));
    edited = DescriptionFromEditor(editorText, lineBreak);
    m_bTypedSinceStep = true;
}

TEntryEditor::TLoadResult TEntryEditor::LoadEntryAt(const QString& dataFile, std::int32_t index,
                                                    int nDesc, const QString& shownWord,
                                                    const QString* expectedWord) {
    if (index < 0) return TLoadResult::kFailed;
    TWaitCursor wait;
    m_host.ReadEntryWindow();
    vrk::TScratchSet paths;
    if (!m_host.ScratchFiles(paths)) return TLoadResult::kFailed;
    // One read of the whole entry gives the word and every description.
    vrk::TDataFile file = paths.Open(vrk::PathBytes(dataFile));
    std::string record;
    if (!file.GetEntry(index, record)) {
        wait.Release();
        m_host.ShowMessage(vrk::texts::kDictOpenError, vrk::TMsgIcon::kError);
        return TLoadResult::kFailed;
    }
    // A row's index names another word once another program has moved the
    // entries: that word is never loaded in its place.
    if (expectedWord &&
        vrk::FromCp1250(std::string_view(record).substr(0, record.find('\x01'))) != *expectedWord) {
        wait.Release();
        m_host.ShowMessage(vrk::FailureReason(vrk::TFailure::EntryChanged),
                           vrk::TMsgIcon::kWarning);
        return TLoadResult::kOtherWord;
    }
    if (Modified()) {
        wait.Release();
        if (!m_host.Ask(vrk::texts::kUnsavedChangesLost)) return TLoadResult::kFailed;
        PushUndo(kUndoEntryOnly, vrk::texts::kUndoShowWord.arg(shownWord));
    }
    m_entry.Load(dataFile, index, record, nDesc);
    m_host.RefreshEntryWindow(true);
    return TLoadResult::kLoaded;
}

void TEntryEditor::StepDescription(int step, bool bRecord) {
    m_host.ReadEntryWindow();
    const int cur = m_entry.m_nCurDesc;
    const int target = cur + step;
    if (target < 0 || target >= m_entry.m_nDescCount) return;
    if (bRecord && m_entry.m_strEditDesc[cur] != m_entry.m_strSavedDesc[cur])
        PushUndo(kUndoEntryOnly,
                 vrk::texts::kUndoEditDescription.arg(cur + 1).arg(m_entry.m_strWord));
    m_entry.m_nCurDesc = target;
    m_host.RefreshEntryWindow(false);
}

void TEntryEditor::NewEntry() {
    m_host.ReadEntryWindow();
    // Recorded before the question, so that it stays when the user declines.
    PushUndo(kUndoEntryOnly, vrk::texts::kUndoNewWord);
    if (Modified() && !m_host.Ask(vrk::texts::kNotSavedYet)) return;
    m_entry = TEntryState();
    m_host.RefreshEntryWindow(true);
}

TEntryEditor::TSaveResult TEntryEditor::SaveEntry() {
    m_host.ReadEntryWindow();
    if (m_entry.m_strDataFile.isEmpty() || m_entry.m_nClueIndex < 0) return TSaveResult::kSaveAs;
    vrk::TScratchSet paths;
    if (!m_host.ScratchFiles(paths)) return TSaveResult::kDone;
    const QString dataFile = m_entry.m_strDataFile;
    vrk::TDataFile file = paths.Open(vrk::PathBytes(dataFile));
    const std::int32_t flags = file.GetFlags();
    if (flags < 0) return TSaveResult::kSaveAs;
    if ((flags & vrk::kFlagChangesAllowed) == 0) {
        m_host.ShowMessage(vrk::texts::kSaveRefused, vrk::TMsgIcon::kWarning);
        return TSaveResult::kSaveAs;
    }
    // The entry window holds the first MAX_DESCRIPTIONS descriptions only.
    if (m_entry.m_nMoreDescs > 0 &&
        !m_host.Ask(vrk::texts::kDropDescriptions.arg(MAX_DESCRIPTIONS + m_entry.m_nMoreDescs)
                        .arg(m_entry.m_nMoreDescs)))
        return TSaveResult::kDone;
    PushUndo(kUndoSave, vrk::texts::kUndoStore.arg(m_entry.m_strWord, dataFile));
    bool replaced = false;
    const std::string record =
        BuildRecord(m_entry.m_strWord, m_entry.EditedDescriptions(), &replaced);
    std::int32_t index = m_entry.m_nClueIndex;
    const std::string expected = m_entry.m_strFileRecord;
    if (!SaveEntryToFile(true, dataFile, index, record, &expected)) return TSaveResult::kDone;
    // The window shows what the dictionary now holds.
    m_entry.Load(dataFile, index, record, m_entry.m_nCurDesc);
    m_host.RefreshEntryWindow(true);
    reportReplacedCharacters(replaced);
    return TSaveResult::kDone;
}

void TEntryEditor::SaveEntryAs(const QString& word, const QString& path) {
    PushUndo(kUndoSaveAs, vrk::texts::kUndoStore.arg(word, path));
    bool replaced = false;
    const std::string record = BuildRecord(word, m_entry.EditedDescriptions(), &replaced);
    std::int32_t index = -1;
    if (!SaveEntryAsToFile(path, index, record)) return;
    const UndoRecord& step = m_undo.Last();
    // Merged into an entry that held the word: the window shows the entry as
    // stored, older descriptions included, so that a later Save keeps them.
    m_entry.Load(path, index, step.bOpCreated ? record : step.strOpNewRecord, m_entry.m_nCurDesc);
    m_host.RefreshEntryWindow(true);
    reportReplacedCharacters(replaced);
}

void TEntryEditor::reportReplacedCharacters(bool replaced) {
    if (replaced) m_host.ShowMessage(vrk::texts::kCharactersReplaced, vrk::TMsgIcon::kInformation);
}

void TEntryEditor::AddDescription() {
    m_host.ReadEntryWindow();
    if (m_entry.m_nDescCount >= MAX_DESCRIPTIONS) {
        m_host.ShowMessage(vrk::texts::kDescriptionLimit, vrk::TMsgIcon::kNone);
        return;
    }
    PushUndo(kUndoEntryOnly,
             vrk::texts::kUndoAddDescription.arg(m_entry.m_nDescCount + 1).arg(m_entry.m_strWord));
    const int added = m_entry.m_nDescCount;
    m_entry.m_strSavedDesc[added].clear();
    m_entry.m_strEditDesc[added].clear();
    m_entry.m_nCurDesc = added;
    ++m_entry.m_nDescCount;
    m_host.RefreshEntryWindow(false);
}

void TEntryEditor::RemoveDescription() {
    m_host.ReadEntryWindow();
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
    m_host.RefreshEntryWindow(true);
}

void TEntryEditor::DeleteEntry() {
    m_host.ReadEntryWindow();
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
    m_host.RefreshEntryWindow(false);
}

void TEntryEditor::PushUndo(int kind, const QString& text) {
    (void)m_undo.Push(kind, text, m_entry);
    m_bTypedSinceStep = false;
}

bool TEntryEditor::UndoLast() {
    if (m_undo.Empty()) return false;
    m_host.ReadEntryWindow();
    // Text typed since the step was recorded is in no step: undoing drops
    // it, so the user is asked first, as before opening another word.
    if (Modified() && m_bTypedSinceStep && !m_host.Ask(vrk::texts::kUnsavedChangesLost))
        return false;
    // Asked before anything is reversed: a cancelled prompt leaves the
    // history and the dictionaries as they are.
    vrk::TScratchSet paths;
    if (!m_host.ScratchFiles(paths)) return false;
    TWaitCursor wait;
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
    wait.Release();
    if (!ok) {
        // The steps left may no longer match the dictionaries.
        m_host.ShowMessage(vrk::texts::kUndoFailed, vrk::TMsgIcon::kError);
        m_undo.Clear();
        m_host.RefreshEntryWindow(false);
        return false;
    }
    m_entry = m_undo.Last().state;
    m_undo.DropLast();
    m_bTypedSinceStep = false;
    m_host.RefreshEntryWindow(true);
    return true;
}

bool TEntryEditor::Abandon(bool bRecord) {
    if (bRecord) m_undo.DropLast();
    return false;
}

bool TEntryEditor::Refused(TWaitCursor& wait, const QString& text, const vrk::TDataFile& file,
                           bool bRecord) {
    wait.Release();
    m_host.ShowMessage(vrk::WithFailureReason(text, file.LastFailure()), vrk::TMsgIcon::kError);
    return Abandon(bRecord);
}

bool TEntryEditor::SaveEntryToFile(bool bRecord, const QString& path, std::int32_t& nIndex,
                                   const std::string& record, const std::string* expected) {
    TWaitCursor wait;
    vrk::TScratchSet paths;
    if (!m_host.ScratchFiles(paths)) return Abandon(bRecord);
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
    if (!file.StoreEntry(record, &stored, oldIndex >= 0 ? Expecting(expected) : std::nullopt))
        return Refused(wait, vrk::texts::kStoreEntryError, file, bRecord);
    if (bRecord) m_undo.Last().strOpNewRecord = record;
    const vrk::TSameFile same(vrk::PathBytes(path));
    m_undo.EntryStored(same, oldIndex, stored);
    if (bRecord) m_undo.Last().nOpIndex = stored;
    m_host.RowsStored(path, oldIndex, stored, record);
    nIndex = stored;
    return true;
}

bool TEntryEditor::SaveEntryAsToFile(const QString& path, std::int32_t& nIndex,
                                     const std::string& record) {
    TWaitCursor wait;
    vrk::TScratchSet paths;
    if (!m_host.ScratchFiles(paths)) return Abandon(true);
    vrk::TDataFile file = paths.Open(vrk::PathBytes(path));
    // The dialog listed the dictionary when it accepted changes; another
    // program may have forbidden them since, so they are read again here.
    if (!ChangesStillAllowed(m_host, file, wait, vrk::texts::kChangesNotAllowed))
        return Abandon(true);
    // The entries that already hold the word take the record's descriptions
    // they lack; undoing the step puts back the earlier record of each.
    std::vector<TFoundEntry> holders;
    if (!FindWordEntries(file, record, holders))
        return Refused(wait, vrk::texts::kReadEntryError, file, true);
    std::int32_t stored = -1;
    if (!file.StoreEntryMerged(record, stored))
        return Refused(wait, vrk::texts::kStoreEntryError, file, true);
    // What the store left at each changed entry, as it merged it.
    std::vector<TMergedEntry> changed;
    for (const TFoundEntry& holder : holders) {
        TMergedEntry entry{holder.index, holder.record, {}};
        (void)vrk::MergeDescriptions(holder.record, record, entry.strNewRecord);
        changed.push_back(std::move(entry));
    }
    UndoRecord& step = m_undo.Last();
    step.strOpDataFile = path;
    step.nOpIndex = stored;
    step.bOpCreated = changed.empty();
    nIndex = stored;
    if (step.bOpCreated) {
        step.strOpNewRecord = record;
        return true;
    }
    // The step names the last entry with the word, the one the store
    // reports; the others are kept beside it. A merging store appends
    // nothing and moves no entry; only the rows of the changed entries show
    // new descriptions.
    step.strOpOldRecord = changed.back().strOldRecord;
    step.strOpNewRecord = changed.back().strNewRecord;
    changed.pop_back();
    step.otherEntries = changed;
    for (const TMergedEntry& other : step.otherEntries)
        m_host.RowsStored(path, other.nIndex, other.nIndex, other.strNewRecord);
    m_host.RowsStored(path, stored, stored, step.strOpNewRecord);
    return true;
}

bool TEntryEditor::DeleteEntryFromFile(bool bRecord, const QString& path, std::int32_t nIndex,
                                       const std::string* expected) {
    TWaitCursor wait;
    vrk::TScratchSet paths;
    if (!m_host.ScratchFiles(paths)) return Abandon(bRecord);
    vrk::TDataFile file = paths.Open(vrk::PathBytes(path));
    if (!ChangesStillAllowed(m_host, file, wait, vrk::texts::kChangesForbidden))
        return Abandon(bRecord);
    if (bRecord) {
        UndoRecord& step = m_undo.Last();
        step.strOpDataFile = path;
        step.nOpIndex = nIndex;
        step.strOpOldRecord = expected ? *expected : std::string();
    }
    if (!file.DeleteEntry(nIndex, Expecting(expected)))
        return Refused(wait, vrk::texts::kDeleteEntryError, file, bRecord);
    // References to the deleted entry name the step that deleted it (the
    // most recent one: the command's own step, or the step being undone).
    const vrk::TSameFile same(vrk::PathBytes(path));
    if (!m_undo.Empty()) m_undo.EntryDeleted(same, nIndex, m_undo.Last().nTag);
    m_host.RowsDeleted(path, nIndex);
    return true;
}
