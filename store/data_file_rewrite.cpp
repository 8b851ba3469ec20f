// The rewrite that applies a transaction's queued changes. The new file is
// written complete beside the dictionary (its real path, links resolved),
// flushed to disk and renamed over it, so the dictionary is at every moment
// either the old or the new file. Where no file can be made beside the
// dictionary, the transaction was refused when it opened: the old file is
// never truncated and written again in place, which a full disk or a killed
// process would leave cut. Every failure and stop removes the file it was
// writing (Abort).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "beside_file.h"
#include "coding.h"
#include "data_file.h"
#include "file_system.h"
#include "progress.h"
#include "record_scan.h"

namespace vrk {
namespace {

constexpr std::int32_t kProgressStep = 4096;

// Counts records into the progress values in steps, so that a rewrite of a
// million records does not touch the shared counter a million times.
class TProgressCounter {
  public:
    explicit TProgressCounter(TProgress& progress) : m_progress(progress) {}
    ~TProgressCounter() { Flush(); }
    // False when the user asked to stop.
    bool Add(std::int32_t n) {
        m_pending += n;
        if (m_pending >= kProgressStep) Flush();
        return !m_progress.StopRequested();
    }
    void Flush() {
        m_progress.Add(m_pending);
        m_pending = 0;
    }

  private:
    TProgress& m_progress;
    std::int32_t m_pending = 0;
};

bool WriteTrailer(TScrambledWriter& out, std::uint64_t pictureSize) {
    char trailer[kTrailerSize] = {};
    PutFixed32(trailer, static_cast<std::uint32_t>(pictureSize));
    return out.WritePlain(std::string_view(trailer, kTrailerSize));
}

}  // namespace

bool TDataFile::Rewrite() {
    if (!m_replacements.Flush()) return FailErrno(m_replacementsPath, m_replacements.error());
    if (!m_additions.Flush()) return FailErrno(m_openAdditionsPath, m_additions.error());
    TFileView replacements, additions;
    std::string_view picture;
    if (!replacements.Load(*m_fs, m_replacementsFile.fd()))
        return FailErrno(m_replacementsPath, errno);
    if (!additions.Load(*m_fs, m_additionsFd)) return FailErrno(m_openAdditionsPath, errno);
    if (m_picture)
        picture = *m_picture;
    else if (!ReadPictureFromFile(picture))
        return Fail(TFailure::Damaged);

    const int fd = m_newFd;
    const std::string& tempPath = m_newPath;
    // The buffer is sized by the new file, so that a small dictionary's
    // rewrite does not clear a megabyte first.
    const std::uint64_t estimate =
        m_data.size() + replacements.size() + additions.size() + picture.size();
    TScrambledWriter out(std::clamp<std::uint64_t>(estimate, 4096, 1 << 20));
    out.Attach(*m_fs, fd);
    // The progress bar moves while the data goes to the disk, rather than
    // standing still during the final fsync.
    out.SetWriteBehind(true);
    // WriteRecords records its own reason (damaged, stopped); the writer
    // and the system calls record theirs here.
    bool ok = WriteRecords(out, replacements.view(), additions.view());
    int error = 0;
    if (ok && !(out.WritePlain(picture) && WriteTrailer(out, picture.size()) && out.Flush()))
        error = out.error();
    if (ok && error == 0) {
        // The new file takes the owner (where we may) and the permissions
        // of the dictionary it replaces.
        struct stat st;
        if (fstat(m_mainFile.fd(), &st) == 0) {
            const int owned = ::fchown(fd, st.st_uid, st.st_gid);
            (void)owned;  // only root may give a file away
            if (::fchmod(fd, st.st_mode & 07777) != 0) error = errno;
        }
    }
    if (ok && error == 0 && m_fs->Sync(fd) != 0) error = errno;
    if (ok && error == 0) progress().Complete();
    // Failures leave the file for Abort, which removes it under its lock.
    if (!ok || error != 0) return ok ? FailErrno(tempPath, error) : FailIfUnset(TFailure::IoError);
    if (m_fs->Rename(tempPath.c_str(), m_realPath.c_str()) != 0)
        return FailErrno(m_realPath, errno);
    // Placed: the file has the dictionary's name now, and Abort must not
    // remove it; its descriptor closes there.
    m_newPath.clear();
    SyncFolderOf(*m_fs, m_realPath);
    return true;
}

bool TDataFile::WriteRecords(TScrambledWriter& out, std::string_view replacements,
                             std::string_view additions) {
    char header[kHeaderSize] = {};
    PutFixed32(header, static_cast<std::uint32_t>(m_count) + m_added - m_deleted);
    auto writeFailed = [&] { return FailErrno(m_realPath, out.error()); };
    if (!out.WritePlain(kMagic) || !out.WritePlain(std::string_view(header, kHeaderSize)))
        return writeFailed();

    // Unchanged records are copied in runs; only the changed ones break a
    // run. Every byte after the first change moves, so it is re-scrambled
    // for its new offset on the way.
    std::vector<std::int32_t> changed;
    changed.reserve(m_changes.size());
    for (const auto& [record, state] : m_changes) changed.push_back(record);
    std::sort(changed.begin(), changed.end());
    const std::string_view file = m_data.view();
    TProgressCounter progress(this->progress());
    std::uint64_t pos = kRecordsOffset, runStart = kRecordsOffset;
    std::int32_t k = 0;
    // Each step says why it failed: the records end early (damaged), the
    // caller asked to stop, or a write failed.
    auto skipTo = [&](std::int32_t target) {
        while (k < target) {
            const std::int32_t n = std::min(target - k, kProgressStep);
            if (!SkipRecords(file, m_recordsEnd, pos, n)) return Fail(TFailure::Damaged);
            if (!progress.Add(n)) return FailStopped();
            k += n;
        }
        return true;
    };
    auto flushRun = [&] {
        return out.WriteRescrambled(file.substr(runStart, pos - runStart), runStart) ||
               writeFailed();
    };
    for (const std::int32_t record : changed) {
        const std::int64_t replacement = m_changes[record];
        if (!skipTo(record) || !flushRun()) return false;
        TRecordSpan old;
        if (!NextRecord(file, m_recordsEnd, pos, old)) return Fail(TFailure::Damaged);
        if (!progress.Add(1)) return FailStopped();
        ++k;
        runStart = pos;
        if (replacement != kDeleted) {
            auto from = static_cast<std::uint64_t>(replacement);
            TRecordSpan text;
            if (!NextRecord(replacements, replacements.size(), from, text))
                return FailAt(m_replacementsPath, TFailure::IoError);
            if (!out.WriteRescrambled(replacements.substr(text.offset, text.length + 1),
                                      text.offset))
                return writeFailed();
        }
    }
    if (!skipTo(m_count + ENTRY_BASE)) return false;
    // Records beyond the count would be dropped by this rewrite: a file
    // whose records do not end where its picture begins is damaged, and
    // left as it is.
    if (pos != m_recordsEnd) return Fail(TFailure::Damaged);
    if (!flushRun()) return false;
    progress.Flush();

    // Appended records follow in the order they were queued.
    for (std::uint64_t from = 0; from < additions.size();) {
        const std::uint64_t n = std::min<std::uint64_t>(additions.size() - from, 1 << 20);
        if (!out.WriteRescrambled(additions.substr(from, n), from)) return writeFailed();
        from += n;
        if (this->progress().StopRequested()) return FailStopped();
    }
    this->progress().Add(static_cast<std::int32_t>(m_added));
    return true;
}

}  // namespace vrk
