// TEntryEditor: the entry editing without its window. It owns the current
// word (TEntryState) and the undo history, runs the commands on the word
// (new, save, save as, descriptions, delete, undo) and the operations that
// change dictionaries, and keeps every entry index held by the undo history
// current. What it needs of the window it asks of a TEntryEditorHost: the
// main frame in the program, a fake in the tests.
#pragma once

#include <QString>
#include <cstdint>
#include <string>

#include "finder/entry_state.h"
#include "finder/undo_history.h"
#include "ui/message_box.h"

class TWaitCursor;

namespace vrk {
class TDataFile;
struct TScratchSet;
}  // namespace vrk

// What the entry editor reaches the window through.
class TEntryEditorHost {
  public:
    virtual ~TEntryEditorHost() = default;
    // A Yes/No question with No as the default; true for Yes.
    virtual bool Ask(const QString& text) = 0;
    virtual void ShowMessage(const QString& text, vrk::TMsgIcon icon) = 0;
    // The scratch files a dictionary is opened with; false when the user
    // cancelled the prompt for the temporary directory.
    virtual bool ScratchFiles(vrk::TScratchSet& paths) = 0;
    // Hands text typed into the entry window since the last call to the
    // editor (TakeTyped). Every command and undo step calls it first.
    virtual void ReadEntryWindow() = 0;
    // The state changed: the entry window shows it (with `bWhole` the word,
    // the description and the counter afresh) and the commands follow.
    virtual void RefreshEntryWindow(bool bWhole) = 0;
    // The rows of the open result windows after an entry of `path` was
    // stored again (`oldIndex` -1: appended) or deleted.
    virtual void RowsStored(const QString& path, std::int32_t oldIndex, std::int32_t newIndex,
                            const std::string& record) = 0;
    virtual void RowsDeleted(const QString& path, std::int32_t index) = 0;
};

class TEntryEditor {
  public:
    explicit TEntryEditor(TEntryEditorHost& host) : m_host(host) {}

    const TEntryState& State() const { return m_entry; }
    // The word differs from its loaded or saved state (the counter's star).
    bool Modified() const { return m_entry.DiffersFromSaved(); }
    const TUndoHistory& History() const { return m_undo; }

    // The entry window's editor text of the shown description, typed since
    // it was last read. A description keeps the line breaks it came with (a
    // dictionary may hold lone line feeds); a new one takes CR LF.
    void TakeTyped(const QString& editorText);

    // Loads entry `index` of `dataFile`, showing description `nDesc` (kept
    // within the word's descriptions). With unsaved changes it asks first
    // and records an undo step naming `shownWord`. With `expectedWord`, an
    // entry holding another word (the dictionary was changed by another
    // program) is not loaded.
    enum class TLoadResult { kLoaded, kFailed, kOtherWord };
    TLoadResult LoadEntryAt(const QString& dataFile, std::int32_t index, int nDesc,
                            const QString& shownWord = {}, const QString* expectedWord = nullptr);
    // ">" and "<"; with `bRecord`, leaving a changed description records an
    // undo step.
    void StepDescription(int step, bool bRecord);

    // The commands on the word. Save answers kSaveAs when the word has no
    // dictionary that takes the change: Save as chooses one.
    void NewEntry();
    enum class TSaveResult { kDone, kSaveAs };
    [[nodiscard]] TSaveResult SaveEntry();
    // Save as: `word` with the edited descriptions into `path`.
    void SaveEntryAs(const QString& word, const QString& path);
    void AddDescription();
    void RemoveDescription();
    void DeleteEntry();

    // Records a step of `kind` (TUndoKind) with a snapshot of the entry state.
    void PushUndo(int kind, const QString& text);
    // Undoes the most recent step: reverses its change of a dictionary, then
    // restores the entry state. False when nothing was undone; a failed
    // reversal says so and empties the history.
    bool UndoLast();

  private:
    // The dictionary change operations. Each opens the dictionary at `path`
    // for one change, says what went wrong when it fails, and brings every
    // entry index held by the undo history and the result windows up to
    // date. With `bRecord` (a user's command) it fills in the file fields of
    // the most recent undo step, which the command pushed, and removes that
    // step when it fails. `expected` is the record the entry at `nIndex`
    // must still hold; when it holds something else nothing is changed.
    // Replaces entry `nIndex` by `record` (appends it for a negative index);
    // `nIndex` becomes the stored entry's index, the last of the dictionary.
    bool SaveEntryToFile(bool bRecord, const QString& path, std::int32_t& nIndex,
                         const std::string& record, const std::string* expected);
    // Stores `record`, merging its descriptions into every entry with its
    // word, or appends it; `nIndex` becomes the index of the (last) entry.
    // Only a user's command does this, so it always fills in its step.
    bool SaveEntryAsToFile(const QString& path, std::int32_t& nIndex, const std::string& record);
    // Deletes entry `nIndex`, when the dictionary allows changes.
    bool DeleteEntryFromFile(bool bRecord, const QString& path, std::int32_t nIndex,
                             const std::string* expected);

    // A change to a dictionary that did not go through: its undo step, when
    // one was recorded for it, goes. Returns false for the caller to return.
    bool Abandon(bool bRecord);
    // The dictionary refused the change: the user is told why (`text` and
    // the store's reason), and the change is abandoned.
    bool Refused(TWaitCursor& wait, const QString& text, const vrk::TDataFile& file, bool bRecord);
    // Tells the user when BuildRecord replaced characters.
    void reportReplacedCharacters(bool replaced);

    TEntryEditorHost& m_host;
    TEntryState m_entry;
    // Text was typed since the most recent undo step was recorded: undoing
    // that step would drop it, since no step holds it.
    bool m_bTypedSinceStep = false;
    TUndoHistory m_undo;
};
