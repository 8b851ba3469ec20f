// TDataFile: reading, storing and deleting single entries.
#include <algorithm>

#include "data_file.h"
#include "record_scan.h"

namespace vrk {

bool TExpectedEntry::HeldBy(std::string_view record) const {
    return wordOnly ? WordOf(record) == WordOf(text) : record == text;
}

bool TDataFile::ReadEntry(std::int32_t i, std::string& out, std::size_t size) {
    if (!ValidEntry(i)) return Fail(TFailure::InvalidArgument);
    return (SeekRecord(ENTRY_BASE + i) && ReadRecord(out, size)) || Fail(TFailure::Damaged);
}

bool TDataFile::ReadEntryOnce(std::int32_t i, std::string& out) {
    if (!Open(Mode::Read)) return false;
    const bool ok = ReadEntry(i, out);
    Abort();
    return ok;
}

bool TDataFile::CheckExpected(std::int32_t index, const std::optional<TExpectedEntry>& expected) {
    if (!expected) return true;
    // An index past the entries names nothing any more: the entry is gone.
    if (!ValidEntry(index)) return Fail(TFailure::EntryChanged);
    std::string record;
    if (!ReadEntry(index, record)) return false;
    return expected->HeldBy(record) || Fail(TFailure::EntryChanged);
}

bool TDataFile::GetEntry(std::int32_t i, std::string& out) {
    return ReadEntryOnce(i, out);
}

bool TDataFile::ReadAllEntries(const TEntryVisitor& visit) {
    if (!Open(Mode::Read)) return false;
    progress().Start(m_count);
    const std::string_view file = m_data.view();
    std::uint64_t pos = kRecordsOffset;
    bool ok = SkipRecords(file, m_recordsEnd, pos, ENTRY_BASE) || Fail(TFailure::Damaged);
    TRecordSpan span;
    std::string record;
    for (std::int32_t i = 0; ok && i < m_count; ++i) {
        ok = NextRecord(file, m_recordsEnd, pos, span) || Fail(TFailure::Damaged);
        if (!ok) break;
        UnscrambleRecord(file, span, record);
        // The stop request is looked at every 4096 entries: often enough for
        // Ctrl+C, seldom enough to cost nothing.
        const bool stop = (i & 4095) == 4095 && progress().StopRequested();
        ok = (!stop && visit(i, record)) || FailStopped();
        if ((i & 4095) == 4095) progress().SetPos(i + 1);
    }
    if (ok) progress().Complete();
    Abort();  // nothing was queued: releasing the view and the lock is all
    return ok;
}

bool TDataFile::GetWord(std::int32_t i, std::string& out, std::size_t size) {
    std::string record;
    if (size == 0) return Fail(TFailure::InvalidArgument);
    if (!ReadEntryOnce(i, record)) return false;
    out.assign(WordOf(record).substr(0, size - 1));
    return true;
}

std::int32_t TDataFile::GetDescriptionCount(std::int32_t i) {
    std::string record;
    if (!ReadEntryOnce(i, record)) return -1;
    return static_cast<std::int32_t>(std::count(record.begin(), record.end(), kDescriptionMark));
}

bool TDataFile::GetDescription(std::int32_t i, std::int32_t k, std::string& out, std::size_t size) {
    std::string record;
    if (size == 0 || k < -1) return Fail(TFailure::InvalidArgument);
    if (!ReadEntryOnce(i, record)) return false;
    std::size_t start = 0;
    for (std::int32_t n = -1; n < k; ++n) {
        start = record.find(kDescriptionMark, start);
        if (start == std::string::npos) return Fail(TFailure::InvalidArgument);
        ++start;
    }
    const std::size_t end = record.find(kDescriptionMark, start);
    out.assign(std::string_view(record).substr(start, end - start).substr(0, size - 1));
    return true;
}

bool TDataFile::DeleteEntry(std::int32_t i, const std::optional<TExpectedEntry>& expected) {
    if (!Open(Mode::Change)) return false;
    if (!CheckExpected(i, expected)) return Finish(false);
    if (!ValidEntry(i)) return Finish(Fail(TFailure::InvalidArgument));
    return Finish(DeleteRecord(ENTRY_BASE + i));
}

bool TDataFile::StoreEntry(std::string_view record, std::int32_t* index,
                           const std::optional<TExpectedEntry>& expected) {
    if (!Open(Mode::Change)) return false;
    if (index && *index >= 0 && !CheckExpected(*index, expected)) return Finish(false);
    const bool named = index && ValidEntry(*index);
    const std::int32_t stored = named ? m_count - 1 : m_count;
    if (!Finish((!named || DeleteRecord(ENTRY_BASE + *index)) && AppendRecord(record)))
        return false;
    if (index) *index = stored;
    return true;
}

bool TDataFile::StoreEntryMerged(std::string_view record, std::int32_t& index,
                                 const std::optional<TExpectedEntry>& expected) {
    if (!Open(Mode::Change)) return false;
    if (index >= 0 && !CheckExpected(index, expected)) return Finish(false);
    const bool named = ValidEntry(index);
    if (named && !DeleteRecord(ENTRY_BASE + index)) return Finish(false);
    const std::string_view word = WordOf(record);
    const std::string_view file = m_data.view();
    std::uint64_t pos = kRecordsOffset;
    std::int32_t last = -1;
    std::string existing, merged;
    bool ok = SkipRecords(file, m_recordsEnd, pos, ENTRY_BASE) || Fail(TFailure::Damaged);
    TRecordSpan span;
    for (std::int32_t j = 0; ok && j < m_count; ++j) {
        ok = NextRecord(file, m_recordsEnd, pos, span) || Fail(TFailure::Damaged);
        if (!ok || (named && j == index) || !ScrambledWordEquals(file, span, word)) continue;
        UnscrambleRecord(file, span, existing);
        ok = MergeDescriptions(existing, record, merged) && ReplaceRecord(ENTRY_BASE + j, merged);
        last = j;
    }
    if (ok && last < 0) ok = AppendRecord(record);
    // The position after the rewrite, where the caller will find the entry.
    std::int32_t stored = named ? m_count - 1 : m_count;
    if (last >= 0) stored = (named && index < last) ? last - 1 : last;
    if (!Finish(ok)) return false;
    index = stored;
    return true;
}

std::int32_t TDataFile::FindWord(std::string_view record) {
    if (!Open(Mode::Read)) return -1;
    const std::string_view word = WordOf(record);
    const std::string_view file = m_data.view();
    std::uint64_t pos = kRecordsOffset;
    std::int32_t found = -2;
    if (!SkipRecords(file, m_recordsEnd, pos, ENTRY_BASE)) found = Fail(TFailure::Damaged) ? 0 : -1;
    TRecordSpan span;
    for (std::int32_t j = 0; found == -2 && j < m_count; ++j) {
        if (!NextRecord(file, m_recordsEnd, pos, span))
            found = Fail(TFailure::Damaged) ? 0 : -1;
        else if (ScrambledWordEquals(file, span, word))
            found = j;
    }
    Abort();
    return found;
}

}  // namespace vrk
