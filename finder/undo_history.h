// The finder's undo history: up to UNDO_MAX steps, each a snapshot of the
// entry state taken just before a command changed it and, for a command
// that changed a dictionary, what undoing it does to the file. Entry
// indexes held by the steps are kept current as dictionaries change (the
// main frame's file operations call the Entry... functions below).
//
// Deletion tags: when a step deletes an entry, the references to it in
// every step take that step's tag, a number no entry index or -1 can equal.
// A step's tag is fixed when it is recorded, so dropping the oldest step
// leaves every tag naming its step; undoing the deletion puts the entry's
// new index in place of the tag.
#pragma once

#include <QString>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "finder/entry_state.h"

namespace vrk {
class TSameFile;
}

inline constexpr int UNDO_MAX = 100;

// What a step did to a dictionary.
enum TUndoKind : int {
    kUndoEntryOnly = -1,  // only the entry state changed
    kUndoDelete = 0,      // an entry was deleted
    kUndoSaveAs = 1,      // a record was stored, merged into the entries with its word
    kUndoSave = 2,        // an entry was replaced
};

// Another entry a merging save changed besides the one the step names:
// undoing the step puts its earlier record back too.
struct TMergedEntry {
    std::int32_t nIndex = -1;  // kept current like UndoRecord::nOpIndex
    std::string strOldRecord;
    std::string strNewRecord;
};

struct UndoRecord {
    int kind = kUndoEntryOnly;
    QString strText;  // shown in the list of "Razveljavi Več"
    // The entry state just before the command (its m_nClueIndex kept current).
    TEntryState state;
    // The dictionary the command changed (empty for kUndoEntryOnly), the
    // entry's index there after the change, its record before the change and
    // the record the change left there, which undoing expects to find.
    QString strOpDataFile;
    std::int32_t nOpIndex = -1;
    std::string strOpOldRecord;
    std::string strOpNewRecord;
    // The change created the entry (a save into a dictionary without the
    // word): undoing deletes it. Not told by an empty old record, since a
    // record may well be empty.
    bool bOpCreated = false;
    std::vector<TMergedEntry> otherEntries;
    // What references to an entry this step deletes become.
    std::int32_t nTag = 0;
};

class TUndoHistory {
  public:
    int Count() const { return static_cast<int>(m_steps.size()); }
    bool Empty() const { return m_steps.empty(); }
    // Position 0 is the oldest step, Count() - 1 the most recent.
    const UndoRecord& At(int position) const { return m_steps[position]; }
    UndoRecord& Last() { return m_steps.back(); }
    const UndoRecord& Last() const { return m_steps.back(); }

    // Records a step with a snapshot of `state`; with UNDO_MAX steps held,
    // the oldest goes first. Returns the new step.
    UndoRecord& Push(int kind, const QString& text, const TEntryState& state);
    // Removes the most recent step (a command that failed, a step undone).
    void DropLast();
    void Clear();

    // An entry of the dictionary `same` names was stored again: the entry at
    // `oldIndex` is now at `newIndex`, and the entries after `oldIndex` moved
    // down by one. A negative `oldIndex` (a record appended) moves nothing.
    void EntryStored(const vrk::TSameFile& same, std::int32_t oldIndex, std::int32_t newIndex);
    // Entry `index` of that dictionary was deleted: references to it take
    // `tag`, those to later entries move down by one.
    void EntryDeleted(const vrk::TSameFile& same, std::int32_t index, std::int32_t tag);
    // The entry deleted by the step of `tag` is stored again at `index`.
    void TagResolved(std::int32_t tag, std::int32_t index);

  private:
    // Calls `change(dataFile, index)` for every entry reference of every step.
    template <class F>
    void forEachReference(F change);

    std::deque<UndoRecord> m_steps;
    std::uint32_t m_nNextSerial = 0;
};
