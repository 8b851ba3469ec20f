// TDataFile: construction, the transaction steps and the header and picture
// operations. The rewrite is in data_file_rewrite.cpp, the entry operations
// in data_file_entries.cpp, merging and remapping in data_file_merge.cpp.
#include "data_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "beside_file.h"
#include "coding.h"
#include "file_system.h"
#include "record_scan.h"
#include "same_file.h"
#include "word_index.h"

namespace vrk {
namespace {

constexpr std::size_t kMaxPath = 999;

std::string CutPath(std::string path) {
    if (path.size() > kMaxPath) path.resize(kMaxPath);
    return path;
}

// Where the records of a file of `size` bytes end: before the picture block
// when the trailer is sound, else at the end of the file.
std::uint64_t RecordsEnd(std::uint64_t size, std::uint32_t pictureSize, bool trailerRead) {
    if (!trailerRead || size < kEmptyFileSize || pictureSize > size - kEmptyFileSize) return size;
    return size - kTrailerSize - pictureSize;
}

// The entry count is sound when every record it implies has room for at
// least its terminator; a damaged count must never size an allocation.
bool CountFits(std::int32_t count, std::uint64_t recordBytes) {
    return count >= 0 && static_cast<std::uint64_t>(count) + ENTRY_BASE <= recordBytes;
}

bool ValidRecordText(std::string_view text) {
    return text.size() <= kMaxRecordText && text.find(kTerminator) == std::string_view::npos;
}

}  // namespace

bool CreateEmpty(const std::string& path) {
    return TDataFile(path, "", "", "").CreateEmpty(true);
}

namespace {

// Writes the empty dictionary to a new hidden file beside target, flushed;
// with `like`, the file takes its owner (where allowed) and permissions.
// Returns 0 with tempPath set, or the errno of the step that failed (no file
// is left then, and tempPath is empty when none could be made). `tag` names
// a file that is no leftover (CreateBeside).
int WriteEmptyBeside(TFileSystem& fs, const std::string& target, const struct stat* like,
                     std::string& tempPath, std::string_view tag = {}) {
    std::string bytes(kEmptyFileSize, '\0');
    std::memcpy(bytes.data(), kMagic.data(), kMagicSize);
    const int fd = CreateBeside(fs, target, tempPath, like ? 0600 : 0644, tag);
    if (fd < 0) {
        const int error = errno;
        tempPath.clear();
        return error;
    }
    int error = WriteAll(fs, fd, bytes.data(), bytes.size()) ? 0 : errno;
    if (error == 0 && like) {
        const int owned = ::fchown(fd, like->st_uid, like->st_gid);
        (void)owned;  // only root may give a file away; the permissions matter more
        if (::fchmod(fd, like->st_mode & 07777) != 0) error = errno;
    }
    if (error == 0 && fs.Sync(fd) != 0) error = errno;
    if (fs.Close(fd) != 0 && error == 0) error = errno;
    if (error != 0) RemoveFile(fs, tempPath);
    return error;
}

}  // namespace

bool TDataFile::PlaceNewFile(bool replace, bool owned, const TNewFileMaker& make) {
    Abort();
    ClearFailure();
    struct stat there {};
    if (!replace && ::lstat(m_path.c_str(), &there) == 0) return Fail(TFailure::Exists);
    // A file that appears between the look and the link is found, locked,
    // on the next round.
    for (int round = 0; round < 3; ++round) {
        TLockedFile existing;
        const bool there = existing.Open(*m_fs, m_path, TLockedFile::Access::ReadWrite, true,
                                         m_progress, m_lockWait);
        if (!there && existing.error() != ENOENT) return FailOpen(existing);
        if (there && !replace) return Fail(TFailure::Exists);
        std::string target = m_path;
        struct stat st {};
        if (there) {
            if (::fstat(existing.fd(), &st) != 0) return FailErrno(m_path, errno);
            if (st.st_nlink > 1) return Fail(TFailure::HardLinked);
            target = RealPathOf(m_path);
            if (target.empty()) return FailErrno(m_path, errno);
            RemoveLeftoversBeside(*m_fs, target);
        }
        std::string temp;
        int error = make(target, there ? &st : nullptr, temp);
        // No file at all: the folder refused it.
        if (error != 0) return temp.empty() ? FailBeside(target, error) : FailErrno(target, error);
        // Replacing happens under the lock. A new file is linked, which never
        // replaces one that another program made meanwhile; only a link to
        // nothing is replaced outright, when the caller asked for that.
        struct stat link {};
        const bool danglingLink =
            !there && ::lstat(m_path.c_str(), &link) == 0 && S_ISLNK(link.st_mode);
        const bool rename = there || (danglingLink && replace);
        const bool placed = rename ? m_fs->Rename(temp.c_str(), target.c_str()) == 0
                                   : m_fs->Link(temp.c_str(), target.c_str()) == 0;
        error = placed ? 0 : errno;
        // A linked file has two names now; the temporary one goes.
        if ((placed && !rename) || (!placed && owned)) RemoveFile(*m_fs, temp);
        if (error == EEXIST && !replace) return Fail(TFailure::Exists);
        if (error == EEXIST) continue;
        if (error != 0) return FailErrno(target, error);
        SyncFolderOf(*m_fs, target);
        return true;
    }
    return Fail(TFailure::Busy);
}

bool TDataFile::CreateEmpty(bool replace) {
    return PlaceNewFile(
        replace, true,
        [this](const std::string& target, const struct stat* like, std::string& temp) {
            return WriteEmptyBeside(*m_fs, target, like, temp);
        });
}

bool TDataFile::CreateEmptyBeside(std::string& newPath) {
    Abort();
    ClearFailure();
    newPath.clear();
    // Beside what a link names, where ReplaceWith will rename it to.
    std::string target = m_path;
    struct stat st {};
    if (::stat(m_path.c_str(), &st) == 0) {
        target = RealPathOf(m_path);
        if (target.empty()) return FailErrno(m_path, errno);
    }
    const int error = WriteEmptyBeside(*m_fs, target, nullptr, newPath, kNewFileTag);
    if (error != 0) {
        const bool made = !newPath.empty();
        newPath.clear();
        return made ? FailErrno(target, error) : FailBeside(target, error);
    }
    return true;
}

bool TDataFile::ReplaceWith(const std::string& newPath) {
    return PlaceNewFile(true, false,
                        [&](const std::string&, const struct stat* like, std::string& temp) {
                            temp = newPath;
                            if (!like) return 0;
                            // The dictionary it replaces keeps its owner (where allowed) and
                            // permissions.
                            const int owned = ::chown(newPath.c_str(), like->st_uid, like->st_gid);
                            (void)owned;
                            return ::chmod(newPath.c_str(), like->st_mode & 07777) == 0 ? 0 : errno;
                        });
}

TDataFile::TDataFile(std::string path, std::string replacementsPath, std::string additionsPath,
                     std::string outputPath)
    : m_path(CutPath(std::move(path))),
      m_replacementsPath(CutPath(std::move(replacementsPath))),
      m_additionsPath(CutPath(std::move(additionsPath))),
      m_outputPath(CutPath(std::move(outputPath))) {
    SetAlphabet(kDefaultAlphabet, kDefaultSeparator);
}

TDataFile::~TDataFile() {
    Abort();
}

void TDataFile::SetAlphabet(std::string_view row, char separator) {
    m_alphabet.assign(row.substr(0, kMaxAlphabet));
    m_separator = separator;
    m_rank = BuildRankTable(m_alphabet, m_separator);
}

bool TDataFile::RecordRegion(std::string_view file, std::uint64_t& end, std::int32_t& count) {
    const std::uint64_t size = file.size();
    // Shorter than the empty dictionary: no room for its trailer, damaged
    // (as reading the count and the header records finds).
    if (size < kEmptyFileSize) return false;
    const bool trailerRead = size >= kTrailerSize;
    const std::uint32_t pictureSize =
        trailerRead ? DecodeFixed32(file.data() + size - kTrailerSize) : 0;
    end = RecordsEnd(size, pictureSize, trailerRead);
    count = static_cast<std::int32_t>(DecodeFixed32(file.data() + kHeaderOffset));
    return CountFits(count, end - kRecordsOffset);
}

std::string_view TDataFile::Records() const {
    return m_data.view().substr(0, m_recordsEnd);
}

// --- Transaction steps ------------------------------------------------------

bool TDataFile::Open(Mode mode) {
    Abort();
    ClearFailure();
    const bool change = mode == Mode::Change;
    // A change opens the dictionary for writing too, so that one the user
    // may not write is refused here rather than replaced by the rename.
    if (!m_mainFile.Open(*m_fs, m_path,
                         change ? TLockedFile::Access::ReadWrite : TLockedFile::Access::Read,
                         change, m_progress, m_lockWait)) {
        Abort();
        return FailOpen(m_mainFile);
    }
    if (change && !PrepareChange()) {
        Abort();
        return false;
    }
    if (!m_data.Load(*m_fs, m_mainFile.fd())) {
        const int error = errno;
        Abort();
        return FailRead(m_path, error);
    }
    if (!RecordRegion(m_data.view(), m_recordsEnd, m_count)) {
        Abort();
        return Fail(TFailure::Damaged);
    }
    m_cursor = kRecordsOffset;
    if (change && !OpenChangeFiles()) {
        Abort();
        return false;
    }
    // No other writer of this dictionary is at work now: copies beside it
    // were left by writers that died.
    if (change) RemoveLeftoversBeside(*m_fs, m_realPath);
    return true;
}

bool TDataFile::PrepareChange() {
    struct stat st;
    if (::fstat(m_mainFile.fd(), &st) != 0) return FailErrno(m_path, errno);
    if (st.st_nlink > 1) return Fail(TFailure::HardLinked);
    m_realPath = RealPathOf(m_path);
    if (m_realPath.empty()) return FailErrno(m_path, errno);
    // A link changed while the lock was taken: another program is at work.
    if (!IsSameFile(m_mainFile.fd(), m_realPath)) return Fail(TFailure::Busy);
    m_newFd = CreateBeside(*m_fs, m_realPath, m_newPath, 0600);
    if (m_newFd < 0) {
        const int error = errno;
        m_newPath.clear();
        return FailBeside(m_realPath, error);
    }
    return true;
}

bool TDataFile::OpenChangeFiles() {
    // The replacements file doubles as the lock of the whole scratch set, so
    // that two processes never share one set of scratch files.
    if (!m_replacementsFile.Open(*m_fs, m_replacementsPath, TLockedFile::Access::ReadWriteCreate,
                                 true, m_progress, m_lockWait))
        return FailErrno(m_replacementsPath, m_replacementsFile.error());
    if (m_fs->Truncate(m_replacementsFile.fd(), 0) != 0)
        return FailErrno(m_replacementsPath, errno);
    m_openAdditionsPath = m_additionsPath;
    m_additionsFd =
        m_fs->Open(m_openAdditionsPath.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (m_additionsFd < 0) {
        m_openAdditionsPath += "x";
        m_additionsFd =
            m_fs->Open(m_openAdditionsPath.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (m_additionsFd < 0) return FailErrno(m_openAdditionsPath, errno);
    }
    m_replacements.Attach(*m_fs, m_replacementsFile.fd());
    m_additions.Attach(*m_fs, m_additionsFd);
    return true;
}

bool TDataFile::SeekRecord(std::int32_t k) {
    if (!m_data.data() || k < 0) return false;
    std::uint64_t pos = kRecordsOffset;
    if (!SkipRecords(m_data.view(), m_recordsEnd, pos, k)) return false;
    m_cursor = pos;
    return true;
}

bool TDataFile::ReadRecord(std::string& out, std::size_t size) {
    if (!m_data.data() || size == 0 || m_cursor >= m_recordsEnd) return false;
    std::uint64_t next = m_cursor;
    TRecordSpan record;
    if (!NextRecord(m_data.view(), m_recordsEnd, next, record)) return false;
    UnscrambleRecord(m_data.view(), record, out, size - 1);
    // A record longer than the buffer is read in part; the cursor stays
    // inside it, as the next read expects.
    m_cursor = record.length > size - 1 ? m_cursor + (size - 1) : next;
    return true;
}

bool TDataFile::ReplaceRecord(std::int32_t k, std::string_view text) {
    if (m_additionsFd < 0 || k < 0 || k >= m_count + ENTRY_BASE)
        return Fail(TFailure::InvalidArgument);
    if (!ValidRecordText(text)) return Fail(TFailure::RecordTooLong);
    const std::uint64_t offset = m_replacements.offset();
    if (!m_replacements.WriteScrambled(text) ||
        !m_replacements.WriteScrambled(std::string_view("\0", 1)))
        return FailErrno(m_replacementsPath, m_replacements.error());
    auto [it, added] = m_changes.try_emplace(k, kDeleted);
    if (!added && it->second == kDeleted) --m_deleted;
    it->second = static_cast<std::int64_t>(offset);
    m_modified = true;
    return true;
}

bool TDataFile::AppendRecord(std::string_view text) {
    if (m_additionsFd < 0) return Fail(TFailure::InvalidArgument);
    if (!ValidRecordText(text)) return Fail(TFailure::RecordTooLong);
    if (!m_additions.WriteScrambled(text) || !m_additions.WriteScrambled(std::string_view("\0", 1)))
        return FailErrno(m_openAdditionsPath, m_additions.error());
    ++m_added;
    m_modified = true;
    return true;
}

bool TDataFile::DeleteRecord(std::int32_t k) {
    if (m_additionsFd < 0 || k < 0 || k >= m_count + ENTRY_BASE)
        return Fail(TFailure::InvalidArgument);
    auto [it, added] = m_changes.try_emplace(k, kDeleted);
    if (added || it->second != kDeleted) ++m_deleted;
    it->second = kDeleted;
    m_modified = true;
    return true;
}

bool TDataFile::Finish(bool ok) {
    if (ok) return Close();
    Abort();
    // Every step records its reason; this is only a safety net.
    return FailIfUnset(TFailure::IoError);
}

bool TDataFile::Close() {
    const bool ok = !m_modified || Rewrite();
    Abort();
    return ok || FailIfUnset(TFailure::IoError);
}

void TDataFile::Abort() {
    m_data.Reset();
    m_mainFile.Close();
    if (m_additionsFd >= 0) {
        m_fs->Close(m_additionsFd);
        m_additionsFd = -1;
        RemoveFile(*m_fs, m_openAdditionsPath);
    }
    if (m_newFd >= 0) {
        // Removed while it is still locked, so no cleaner meets it half gone.
        RemoveFile(*m_fs, m_newPath);
        m_fs->Close(m_newFd);
        m_newFd = -1;
        m_newPath.clear();
    }
    if (m_replacementsFile.IsOpen()) {
        // Removed while the scratch set is still locked, then unlocked.
        RemoveFile(*m_fs, m_outputPath);
        RemoveFile(*m_fs, m_replacementsPath);
        m_replacementsFile.Close();
    }
    m_replacements.Detach();
    m_additions.Detach();
    m_realPath.clear();
    m_modified = false;
    m_added = m_deleted = 0;
    m_count = 0;
    m_cursor = 0;
    m_recordsEnd = 0;
    std::unordered_map<std::int32_t, std::int64_t>().swap(m_changes);
    m_wordIndex.reset();
    m_picture.reset();
}

// --- Header and picture -----------------------------------------------------

bool TDataFile::ReadHeaderRecords(int last, std::vector<std::string>& out) {
    ClearFailure();
    TLockedFile file;
    struct stat st;
    if (!file.Open(*m_fs, m_path, TLockedFile::Access::Read, false, m_progress, m_lockWait))
        return FailOpen(file);
    if (fstat(file.fd(), &st) != 0) return FailErrno(m_path, errno);
    const auto size = static_cast<std::uint64_t>(st.st_size);
    char header[kHeaderSize];
    char trailer[4];
    if (size < kEmptyFileSize) return Fail(TFailure::Damaged);
    if (!ReadAt(*m_fs, file.fd(), header, kHeaderSize, kHeaderOffset) ||
        !ReadAt(*m_fs, file.fd(), trailer, 4, size - kTrailerSize))
        return FailRead(m_path, errno);
    const std::uint64_t end = RecordsEnd(size, DecodeFixed32(trailer), true);
    if (!CountFits(static_cast<std::int32_t>(DecodeFixed32(header)), end - kRecordsOffset))
        return Fail(TFailure::Damaged);
    // Header records are short; read a small block and grow it only while
    // the wanted records have not ended, never past what records may hold.
    const std::uint64_t limit =
        std::min<std::uint64_t>(end - kRecordsOffset, ENTRY_BASE * MAX_RECORD);
    std::string block;
    for (std::uint64_t want = std::min<std::uint64_t>(4096, limit);;
         want = std::min(want * 4, limit)) {
        block.resize(want);
        if (!ReadAt(*m_fs, file.fd(), block.data(), want, kRecordsOffset))
            return FailRead(m_path, errno);
        std::vector<TRecordSpan> spans;
        std::uint64_t pos = 0;
        TRecordSpan span;
        while (static_cast<int>(spans.size()) <= last && NextRecord(block, want, pos, span))
            spans.push_back(span);
        if (static_cast<int>(spans.size()) > last) {
            out.clear();
            for (const TRecordSpan& s : spans) {
                std::string text(block.substr(s.offset, std::min(s.length, kMaxRecordText)));
                ScrambleBytes(text.data(), text.data(), text.size(), kRecordsOffset + s.offset);
                out.push_back(std::move(text));
            }
            return true;
        }
        if (want == limit) return Fail(TFailure::Damaged);
    }
}

bool TDataFile::GetHeaderRecord(int k, std::string& out, std::size_t size) {
    std::vector<std::string> records;
    if (size == 0) return Fail(TFailure::InvalidArgument);
    if (!ReadHeaderRecords(k, records)) return false;
    out = records[k].substr(0, size - 1);
    return true;
}

std::int32_t TDataFile::GetEntryCount() {
    ClearFailure();
    TLockedFile file;
    struct stat st;
    char header[kHeaderSize];
    if (!file.Open(*m_fs, m_path, TLockedFile::Access::Read, false, m_progress, m_lockWait))
        return FailOpen(file) ? 0 : -1;
    if (fstat(file.fd(), &st) != 0) return FailErrno(m_path, errno) ? 0 : -1;
    if (static_cast<std::uint64_t>(st.st_size) < kEmptyFileSize)
        return Fail(TFailure::Damaged) ? 0 : -1;
    char trailer[4];
    const auto size = static_cast<std::uint64_t>(st.st_size);
    if (!ReadAt(*m_fs, file.fd(), header, kHeaderSize, kHeaderOffset) ||
        !ReadAt(*m_fs, file.fd(), trailer, 4, size - kTrailerSize))
        return FailRead(m_path, errno) ? 0 : -1;
    // The records end where opening the file finds them: before the picture,
    // or at the end of the file when the trailer is damaged.
    const auto count = static_cast<std::int32_t>(DecodeFixed32(header));
    if (!CountFits(count, RecordsEnd(size, DecodeFixed32(trailer), true) - kRecordsOffset))
        return Fail(TFailure::Damaged) ? 0 : -1;
    return count;
}

bool TDataFile::GetName(std::string& out, std::size_t size) {
    return GetHeaderRecord(kRecordName, out, size);
}
bool TDataFile::GetAuthor(std::string& out, std::size_t size) {
    return GetHeaderRecord(kRecordAuthor, out, size);
}
bool TDataFile::GetNotes(std::string& out, std::size_t size) {
    return GetHeaderRecord(kRecordNotes, out, size);
}
bool TDataFile::GetPassword(std::string& out, std::size_t size) {
    return GetHeaderRecord(kRecordPassword, out, size);
}

std::int32_t ParseFlags(std::string_view text) {
    std::uint32_t flags = 0;
    for (char c : text) {
        const int digit = (c >= '0' && c <= '9')   ? c - '0'
                          : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                          : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                                                   : -1;
        if (digit < 0) break;
        flags = (flags << 4) | static_cast<std::uint32_t>(digit);
    }
    return static_cast<std::int32_t>(flags & 0x7FFFFFFF);
}

std::int32_t TDataFile::GetFlags() {
    std::string text;
    return GetHeaderRecord(kRecordFlags, text, 100) ? ParseFlags(text) : -1;
}

bool TDataFile::SetInfo(std::string_view name, std::string_view author, std::string_view notes,
                        std::string_view password, std::int32_t flags) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "%X", static_cast<unsigned>(flags));
    if (!Open(Mode::Change)) return false;
    const bool queued = ReplaceRecord(kRecordName, name) && ReplaceRecord(kRecordAuthor, author) &&
                        ReplaceRecord(kRecordNotes, notes) &&
                        ReplaceRecord(kRecordPassword, password) &&
                        ReplaceRecord(kRecordFlags, hex);
    return Finish(queued);
}

bool TDataFile::ReadPictureFromFile(std::string_view& out) const {
    const std::uint64_t size = m_data.size();
    if (size < kEmptyFileSize) return false;
    const std::uint32_t n = DecodeFixed32(m_data.data() + size - kTrailerSize);
    if (n > size - kEmptyFileSize) return false;
    out = m_data.view().substr(size - kTrailerSize - n, n);
    return true;
}

bool TDataFile::SetPicture(std::string_view bytes) {
    // The trailer holds the length in 32 bits.
    if (bytes.size() > 0xFFFFFFFFu - kEmptyFileSize) return Fail(TFailure::InvalidArgument);
    if (!Open(Mode::Change)) return false;
    m_picture.emplace(bytes);
    m_modified = true;
    return Close();
}

bool TDataFile::GetPicture(std::string& out, std::size_t size) {
    if (!Open(Mode::Read)) return false;
    std::string_view picture;
    const bool ok = ReadPictureFromFile(picture);
    if (ok) out.assign(picture.substr(0, size));
    Abort();
    return ok || Fail(TFailure::Damaged);
}

std::int32_t TDataFile::GetPictureSize() {
    ClearFailure();
    TLockedFile file;
    struct stat st;
    // A dictionary that cannot be opened has no picture: 0, with the reason.
    if (!file.Open(*m_fs, m_path, TLockedFile::Access::Read, false, m_progress, m_lockWait)) {
        FailOpen(file);
        return 0;
    }
    if (fstat(file.fd(), &st) != 0) {
        FailErrno(m_path, errno);
        return 0;
    }
    const auto size = static_cast<std::uint64_t>(st.st_size);
    char trailer[4];
    if (size < kEmptyFileSize) return Fail(TFailure::Damaged) ? 0 : -1;
    if (!ReadAt(*m_fs, file.fd(), trailer, 4, size - kTrailerSize))
        return FailRead(m_path, errno) ? 0 : -1;
    const std::uint32_t n = DecodeFixed32(trailer);
    if (n > size - kEmptyFileSize || n > 0x7FFFFFFFu) return Fail(TFailure::Damaged) ? 0 : -1;
    return static_cast<std::int32_t>(n);
}

}  // namespace vrk
