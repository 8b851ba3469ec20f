// TDataFile: writing a dictionary in the three older formats, every entry
// sorted by the alphabet row. The records are sorted in place in the mapped
// file (by offset); entries that sort as equal keep their file order, and no
// copy of the whole dictionary is made. Memory: 16 bytes per entry that is
// not empty; empty entries, which all sort first and are all alike, are only
// counted, so no file costs more than eight times its size.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>

#include "beside_file.h"
#include "coding.h"
#include "data_file.h"
#include "file_system.h"
#include "older_formats.h"
#include "progress.h"
#include "record_scan.h"
#include "terminator_scan.h"

namespace vrk {
namespace {

// One entry to sort: the ranks of its first bytes packed so that most
// comparisons need one integer compare, and where its scrambled record lies
// (offset and length in one number).
struct TSortItem {
    std::uint64_t key;
    std::uint64_t place;

    static constexpr unsigned kLengthBits = 17;  // a record is at most 99 999 bytes
    std::uint64_t offset() const { return place >> kLengthBits; }
    std::size_t length() const { return place & ((std::uint64_t{1} << kLengthBits) - 1); }
};
static_assert(kMaxRecordText < (1u << TSortItem::kLengthBits));

// The sort key packs the ranks of a record's first bytes, each stored as
// rank + 1 in just as many bits as the row's ranks need (0 past the end, so
// a prefix sorts first, as in CompareByRank). The built-in row needs 6 bits,
// so the key holds 10 bytes and most comparisons end at the key.
class TRecordOrder {
  public:
    TRecordOrder(std::string_view file, const TRankTable& rank) : m_file(file), m_rank(rank) {
        const std::uint64_t most = *std::max_element(rank.begin(), rank.end()) + 1;
        while (m_bits < 64 && (most >> m_bits) != 0) ++m_bits;
        m_keyBytes = m_bits <= 32 ? 64 / m_bits : 0;
    }

    std::uint64_t Key(std::uint64_t offset, std::size_t length) const {
        std::uint64_t key = 0;
        for (std::size_t i = 0; i < m_keyBytes; ++i) {
            key <<= m_bits;
            if (i < length) key |= Rank(offset, i) + 1;
        }
        return key;
    }

    // True when a sorts before b (CompareByRank(a, b) == +1); records that
    // sort as equal keep their file order, as a stable sort would.
    bool operator()(const TSortItem& a, const TSortItem& b) const {
        if (a.key != b.key) return a.key < b.key;
        const std::size_t n = std::min(a.length(), b.length());
        for (std::size_t i = m_keyBytes; i < n; ++i) {
            const std::uint32_t ra = Rank(a.offset(), i);
            const std::uint32_t rb = Rank(b.offset(), i);
            if (ra != rb) return ra < rb;
        }
        if (a.length() != b.length()) return a.length() < b.length();
        return a.offset() < b.offset();
    }

  private:
    std::uint32_t Rank(std::uint64_t offset, std::size_t i) const {
        return RankOf(m_rank, ScrambleByte(m_file[offset + i], offset + i));
    }
    std::string_view m_file;
    const TRankTable& m_rank;
    unsigned m_bits = 1;
    std::size_t m_keyBytes;
};

// The file an export writes. It is written under a temporary name beside
// the target (beside the file a symbolic link names) and renamed over it only
// when complete, so a failed or stopped export leaves no partial file and an
// older file at the target intact. Only a target that is there and is no
// regular file (a pipe, a device) is written directly; a regular file is
// never cut in place, so no file beside it means no export.
class TExportFile {
  public:
    TExportFile() = default;
    ~TExportFile() { Discard(); }
    TExportFile(const TExportFile&) = delete;
    TExportFile& operator=(const TExportFile&) = delete;

    // False (with error()) when no file can be written.
    [[nodiscard]] bool Create(const std::string& path) {
        m_target = path;
        struct stat st {};
        const bool exists = ::stat(path.c_str(), &st) == 0;
        if (exists && !S_ISREG(st.st_mode)) {
            // A pipe without a reader is refused at once rather than waited on.
            m_fd = OpenPlainFile(path, O_WRONLY | O_CREAT | O_TRUNC, false);
            if (m_fd < 0) SetFailed(errno);
            return m_fd >= 0;
        }
        if (exists) {
            m_target = RealPathOf(path);
            if (m_target.empty()) return SetFailed(errno);
        }
        static std::atomic<unsigned> serial{0};
        m_temp = m_target + ".part-" + std::to_string(::getpid()) + "-" + std::to_string(++serial);
        m_fd = FileSystem().Open(m_temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd < 0) {
            m_temp.clear();
            return SetFailed(errno);
        }
        if (exists && ::fchmod(m_fd, st.st_mode & 07777) != 0) SetFailed(errno);
        return m_ok;
    }
    int error() const { return m_error; }

