// TDataFile: merging entries with the same word, MergeFile and RemapLetter.
#include <algorithm>

#include "data_file.h"
#include "progress.h"
#include "record_scan.h"
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
    if (!SkipRecords(m_data.view(), m_recordsEnd, first, ENTRY_BASE)) return false;
    m_wordIndex = std::make_unique<TWordIndex>();
    return m_wordIndex->Build(Records(), first, m_count);
}

bool TDataFile::MergeIncoming(std::string_view record) {
    if (!m_wordIndex) return false;
    const std::int32_t j = m_wordIndex->Find(WordOf(record));
    bool ok;
    if (j >= 0) {
        // Merged into the entry's text as the dictionary was opened, so a
        // second incoming entry for one word supersedes the first merge.
        std::uint64_t pos = m_wordIndex->RecordOffset(j);
        TRecordSpan span;
        std::string existing, merged;
        ok = NextRecord(m_data.view(), m_recordsEnd, pos, span);
        if (ok) UnscrambleRecord(m_data.view(), span, existing);
        ok = ok && MergeDescriptions(existing, record, merged) &&
             ReplaceRecord(ENTRY_BASE + j, merged);
    } else {
        ok = AppendRecord(record);
    }
    progress().Add(1);
    return ok && !progress().StopRequested();
}

bool TDataFile::MergeFile(const std::string& sourcePath) {
    progress().SetPos(0);
    if (!Open(Mode::Change)) return false;
    // The source may be this very dictionary; its lock is then ours already.
    TLockedFile sourceFile;
    TFileView sourceCopy;
    std::string_view source = m_data.view();
    if (!IsSameFile(m_mainFile.fd(), sourcePath)) {
        if (!sourceFile.Open(sourcePath, TLockedFile::Access::Read, false) ||
            !sourceCopy.Load(sourceFile.fd())) {
            Abort();
            return false;
        }
        source = sourceCopy.view();
    }
    const std::int32_t sourceCount =
        source.size() >= kRecordsOffset
            ? static_cast<std::int32_t>(DecodeFixed32(source.data() + kHeaderOffset))
            : -1;
    std::uint64_t pos = kRecordsOffset;
    bool ok = sourceCount >= 0 && static_cast<std::uint64_t>(sourceCount) <= source.size() &&
              BuildWordIndex() && SkipRecords(source, source.size(), pos, ENTRY_BASE);
    if (ok) progress().SetTotal(m_count + 2 * sourceCount + ENTRY_BASE);
    TRecordSpan span;
    std::string incoming;
    for (std::int32_t i = 0; ok && i < sourceCount; ++i) {
        ok = NextRecord(source, source.size(), pos, span) && span.length <= kMaxRecordText;
        if (!ok) break;
        UnscrambleRecord(source, span, incoming);
        ok = MergeIncoming(incoming);
    }
    return Finish(ok);
}

bool TDataFile::RemapLetter(char from, char to) {
    if (from == kTerminator || from == kDescriptionMark || to == kTerminator ||
        to == kDescriptionMark)
        return false;
    progress().SetPos(0);
    if (!Open(Mode::Change)) return false;
    progress().SetTotal(2 * m_count + 32);
    const std::string_view file = m_data.view();
    std::uint64_t pos = kRecordsOffset;
    TRecordSpan span;
    std::string text;
    bool ok = true;
    for (std::int32_t k = 0; ok && k < m_count + ENTRY_BASE; ++k) {
        ok = NextRecord(file, m_recordsEnd, pos, span);
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
        ok = ok && !progress().StopRequested();
    }
    return Finish(ok);
}

}  // namespace vrk
