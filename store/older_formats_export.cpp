// TDataFile: writing a dictionary in the three older formats, every entry
// sorted by the alphabet row. The records are sorted in place in the mapped
// file (by offset) with a stable sort, so entries that sort as equal keep
// their file order and no copy of the whole dictionary is made.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>

#include "coding.h"
#include "data_file.h"
#include "older_formats.h"
#include "progress.h"
#include "record_scan.h"
#include "terminator_scan.h"

namespace vrk {
namespace {

// One entry to sort: where its scrambled record lies, and the ranks of its
// first bytes packed so that most comparisons need one integer compare.
struct TSortItem {
    std::uint64_t key;
    std::uint64_t offset;
    std::uint32_t length;
};

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

    // True when a sorts before b (CompareByRank(a, b) == +1).
    bool operator()(const TSortItem& a, const TSortItem& b) const {
        if (a.key != b.key) return a.key < b.key;
        const std::size_t n = std::min(a.length, b.length);
        for (std::size_t i = m_keyBytes; i < n; ++i) {
            const std::uint32_t ra = Rank(a.offset, i);
            const std::uint32_t rb = Rank(b.offset, i);
            if (ra != rb) return ra < rb;
        }
        return a.length < b.length;
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
// the target and renamed over it only when complete, so a failed or stopped
// export leaves no partial file (and an older file at the target intact).
// Where no file can be made beside the target, or the target is not a
// regular file, the target is written directly.
class TExportFile {
  public:
    TExportFile() = default;
    ~TExportFile() { Discard(); }
    TExportFile(const TExportFile&) = delete;
    TExportFile& operator=(const TExportFile&) = delete;

    [[nodiscard]] bool Create(const std::string& path) {
        m_target = path;
        struct stat st {};
        const bool exists = ::lstat(path.c_str(), &st) == 0;
        if (!exists || S_ISREG(st.st_mode)) {
            static std::atomic<unsigned> serial{0};
            m_temp = path + ".part-" + std::to_string(::getpid()) + "-" + std::to_string(++serial);
            m_fd = ::open(m_temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (m_fd >= 0 && exists) m_ok = ::fchmod(m_fd, st.st_mode & 07777) == 0;
            if (m_fd >= 0) return m_ok;
            m_temp.clear();
        }
        m_direct = true;
        m_fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        return m_fd >= 0;
    }

    // Text to write; flushed by Pump once it is large.
    std::string& buffer() { return m_buffer; }
    [[nodiscard]] bool Pump() {
        if (m_buffer.size() >= (1u << 20)) return Flush();
        return m_ok;
    }

    [[nodiscard]] bool Commit() {
        bool ok = Flush();
        ok = ::close(m_fd) == 0 && ok;
        m_fd = -1;
        if (ok && !m_temp.empty()) ok = ::rename(m_temp.c_str(), m_target.c_str()) == 0;
        if (ok) m_temp.clear();
        m_committed = ok;
        if (!ok) Discard();
        return ok;
    }

    void Discard() {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = -1;
        if (!m_temp.empty()) {
            RemoveFile(m_temp);
            m_temp.clear();
        } else if (m_direct && !m_committed) {
            struct stat st {};
            if (::lstat(m_target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) RemoveFile(m_target);
        }
        m_direct = false;
    }

  private:
    bool Flush() {
        m_ok = m_ok && m_fd >= 0 && WriteAll(m_fd, m_buffer.data(), m_buffer.size());
        m_buffer.clear();
        return m_ok;
    }
    std::string m_target;
    std::string m_temp;
    std::string m_buffer;
    int m_fd = -1;
    bool m_ok = true;
    bool m_direct = false;
    bool m_committed = false;
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

// Reads the header records (plain) and every entry's place and sort key
// from the records region [kRecordsOffset, end) of file. False when the
// records end early or a stop is requested; counts one step per entry.
bool CollectRecords(std::string_view file, std::uint64_t end, std::int32_t count,
                    TProgress& progress, const TRecordOrder& order,
                    std::vector<std::string>& header, std::vector<TSortItem>& items) {
    TTerminatorScan terminators(file.data(), kRecordsOffset, end);
    std::uint64_t pos = kRecordsOffset;
    std::uint64_t zero = 0;
    for (std::string& text : header) {
        if (!terminators.Next(zero)) return false;
        UnscrambleRecord(file, {pos, zero - pos}, text);
        pos = zero + 1;
    }
    items.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        if (!terminators.Next(zero) || progress.StopRequested()) return false;
        const auto length =
            static_cast<std::uint32_t>(std::min(zero - pos, std::uint64_t{kMaxRecordText}));
        items.push_back({order.Key(pos, length), pos, length});
        pos = zero + 1;
        progress.SetPos(i + 1);
    }
    return true;
}

}  // namespace

bool TDataFile::ExportSorted(const std::string& path, ExportKind kind, char separator) {
    progress().SetPos(0);
    if (!Open(Mode::Read)) return false;
    progress().SetTotal(ClampProgress(2 * static_cast<std::int64_t>(m_count)));
    const std::string_view file = m_data.view();

    std::vector<std::string> header(ENTRY_BASE);
    std::vector<TSortItem> items;
    const TRecordOrder order(file, m_rank);
    if (!CollectRecords(file, m_recordsEnd, m_count, progress(), order, header, items)) {
        Abort();
        return false;
    }
    std::stable_sort(items.begin(), items.end(), order);

    TExportFile out;
    bool ok = out.Create(path);
    if (ok && kind == ExportKind::SecondGen) {
        char count[4];
        PutFixed32(count, static_cast<std::uint32_t>(m_count));
        out.buffer().append(count, 4);
        ok = WriteCounted(out.buffer(), kSecondGenFormatName) &&
             WriteCounted(out.buffer(), kSecondGenLibraryName);
    }
    std::string record;
    for (std::size_t i = 0; ok && i < items.size(); ++i) {
        // The records are read in sorted order, scattered over the file:
        // asking for a later one early hides the wait for memory.
        if (i + 16 < items.size()) __builtin_prefetch(file.data() + items[i + 16].offset);
        UnscrambleRecord(file, {items[i].offset, items[i].length}, record);
        switch (kind) {
            case ExportKind::SecondGen:
                ok = AppendSecondGenEntry(out.buffer(), record, separator);
                break;
            case ExportKind::FirstGen:
                AppendFirstGenEntry(out.buffer(), record, separator);
                break;
            case ExportKind::Csv:
                if (i > 0) out.buffer() += "\r\n";
                out.buffer() += RecordToCsvLine(record, separator);
                break;
        }
        progress().Add(1);
        ok = ok && out.Pump() && !progress().StopRequested();
    }
    if (ok && kind == ExportKind::SecondGen) ok = AppendSecondGenInfo(out.buffer(), header);
    Abort();
    return ok && out.Commit();
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
