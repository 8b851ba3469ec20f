// The rewrite that applies a transaction's queued changes. The new file is
// written complete beside the dictionary, flushed to disk and renamed over
// it, so the dictionary is at every moment either the old or the new file.
// Only when no file can be created in the dictionary's folder is the new
// content written to the output scratch file and copied back.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "coding.h"
#include "data_file.h"
#include "progress.h"
#include "record_scan.h"

namespace vrk {
namespace {

constexpr std::int32_t kProgressStep = 4096;

// Creates a uniquely named file beside `path`; -1 when that is not possible.
int CreateBeside(const std::string& path, std::string& tempPath) {
    if (!RewriteBesideAllowed()) return -1;
    const std::filesystem::path p(path);
    const std::string dir = p.has_parent_path() ? p.parent_path().string() : ".";
    tempPath = dir + "/." + p.filename().string() + ".XXXXXX";
    return ::mkostemp(tempPath.data(), O_CLOEXEC);
}

void SyncFolderOf(const std::string& path) {
    const std::filesystem::path p(path);
    const std::string dir = p.has_parent_path() ? p.parent_path().string() : ".";
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Copies the file at `from` over the content of `to`, in place.
bool CopyBack(const std::string& from, const std::string& to) {
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return false;
    const int out = ::open(to.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    bool ok = out >= 0;
    std::vector<char> buffer(1 << 20);
    while (ok) {
        const ssize_t got = ::read(in, buffer.data(), buffer.size());
        if (got == 0) break;
        ok = got > 0 && WriteAll(out, buffer.data(), static_cast<std::size_t>(got));
    }
    ok = ok && ::fsync(out) == 0;
    if (out >= 0 && ::close(out) != 0) ok = false;
    ::close(in);
    return ok;
}

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
    if (!m_replacements.Flush() || !m_additions.Flush()) return false;
    TFileView replacements, additions;
    std::string_view picture;
    if (!replacements.Load(m_replacementsFile.fd()) || !additions.Load(m_additionsFd)) return false;
    if (m_picture)
        picture = *m_picture;
    else if (!ReadPictureFromFile(picture))
        return false;

    std::string tempPath;
    int fd = CreateBeside(m_path, tempPath);
    const bool besideDictionary = fd >= 0;
    if (!besideDictionary) {
        tempPath = m_outputPath;
        fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (fd < 0) return false;
    }
    TScrambledWriter out;
    out.Attach(fd);
    bool ok = WriteRecords(out, replacements.view(), additions.view()) && out.WritePlain(picture) &&
              WriteTrailer(out, picture.size()) && out.Flush() && ::fsync(fd) == 0;
    if (ok && besideDictionary) {
        struct stat st;
        if (fstat(m_mainFile.fd(), &st) == 0) ::fchmod(fd, st.st_mode & 07777);
    }
    if (::close(fd) != 0) ok = false;
    if (!ok) {
        RemoveFile(tempPath);
        return false;
    }
    if (besideDictionary) {
        if (::rename(tempPath.c_str(), m_path.c_str()) != 0) {
            RemoveFile(tempPath);
            return false;
        }
        SyncFolderOf(m_path);
        return true;
    }
    // The dictionary is truncated in place: drop the view of the old file
    // first. Until the copy succeeds, the output file is the only complete
    // copy of the new content and must stay.
    m_data.Reset();
    m_keepOutput = !CopyBack(tempPath, m_path);
    return !m_keepOutput;
}

bool TDataFile::WriteRecords(TScrambledWriter& out, std::string_view replacements,
                             std::string_view additions) {
    char header[kHeaderSize] = {};
    PutFixed32(header, static_cast<std::uint32_t>(m_count) + m_added - m_deleted);
    if (!out.WritePlain(kMagic) || !out.WritePlain(std::string_view(header, kHeaderSize)))
        return false;

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
    auto skipTo = [&](std::int32_t target) {
        while (k < target) {
            const std::int32_t n = std::min(target - k, kProgressStep);
            if (!SkipRecords(file, m_recordsEnd, pos, n) || !progress.Add(n)) return false;
            k += n;
        }
        return true;
    };
    auto flushRun = [&] {
        return out.WriteRescrambled(file.substr(runStart, pos - runStart), runStart);
    };
    for (const std::int32_t record : changed) {
        const std::int64_t replacement = m_changes[record];
        if (!skipTo(record) || !flushRun()) return false;
        TRecordSpan old;
        if (!NextRecord(file, m_recordsEnd, pos, old) || !progress.Add(1)) return false;
        ++k;
        runStart = pos;
        if (replacement != kDeleted) {
            auto from = static_cast<std::uint64_t>(replacement);
            TRecordSpan text;
            if (!NextRecord(replacements, replacements.size(), from, text) ||
                !out.WriteRescrambled(replacements.substr(text.offset, text.length + 1),
                                      text.offset))
                return false;
        }
    }
    if (!skipTo(m_count + ENTRY_BASE) || !flushRun()) return false;
    progress.Flush();

    // Appended records follow in the order they were queued.
    for (std::uint64_t from = 0; from < additions.size();) {
        const std::uint64_t n = std::min<std::uint64_t>(additions.size() - from, 1 << 20);
        if (!out.WriteRescrambled(additions.substr(from, n), from)) return false;
        from += n;
        if (this->progress().StopRequested()) return false;
    }
    this->progress().Add(static_cast<std::int32_t>(m_added));
    return true;
}

}  // namespace vrk