    // Text to write; flushed by Pump once it is large.
    std::string& buffer() { return m_buffer; }
    [[nodiscard]] bool Pump() {
        if (m_buffer.size() >= (1u << 20)) return Flush();
        return m_ok;
    }

    [[nodiscard]] bool Commit() {
        bool ok = Flush();
        if (FileSystem().Close(m_fd) != 0 && ok) ok = SetFailed(errno);
        m_fd = -1;
        if (ok && !m_temp.empty() && FileSystem().Rename(m_temp.c_str(), m_target.c_str()) != 0)
            ok = SetFailed(errno);
        if (ok) m_temp.clear();
        if (!ok) Discard();
        return ok;
    }

    void Discard() {
        if (m_fd >= 0) FileSystem().Close(m_fd);
        m_fd = -1;
        // A pipe or device written directly keeps what reached it.
        if (!m_temp.empty()) {
            RemoveFile(m_temp);
            m_temp.clear();
        }
    }

  private:
    bool Flush() {
        if (m_ok && m_fd >= 0 && !WriteAll(m_fd, m_buffer.data(), m_buffer.size()))
            SetFailed(errno);
        m_buffer.clear();
        return m_ok && m_fd >= 0;
    }
    bool SetFailed(int error) {
        if (m_ok) m_error = error;
        m_ok = false;
        return false;
    }
    std::string m_target;
    std::string m_temp;
    std::string m_buffer;
    int m_fd = -1;
    bool m_ok = true;
    int m_error = 0;
};

// One entry in second-generation form: the word and the description text
// (descriptions joined by separator), each running-sum coded and counted.
// False when either is longer than a counted string can hold.
bool AppendSecondGenEntry(std::string& out, std::string_view record, char separator) {
    const std::size_t mark = record.find(kDescriptionMark);
    std::string word(record.substr(0, mark));
    std::string text;
    if (mark != std::string_view::npos) {
        text.assign(record.substr(mark + 1));
        std::replace(text.begin(), text.end(), kDescriptionMark, separator);
    }
    EncodeRunningSum(word);
    EncodeRunningSum(text);
    return WriteCounted(out, word) && WriteCounted(out, text);
}

// The header data that follows the entries of a second-generation file.
bool AppendSecondGenInfo(std::string& out, const std::vector<std::string>& header) {
    const std::int32_t flags = ParseFlags(std::string_view(header[kRecordFlags]).substr(0, 99));
    std::string password;
    if (flags & kFlagPassword) {
        password.assign(header[kRecordPassword].rbegin(), header[kRecordPassword].rend());
        EncodeRunningSum(password);
    }
    if (!WriteCounted(out, password) || !WriteCounted(out, header[kRecordName]) ||
        !WriteCounted(out, header[kRecordAuthor]) || !WriteCounted(out, header[kRecordNotes]))
        return false;
    char number[4];
    PutFixed32(number, (flags & kFlagChangesAllowed) ? 0 : 1);
    out.append(number, 4);
    PutFixed32(number, (flags & kFlagExportAllowed) ? 0 : 1);
    out.append(number, 4);
    return true;
}

enum class TCollected { Done, Damaged, Stopped };

// Reads the header records (plain) and every entry's place and sort key
// from the records region [kRecordsOffset, end) of file; empty entries are
// only counted. Counts one step per entry.
TCollected CollectRecords(std::string_view file, std::uint64_t end, std::int32_t count,
                          TProgress& progress, const TRecordOrder& order,
                          std::vector<std::string>& header, std::vector<TSortItem>& items,
                          std::int64_t& empty) {
    TTerminatorScan terminators(file.data(), kRecordsOffset, end);
    std::uint64_t pos = kRecordsOffset;
    std::uint64_t zero = 0;
    for (std::string& text : header) {
        if (!terminators.Next(zero)) return TCollected::Damaged;
        UnscrambleRecord(file, {pos, zero - pos}, text);
        pos = zero + 1;
    }
    // One quick pass counts the entries that need an item, so that the
    // items are allocated once and exactly.
    std::size_t needed = 0;
    {
        TTerminatorScan counter(file.data(), pos, end);
        std::uint64_t start = pos;
        for (std::int32_t i = 0; i < count; ++i) {
            if (!counter.Next(zero)) return TCollected::Damaged;
            needed += zero != start;
            start = zero + 1;
        }
    }
    items.reserve(needed);
    empty = 0;
    for (std::int32_t i = 0; i < count; ++i) {
        if (!terminators.Next(zero)) return TCollected::Damaged;
        if (progress.StopRequested()) return TCollected::Stopped;
        const std::uint64_t length = std::min(zero - pos, std::uint64_t{kMaxRecordText});
        if (length == 0)
            ++empty;
        else
            items.push_back({order.Key(pos, length), (pos << TSortItem::kLengthBits) | length});
        pos = zero + 1;
        progress.SetPos(i + 1);
    }
    return TCollected::Done;
}

}  // namespace

bool TDataFile::ExportSorted(const std::string& path, ExportKind kind, char separator) {
    progress().SetPos(0);
    if (!Open(Mode::Read)) return false;
    // Writing the dictionary's own file would replace it by the export.
    struct stat dictionary {
    }, target{};
    if (::fstat(m_mainFile.fd(), &dictionary) == 0 && ::stat(path.c_str(), &target) == 0 &&
        dictionary.st_dev == target.st_dev && dictionary.st_ino == target.st_ino) {
        Abort();
        return FailAt(path, TFailure::SameFile);
    }
    progress().SetTotal(ClampProgress(2 * static_cast<std::int64_t>(m_count)));
    const std::string_view file = m_data.view();

    std::vector<std::string> header(ENTRY_BASE);
    std::vector<TSortItem> items;
    std::int64_t empty = 0;
    const TRecordOrder order(file, m_rank);
    switch (CollectRecords(file, m_recordsEnd, m_count, progress(), order, header, items, empty)) {
        case TCollected::Damaged:
            Abort();
            return Fail(TFailure::Damaged);
        case TCollected::Stopped:
            Abort();
            return FailStopped();
        case TCollected::Done:
            break;
    }
    std::sort(items.begin(), items.end(), order);

    TExportFile out;
    if (!out.Create(path)) {
        Abort();
        return FailErrno(path, out.error());
    }
    bool ok = true;
    if (kind == ExportKind::SecondGen) {
        char count[4];
        PutFixed32(count, static_cast<std::uint32_t>(m_count));
        out.buffer().append(count, 4);
        ok = WriteCounted(out.buffer(), kSecondGenFormatName) &&
             WriteCounted(out.buffer(), kSecondGenLibraryName);
    }
    std::string record;
    bool first = true;
    // Empty entries sort before every other; they come first.
    auto write = [&](std::string_view text) {
        switch (kind) {
            case ExportKind::SecondGen:
                if (!AppendSecondGenEntry(out.buffer(), text, separator))
                    return Fail(TFailure::RecordTooLong);
                break;
            case ExportKind::FirstGen:
                AppendFirstGenEntry(out.buffer(), text, separator);
                break;
            case ExportKind::Csv:
                if (!first) out.buffer() += "\r\n";
                out.buffer() += RecordToCsvLine(text, separator);
                break;
        }
        first = false;
        progress().Add(1);
        if (!out.Pump()) return FailErrno(path, out.error());
        return !progress().StopRequested() || FailStopped();
    };
    for (std::int64_t i = 0; ok && i < empty; ++i) ok = write({});
    for (std::size_t i = 0; ok && i < items.size(); ++i) {
        // The records are read in sorted order, scattered over the file:
        // asking for a later one early hides the wait for memory.
        if (i + 16 < items.size()) __builtin_prefetch(file.data() + items[i + 16].offset());
        UnscrambleRecord(file, {items[i].offset(), items[i].length()}, record);
        ok = write(record);
    }
    if (ok && kind == ExportKind::SecondGen && !AppendSecondGenInfo(out.buffer(), header))
        ok = Fail(TFailure::RecordTooLong);
    Abort();
    if (ok && !out.Commit()) ok = FailErrno(path, out.error());
    return ok;
}

bool TDataFile::ExportSecondGen(const std::string& path, char separator) {
    return ExportSorted(path, ExportKind::SecondGen, separator);
}

bool TDataFile::ExportFirstGen(const std::string& path, char separator) {
    return ExportSorted(path, ExportKind::FirstGen, separator);
}

bool TDataFile::ExportCsv(const std::string& path, char separator) {
    return ExportSorted(path, ExportKind::Csv, separator);
}

}  // namespace vrk
