#include "finder/undo_history.h"

#include "store/same_file.h"
#include "ui/cp1250_text.h"

namespace {

// Tags count down from -2: -1 means "no entry", 0 and up are entries. Two
// live steps never share a tag, since at most UNDO_MAX steps live and the
// serials wrap only after a billion steps.
constexpr std::uint32_t kTagSpan = 1u << 30;

std::int32_t TagOf(std::uint32_t serial) {
    return -2 - static_cast<std::int32_t>(serial % kTagSpan);
}

}  // namespace

UndoRecord& TUndoHistory::Push(int kind, const QString& text, const TEntryState& state) {
    if (Count() >= UNDO_MAX) m_steps.pop_front();
    UndoRecord& step = m_steps.emplace_back();
    step.kind = kind;
    step.strText = text;
    step.state = state;
    step.nTag = TagOf(m_nNextSerial++);
    return step;
}

void TUndoHistory::DropLast() {
    if (!m_steps.empty()) m_steps.pop_back();
}

void TUndoHistory::Clear() {
    m_steps.clear();
}

template <class F>
void TUndoHistory::forEachReference(F change) {
    for (UndoRecord& step : m_steps) {
        change(step.state.m_strDataFile, step.state.m_nClueIndex);
        change(step.strOpDataFile, step.nOpIndex);
        for (TMergedEntry& other : step.otherEntries) change(step.strOpDataFile, other.nIndex);
    }
}

void TUndoHistory::EntryStored(const vrk::TSameFile& same, std::int32_t oldIndex,
                               std::int32_t newIndex) {
    if (oldIndex < 0) return;
    forEachReference([&](const QString& dataFile, std::int32_t& index) {
        if (index < oldIndex || !same(vrk::PathBytes(dataFile))) return;
        index = index == oldIndex ? newIndex : index - 1;
    });
}

void TUndoHistory::EntryDeleted(const vrk::TSameFile& same, std::int32_t index, std::int32_t tag) {
    forEachReference([&](const QString& dataFile, std::int32_t& reference) {
        if (reference < index || !same(vrk::PathBytes(dataFile))) return;
        reference = reference == index ? tag : reference - 1;
    });
}

void TUndoHistory::TagResolved(std::int32_t tag, std::int32_t index) {
    forEachReference([&](const QString&, std::int32_t& reference) {
        if (reference == tag) reference = index;
    });
}
