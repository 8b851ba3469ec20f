// TDataFile: merging the entries of an older-format file into a dictionary.
// Each import is one transaction: every incoming entry is merged into the
// dictionary as it was opened (through the word index), and one rewrite at
// the end applies them all. A failure or a stop leaves the dictionary as it
// was. Nothing read from the file sizes an allocation: lengths are at most
// 65 535 and texts are kept to the record limit.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>

#include "data_file.h"
#include "file_system.h"
#include "older_formats.h"
#include "progress.h"

namespace vrk {
namespace {

struct TFileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using TFilePtr = std::unique_ptr<std::FILE, TFileCloser>;

// The header data after the entries of a second-generation file, as the
// dictionary's records 10-14 hold them.
struct TSecondGenInfo {
    std::string password, name, author, notes;
    std::int32_t flags = 0;
};

bool ReadSecondGenInfo(TByteReader& in, TSecondGenInfo& info) {
    std::string text;
    if (!ReadCounted(in, text, MAX_RECORD)) return false;
    DecodeRunningSum(text);
    std::reverse(text.begin(), text.end());
    info.password = WithoutNul(text);
    info.flags = info.password.empty() ? 0 : kFlagPassword;
    for (std::string* field : {&info.name, &info.author, &info.notes}) {
        if (!ReadCounted(in, text, MAX_RECORD)) return false;
        *field = WithoutNul(text);
    }
    // Only the first byte of each 32-bit number is looked at.
    const int readOnly = in.Get();
    if (readOnly < 0 || !in.Skip(3)) return false;
    const int noExport = in.Get();
    if (noExport < 0) return false;
    if (readOnly == 0) info.flags |= kFlagChangesAllowed;
    if (noExport == 0) info.flags |= kFlagExportAllowed;
    return true;
}

}  // namespace

std::FILE* TDataFile::BeginImport(const std::string& path) {
    progress().SetPos(0);
    if (!Open(Mode::Change)) return nullptr;
    // Only a regular file: a pipe could keep the import waiting for good.
    const int fd = OpenPlainFile(path, O_RDONLY, true);
    std::FILE* file = fd >= 0 ? ::fdopen(fd, "rb") : nullptr;
    if (!file) {
        const int error = errno;
        if (fd >= 0) FileSystem().Close(fd);
        Abort();
        FailErrno(path, error);
    }
    return file;
}

bool TDataFile::ImportSecondGen(const std::string& path, char separator, bool withInfo) {
    TFilePtr file(BeginImport(path));
    if (!file) return false;
    TByteReader in(file.get());
    std::uint32_t entries = 0;
    std::string word, text;
    // The format and library names are read and ignored.
    // A short read is a damaged (or cut) file, unless the system failed it.
    auto readFailed = [&] {
        return std::ferror(file.get()) ? FailAt(path, TFailure::IoError, EIO)
                                       : FailAt(path, TFailure::Damaged);
    };
    bool ok = (ReadFixed32(in, entries) && ReadCounted(in, text, MAX_RECORD) &&
               ReadCounted(in, text, MAX_RECORD)) ||
              readFailed();
    if (ok)
        progress().SetTotal(
            ClampProgress(WithSyncShare(m_count + 2 * std::int64_t{entries} + ENTRY_BASE)));
    ok = ok && BuildWordIndex();
    // A count larger than the entries present ends at the first short read.
    for (std::uint32_t i = 0; ok && i < entries; ++i) {
        ok = (ReadCounted(in, word, MAX_RECORD) && ReadCounted(in, text, MAX_RECORD)) ||
             readFailed();
        if (!ok) break;
        DecodeRunningSum(word);
        DecodeRunningSum(text);
        ok = MergeIncoming(BuildRecord(word, text, separator));
    }
    if (ok && withInfo) {
        TSecondGenInfo info;
        char flags[16];
        ok = ReadSecondGenInfo(in, info) || readFailed();
        std::snprintf(flags, sizeof flags, "%X", static_cast<unsigned>(info.flags));
        ok = ok && ReplaceRecord(kRecordPassword, info.password) &&
             ReplaceRecord(kRecordName, info.name) && ReplaceRecord(kRecordAuthor, info.author) &&
             ReplaceRecord(kRecordNotes, info.notes) && ReplaceRecord(kRecordFlags, flags);
    }
    return Finish(ok);
}

bool TDataFile::ImportFirstGen(const std::string& path, char separator) {
    TFilePtr file(BeginImport(path));
    if (!file) return false;
    TByteReader in(file.get());
    const std::int64_t entries = TFirstGenReader::CountEntries(in);
    bool ok = (in.Rewind() || FailErrno(path, errno)) && BuildWordIndex();
    progress().SetTotal(ClampProgress(WithSyncShare(m_count + 2 * entries + ENTRY_BASE)));
    TFirstGenReader reader(in);
    std::string word, text;
    while (ok && reader.Next(word, text)) {
        // An empty line holds no entry.
        if (word.empty() && text.empty()) {
            progress().Add(1);
            ok = !progress().StopRequested() || FailStopped();
            continue;
        }
        ok = MergeIncoming(BuildRecord(word, text, separator));
    }
    if (ok && std::ferror(file.get())) ok = FailAt(path, TFailure::IoError, EIO);
    return Finish(ok);
}

bool TDataFile::ImportCsv(const std::string& path) {
    TFilePtr file(BeginImport(path));
    if (!file) return false;
    TByteReader in(file.get());
    const std::int64_t lines = CountCsvLines(in);
    bool ok = (in.Rewind() || FailErrno(path, errno)) && BuildWordIndex();
    progress().SetTotal(ClampProgress(WithSyncShare(3 * lines + ENTRY_BASE)));
    std::string line;
    while (ok && ReadCsvLine(in, line)) {
        // An empty line holds no entry.
        const std::string record = CsvLineToRecord(line);
        if (record.empty()) {
            progress().Add(1);
            ok = !progress().StopRequested() || FailStopped();
            continue;
        }
        ok = MergeIncoming(record);
    }
    if (ok && std::ferror(file.get())) ok = FailAt(path, TFailure::IoError, EIO);
    return Finish(ok);
}

}  // namespace vrk
