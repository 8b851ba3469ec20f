// TDataFile: writing a dictionary in the three older formats, every entry
// sorted by the alphabet row. The records are sorted in place in the file
// as read (by offset); entries that sort as equal are then put where a
// TSortedList that takes them in file order puts them, and no copy of the
// whole dictionary is made. Memory: 16 bytes per entry that is
// not empty; empty entries, which all sort first and are all alike, are only
// counted, so no file costs more than eight times its size.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <bit>

#include "beside_file.h"
#include "coding.h"
#include "data_file.h"
#include "file_system.h"
#include "older_formats.h"
#include "progress.h"
#include "record_scan.h"
#include "same_file.h"
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

    // True when a and b sort as equal (CompareByRank(a, b) == 0).
    bool Equal(const TSortItem& a, const TSortItem& b) const {
        if (a.key != b.key || a.length() != b.length()) return false;
        for (std::size_t i = m_keyBytes; i < a.length(); ++i)
            if (Rank(a.offset(), i) != Rank(b.offset(), i)) return false;
        return true;
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
    explicit TExportFile(TFileSystem& fs) : m_fs(fs) {}
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
            m_fd = OpenPlainFile(m_fs, path, O_WRONLY | O_CREAT | O_TRUNC, false);
            if (m_fd < 0) SetFailed(errno);
            return m_fd >= 0;
        }
        if (exists) {
            m_target = RealPathOf(path);
            if (m_target.empty()) return SetFailed(errno);
        }
        static std::atomic<unsigned> serial{0};
        m_temp = m_target + ".part-" + std::to_string(::getpid()) + "-" + std::to_string(++serial);
        m_fd = m_fs.Open(m_temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
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

    // The file is on the disk before it takes the target's name, and the
    // name once the export reports success: a crash leaves the older file
    // or the complete export, never an empty one.
    [[nodiscard]] bool Commit() {
        bool ok = Flush();
        if (ok && !m_temp.empty() && m_fs.Sync(m_fd) != 0) ok = SetFailed(errno);
        if (m_fs.Close(m_fd) != 0 && ok) ok = SetFailed(errno);
        m_fd = -1;
        if (ok && !m_temp.empty()) {
            if (m_fs.Rename(m_temp.c_str(), m_target.c_str()) != 0)
                ok = SetFailed(errno);
            else
                SyncFolderOf(m_fs, m_target);
        }
        if (ok) m_temp.clear();
        if (!ok) Discard();
        return ok;
    }

    void Discard() {
        if (m_fd >= 0) m_fs.Close(m_fd);
        m_fd = -1;
        // A pipe or device written directly keeps what reached it.
        if (!m_temp.empty()) {
            RemoveFile(m_fs, m_temp);
            m_temp.clear();
        }
    }

  private:
    bool Flush() {
        if (m_ok && m_fd >= 0 && !WriteAll(m_fs, m_fd, m_buffer.data(), m_buffer.size()))
            SetFailed(errno);
        m_buffer.clear();
        return m_ok && m_fd >= 0;
    }
    bool SetFailed(int error) {
        if (m_ok) m_error = error;
        m_ok = false;
        return false;
    }
    TFileSystem& m_fs;
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
                          std::int64_t& empty, std::uint64_t& firstEntry) {
    TTerminatorScan terminators(file.data(), kRecordsOffset, end);
    std::uint64_t pos = kRecordsOffset;
    std::uint64_t zero = 0;
    for (std::string& text : header) {
        if (!terminators.Next(zero)) return TCollected::Damaged;
        UnscrambleRecord(file, {pos, zero - pos}, text);
        pos = zero + 1;
    }
    firstEntry = pos;
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

// Counts over positions 0 ... n - 1 (a Fenwick tree): each step costs
// O(log n).
class TPositionCounts {
  public:
    explicit TPositionCounts(std::size_t n, std::uint32_t each = 0) : m_tree(n + 1, 0) {
        for (std::size_t i = 1; i <= n; ++i) {
            m_tree[i] += each;
            const std::size_t up = i + (i & (~i + 1));
            if (up <= n) m_tree[up] += m_tree[i];
        }
    }
    void Add(std::size_t i, std::int32_t delta) {
        for (++i; i < m_tree.size(); i += i & (~i + 1)) m_tree[i] += delta;
    }
    // The sum over the positions before i.
    std::uint32_t Before(std::size_t i) const {
        std::uint32_t sum = 0;
        for (; i > 0; i -= i & (~i + 1)) sum += m_tree[i];
        return sum;
    }
    // The first position at which the sum up to and including it exceeds k.
    std::size_t Find(std::uint32_t k) const {
        std::size_t at = 0;
        for (std::size_t step = std::bit_floor(m_tree.size() - 1); step > 0; step /= 2) {
            if (at + step < m_tree.size() && m_tree[at + step] <= k) {
                at += step;
                k -= m_tree[at];
            }
        }
        return at;
    }

  private:
    std::vector<std::uint32_t> m_tree;
};

// Where TSortedList::Insert (sorted_list.cpp) puts a record into a list of
// `count` strings of which a sort before it and b - a are equal to it: the
// front of the equal run, its end when nothing sorts after it, or the place
// where its bisection first meets the run.
std::size_t SortedListPlace(std::size_t a, std::size_t b, std::size_t count) {
    if (count == 0 || a == 0) return 0;
    if (b == count) return count;
    std::size_t lo = 0, hi = count - 1;
    while (hi - lo >= 3) {
        const std::size_t mid = (lo + hi) / 2;
        if (mid < a)
            lo = mid;
        else if (mid < b)
            return mid;
        else
            hi = mid;
    }
    return a;
}

// Puts each run of records that sort as equal (items sorted, equal ones in
// file order) in the order a TSortedList gives them when every entry is
// inserted in file order, as other programs that read these files sort.
// Where a record goes in its run depends only on how many entries came
// before it and how many of those sort before it, so the places are
// counted, in O(n log n), and no list is built. Costs nothing when no two
// records are equal; otherwise 20 bytes per entry for the while.
void FollowSortedListOrder(std::vector<TSortItem>& items, const TRecordOrder& order,
                           std::string_view file, std::uint64_t firstEntry, std::uint64_t end,
                           std::int32_t count) {
    const std::size_t n = items.size();
    // runStart[s]: where the run of item s begins; later its place in the run.
    std::vector<std::uint32_t> runStart(n);
    bool anyRun = false;
    for (std::size_t s = 0; s < n; ++s) {
        const bool joins = s > 0 && order.Equal(items[s - 1], items[s]);
        runStart[s] = joins ? runStart[s - 1] : static_cast<std::uint32_t>(s);
        anyRun |= joins;
    }
    if (!anyRun) return;
    // The item of each entry in file order (-1: an empty entry).
    std::vector<std::int32_t> itemOf(static_cast<std::size_t>(count), -1);
    {
        std::vector<std::uint64_t> starts;
        starts.reserve(static_cast<std::size_t>(count));
        TTerminatorScan terminators(file.data(), firstEntry, end);
        std::uint64_t pos = firstEntry, zero = 0;
        for (std::int32_t i = 0; i < count && terminators.Next(zero); ++i) {
            starts.push_back(pos);
            pos = zero + 1;
        }
        for (std::size_t s = 0; s < n; ++s) {
            const auto at = std::lower_bound(starts.begin(), starts.end(), items[s].offset());
            itemOf[static_cast<std::size_t>(at - starts.begin())] = static_cast<std::int32_t>(s);
        }
    }
    TPositionCounts inserted(n);
    std::size_t empties = 0;
    for (std::size_t i = 0; i < itemOf.size(); ++i) {
        if (itemOf[i] < 0) {
            ++empties;  // empty entries sort before all others
            continue;
        }
        // The members of a run before s came earlier in the file: s - start
        // of them are in the list, and `a` entries sort before them.
        const auto s = static_cast<std::size_t>(itemOf[i]);
        const std::size_t start = runStart[s];
        if (start != s || (s + 1 < n && order.Equal(items[s], items[s + 1]))) {
            const std::size_t a = empties + inserted.Before(start);
            runStart[s] = static_cast<std::uint32_t>(SortedListPlace(a, a + s - start, i) - a);
        }
        inserted.Add(s, 1);
    }
    // Each run from the places of its insertions: taken from the last
    // inserted back, each record takes the free slot its place names.
    std::vector<TSortItem> run;
    for (std::size_t start = 0; start < n;) {
        std::size_t end = start + 1;
        while (end < n && order.Equal(items[start], items[end])) ++end;
        if (end - start > 1) {
            run.assign(items.begin() + start, items.begin() + end);
            TPositionCounts free(end - start, 1);
            for (std::size_t t = end - start; t-- > 0;) {
                const std::size_t slot = free.Find(runStart[start + t]);
                free.Add(slot, -1);
                items[start + slot] = run[t];
            }
        }
        start = end;
    }
}

}  // namespace

