// TDataFile: merging the entries of an older-format file into a dictionary.
// Each import is one transaction: every incoming entry is merged into the
// dictionary as it was opened (through the word index), and one rewrite at
// the end applies them all. A failure or a stop leaves the dictionary as it
// was. Nothing read from the file sizes an allocation: lengths are at most
// 65 535 and texts are kept to the record limit.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "data_file.h"
#include "file_system.h"
#include "older_formats.h"
#include "progress.h"

namespace vrk {
namespace {

// The source file of an import, closed with the object.
class TSourceFile {
  public:
    TSourceFile(TFileSystem& fs, int fd) : m_fs(fs), m_fd(fd) {}
    ~TSourceFile() {
        if (m_fd >= 0) m_fs.Close(m_fd);
    }
    TSourceFile(const TSourceFile&) = delete;
    TSourceFile& operator=(const TSourceFile&) = delete;
    int fd() const { return m_fd; }

  private:
    TFileSystem& m_fs;
    int m_fd;
};

// The first pass of a text import (counting its lines) reports to progress
// by the share of the file read: up to a quarter of the bar, which the line
// count then takes over. It ends when a stop is requested.
void CountingProgress(TByteReader& in, int fd, TProgress& progress) {
    struct stat st {};
    const std::uint64_t size = ::fstat(fd, &st) == 0 && st.st_size > 0 ? st.st_size : 1;
    progress.SetTotal(4000);
    in.SetBlockHook([&progress, size](std::uint64_t done) {
        progress.SetPos(static_cast<std::int32_t>(std::min(done, size) * 1000 / size));
        return !progress.StopRequested();
    });
}

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

int TDataFile::BeginImport(const std::string& path) {
    progress().SetPos(0);
    m_convertCounts = TConvertCounts{};
    if (!Open(Mode::Change)) return -1;
    // Only a regular file: a pipe could keep the import waiting for good.
    const int fd = OpenPlainFile(*m_fs, path, O_RDONLY, true);
    if (fd < 0) {
        const int error = errno;
        Abort();
        FailErrno(path, error);
    }
    return fd;
}

bool TDataFile::ImportSecondGen(const std::string& path, char separator, bool withInfo) {
    const TSourceFile file(*m_fs, BeginImport(path));
    if (file.fd() < 0) return false;
    TByteReader in(*m_fs, file.fd());
    std::uint32_t entries = 0;
    std::string word, text;
    // The format and library names are read and ignored.
    // A short read is a damaged (or cut) file, unless the system failed it.
    auto readFailed = [&] { return FailRead(path, in.error()); };
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
        bool cut = false;
        const std::string record = BuildRecord(word, text, separator, &cut);
        m_convertCounts.cut += cut;
        ok = MergeIncoming(record);
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
    const TSourceFile file(*m_fs, BeginImport(path));
    if (file.fd() < 0) return false;
    TByteReader in(*m_fs, file.fd());
    CountingProgress(in, file.fd(), progress());
    const std::int64_t entries = TFirstGenReader::CountEntries(in);
    bool ok = (in.stopped() ? FailStopped() : in.Rewind() || FailErrno(path, in.error())) &&
              BuildWordIndex();
    // The count took a quarter of the bar: as many steps as the entries.
    progress().SetTotal(ClampProgress(WithSyncShare(m_count + 3 * entries + ENTRY_BASE)));
    progress().SetPos(ClampProgress(entries));
    TFirstGenReader reader(in);
    std::string word, text;
    while (ok && reader.Next(word, text)) {
        // An empty line holds no entry.
        if (word.empty() && text.empty()) {
            progress().Add(1);
            ok = !progress().StopRequested() || FailStopped();
            continue;
        }
        bool cut = false;
        const std::string record = BuildRecord(word, text, separator, &cut);
        m_convertCounts.cut += cut || reader.cut();
        ok = MergeIncoming(record);
    }
    if (ok && in.error() != 0) ok = FailErrno(path, in.error());
    return Finish(ok);
}

bool TDataFile::ImportCsv(const std::string& path) {
    const TSourceFile file(*m_fs, BeginImport(path));
    if (file.fd() < 0) return false;
    TByteReader in(*m_fs, file.fd());
    CountingProgress(in, file.fd(), progress());
    const std::int64_t lines = CountCsvLines(in);
    bool ok = (in.stopped() ? FailStopped() : in.Rewind() || FailErrno(path, in.error())) &&
              BuildWordIndex();
    // The count took a quarter of the bar: as many steps as the lines.
    progress().SetTotal(ClampProgress(WithSyncShare(4 * lines + ENTRY_BASE)));
    progress().SetPos(ClampProgress(lines));
    std::string line;
    bool cut = false;
    while (ok && ReadCsvLine(in, line, &cut)) {
        m_convertCounts.cut += cut;
        // An empty line holds no entry.
        const std::string record = CsvLineToRecord(line);
        if (record.empty()) {
            progress().Add(1);
            ok = !progress().StopRequested() || FailStopped();
            continue;
        }
        ok = MergeIncoming(record);
    }
    if (ok && in.error() != 0) ok = FailErrno(path, in.error());
    return Finish(ok);
}

}  // namespace vrk
