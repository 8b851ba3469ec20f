// TDataFile: merging entries with the same word, MergeFile and RemapLetter.
#include <algorithm>

#include "data_file.h"
#include "progress.h"
#include "record_scan.h"
#include "same_file.h"
#include "word_index.h"

namespace vrk {

bool IsSameWord(std::string_view a, std::string_view b) {
    return WordOf(a) == WordOf(b);
}

bool MergeDescriptions(std::string_view existing, std::string_view incoming, std::string& output,
                       std::size_t size) {
    if (size == 0) return false;
    output.assign(existing.substr(0, size - 1));
    // Descriptions of existing, each with its leading 0x01, to test repeats.
    const std::size_t firstMark = existing.find(kDescriptionMark);
    const std::string_view have =
        firstMark == std::string_view::npos ? std::string_view() : existing.substr(firstMark);
    auto holds = [&](std::string_view description) {
        for (std::size_t at = have.find(description); at != std::string_view::npos;
             at = have.find(description, at + 1)) {
            const std::size_t end = at + description.size();
            if (end == have.size() || have[end] == kDescriptionMark) return true;
        }
        return false;
    };
    std::size_t start = incoming.find(kDescriptionMark);
    while (start != std::string_view::npos) {
        const std::size_t next = incoming.find(kDescriptionMark, start + 1);
        const std::string_view description = incoming.substr(start, next - start);
        if (!holds(description) && output.size() + description.size() <= kMaxRecordText)
            output.append(description);
        start = next;
    }
    return true;
}

bool TDataFile::BuildWordIndex() {
    std::uint64_t first = kRecordsOffset;
    m_wordIndex = std::make_unique<TWordIndex>();
    return (SkipRecords(m_data.view(), m_recordsEnd, first, ENTRY_BASE) &&
            m_wordIndex->Build(Records(), first, m_count)) ||
           Fail(TFailure::Damaged);
}

bool TDataFile::MergeIncoming(std::string_view record) {
    if (!m_wordIndex) return Fail(TFailure::InvalidArgument);
    ++m_convertCounts.entries;
    // The byte that ends each search result never enters a record: a space
    // takes its place.
    std::string clean;
    if (record.find(kResultSeparator) != std::string_view::npos) {
        clean.assign(record);
        for (char& c : clean) {
            if (c != kResultSeparator) continue;
            c = ' ';
            ++m_convertCounts.separators;
        }
        record = clean;
    }
    const std::int32_t j = m_wordIndex->Find(WordOf(record));
    bool ok;
    if (j >= 0) {
        // Merged into the entry's text as the dictionary was opened, so a
        // second incoming entry for one word supersedes the first merge.
        std::uint64_t pos = m_wordIndex->RecordOffset(j);
        TRecordSpan span;
        std::string existing, merged;
        ok = NextRecord(m_data.view(), m_recordsEnd, pos, span) || Fail(TFailure::Damaged);
        if (ok) UnscrambleRecord(m_data.view(), span, existing);
        ok = ok && MergeDescriptions(existing, record, merged) &&
             ReplaceRecord(ENTRY_BASE + j, merged);
    } else {
        ok = AppendRecord(record);
    }
    progress().Add(1);
    return ok && (!progress().StopRequested() || FailStopped());
}

bool TDataFile::MergeFile(const std::string& sourcePath) {
    progress().SetPos(0);
    m_convertCounts = TConvertCounts{};
    if (!Open(Mode::Change)) return false;
    // The source may be this very dictionary; its lock is then ours already.
    TLockedFile sourceFile;
    TFileView sourceCopy;
    std::string_view source = m_data.view();
    std::uint64_t sourceEnd = m_recordsEnd;
    std::int32_t sourceCount = m_count;
    if (!IsSameFile(m_mainFile.fd(), sourcePath)) {
        if (!sourceFile.Open(*m_fs, sourcePath, TLockedFile::Access::Read, false, m_progress)) {
            const int error = sourceFile.error();
            Abort();
            return FailErrno(sourcePath, error);
        }
        if (!sourceCopy.Load(*m_fs, sourceFile.fd())) {
            const int error = errno;
            Abort();
            return FailRead(sourcePath, error);
        }
        source = sourceCopy.view();
        // Only the source's records are read, as Open reads a dictionary's:
        // its picture block and trailer are no entries.
        if (!RecordRegion(source, sourceEnd, sourceCount)) {
            Abort();
            return FailAt(sourcePath, TFailure::Damaged);
        }
    }
    std::uint64_t pos = kRecordsOffset;
    bool ok = BuildWordIndex();
    if (ok && !SkipRecords(source, sourceEnd, pos, ENTRY_BASE))
        ok = FailAt(sourcePath, TFailure::Damaged);
    if (ok)
        progress().SetTotal(
            ClampProgress(WithSyncShare(m_count + 2 * std::int64_t{sourceCount} + ENTRY_BASE)));
    TRecordSpan span;
    std::string incoming;
    for (std::int32_t i = 0; ok && i < sourceCount; ++i) {
        if (!NextRecord(source, sourceEnd, pos, span)) {
            ok = FailAt(sourcePath, TFailure::Damaged);
            break;
        }
        // A record longer than a record may be is cut, as every reader does.
        m_convertCounts.cut += span.length > kMaxRecordText;
        UnscrambleRecord(source, span, incoming);
        ok = MergeIncoming(incoming);
    }
    return Finish(ok);
}

bool TDataFile::ImportRecords(std::span<const std::string> records) {
    progress().SetPos(0);
    m_convertCounts = TConvertCounts{};
    if (!Open(Mode::Change)) return false;
    bool ok = BuildWordIndex();
    progress().SetTotal(ClampProgress(
        WithSyncShare(m_count + 2 * static_cast<std::int64_t>(records.size()) + ENTRY_BASE)));
    for (std::size_t i = 0; ok && i < records.size(); ++i) {
        const std::string_view record = records[i];
        m_convertCounts.cut += record.size() > kMaxRecordText;
        ok = MergeIncoming(record.substr(0, kMaxRecordText));
    }
    return Finish(ok);
}

bool TDataFile::RemapLetter(char from, char to) {
    if (from == kTerminator || from == kDescriptionMark || to == kTerminator ||
        to == kDescriptionMark)
        return Fail(TFailure::InvalidArgument);
    progress().SetPos(0);
    if (!Open(Mode::Change)) return false;
    progress().SetTotal(ClampProgress(WithSyncShare(2 * std::int64_t{m_count} + 2 * ENTRY_BASE)));
    const std::string_view file = m_data.view();
    std::uint64_t pos = kRecordsOffset;
    TRecordSpan span;
    std::string text;
    bool ok = true;
    for (std::int32_t k = 0; ok && k < m_count + ENTRY_BASE; ++k) {
        ok = NextRecord(file, m_recordsEnd, pos, span) || Fail(TFailure::Damaged);
        if (!ok) break;
        if (k != kRecordPassword && k != kRecordFlags) {
            UnscrambleRecord(file, span, text, span.length);
            // A record without the letter would be written back unchanged.
            if (text.find(from) != std::string::npos) {
                std::replace(text.begin(), text.end(), from, to);
                ok = ReplaceRecord(k, text);
            }
        }
        progress().Add(1);
        ok = ok && (!progress().StopRequested() || FailStopped());
    }
    return Finish(ok);
}

}  // namespace vrk