bool TDataFile::ExportSorted(const std::string& path, ExportKind kind, char separator) {
    progress().SetPos(0);
    m_convertCounts = TConvertCounts{};
    if (!Open(Mode::Read)) return false;
    // Writing the dictionary's own file would replace it by the export.
    if (IsSameFile(m_mainFile.fd(), path)) {
        Abort();
        return FailAt(path, TFailure::SameFile);
    }
    progress().SetTotal(ClampProgress(2 * static_cast<std::int64_t>(m_count)));
    const std::string_view file = m_data.view();

    std::vector<std::string> header(ENTRY_BASE);
    std::vector<TSortItem> items;
    std::int64_t empty = 0;
    std::uint64_t firstEntry = 0;
    const TRecordOrder order(file, m_rank);
    switch (CollectRecords(file, m_recordsEnd, m_count, progress(), order, header, items, empty,
                           firstEntry)) {
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
    FollowSortedListOrder(items, order, file, firstEntry, m_recordsEnd, m_count);

    // A stop is otherwise seen at each entry written: without this check an
    // empty dictionary's export would be written after the user cancelled it.
    if (progress().StopRequested()) {
        Abort();
        return FailStopped();
    }
    TExportFile out(*m_fs);
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
    std::string record, oneLine;
    bool first = true;
    // A line break inside a text would end the entry in the two text
    // formats: each (CR LF, CR or LF) is written as one space.
    auto withoutLineBreaks = [&](std::string_view text) {
        if (kind == ExportKind::SecondGen || text.find_first_of("\r\n") == std::string_view::npos)
            return text;
        oneLine.clear();
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            if (c != '\r' && c != '\n') {
                oneLine += c;
                continue;
            }
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            oneLine += ' ';
            ++m_convertCounts.lineBreaks;
        }
        return std::string_view(oneLine);
    };
    // Empty entries sort before every other; they come first.
    auto write = [&](std::string_view text) {
        ++m_convertCounts.entries;
        text = withoutLineBreaks(text);
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
