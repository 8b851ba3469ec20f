// Word lists: the line decoders and TDataFile::ImportWords. The import is
// one transaction like every other: the new words are queued as additions
// and one rewrite at the end applies them; a failure or a stop leaves the
// dictionary as it was.
#include "word_list.h"

#include <algorithm>
#include <vector>

#include "data_file.h"
#include "older_formats.h"
#include "progress.h"
#include "text_codec.h"
#include "word_index.h"

namespace vrk {
namespace {

// FNV-1a, as the word index hashes words.
std::uint32_t HashListWord(std::string_view word) {
    std::uint32_t h = 2166136261u;
    for (char c : word) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
    return h;
}

// The words of the list stored so far, so that a repeated word is stored
// once. The words lie one after another in one text, each ended by 0x00
// (which no word holds); the table holds 8 bytes per word and is at most
// 70 % full.
class TListedWords {
  public:
    // The text the next word is appended to; Keep or Drop then decides.
    std::string& text() { return m_text; }
    // The word appended since the last Keep or Drop.
    std::string_view Pending() const { return std::string_view(m_text).substr(m_pendingStart); }
    // Keeps the pending word unless the list had it already; true when
    // kept, with `kept` viewing it until the next word is appended.
    bool Keep(std::string_view& kept) {
        const std::string_view word = Pending();
        const std::uint32_t hash = HashListWord(word);
        if ((m_starts.size() + 1) * 10 > m_slots.size() * 7) Grow();
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
            Slot& s = m_slots[slot];
            if (s.word < 0) {
                s = Slot{hash, static_cast<std::int32_t>(m_starts.size())};
                m_starts.push_back(m_pendingStart);
                m_text += '\0';
                kept = std::string_view(m_text).substr(m_pendingStart, word.size());
                m_pendingStart = m_text.size();
                return true;
            }
            if (s.hash == hash && WordAt(s.word) == word) {
                Drop();
                return false;
            }
        }
    }
    // Forgets the pending word.
    void Drop() { m_text.resize(m_pendingStart); }

  private:
    struct Slot {
        std::uint32_t hash;
        std::int32_t word;  // index into m_starts; -1: empty
    };
    std::string_view WordAt(std::int32_t i) const {
        const std::size_t start = m_starts[static_cast<std::size_t>(i)];
        return std::string_view(m_text.data() + start, m_text.find('\0', start) - start);
    }
    void Grow() {
        std::vector<Slot> old(std::max<std::size_t>(m_slots.size() * 2, 1024), Slot{0, -1});
        old.swap(m_slots);
        const std::size_t mask = m_slots.size() - 1;
        for (const Slot& s : old) {
            if (s.word < 0) continue;
            std::size_t slot = s.hash & mask;
            while (m_slots[slot].word >= 0) slot = (slot + 1) & mask;
            m_slots[slot] = s;
        }
    }

    std::string m_text;
    std::size_t m_pendingStart = 0;
    std::vector<std::size_t> m_starts;
    std::vector<Slot> m_slots;
};

bool IsListBlank(char c) {
    return c == ' ' || c == '\t';
}

// A control character: 0x00, 0x01 and 0x02 would end the record, start a
// description or end a search result, and none belongs in a word.
bool HoldsControl(std::string_view word) {
    return std::any_of(word.begin(), word.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

}  // namespace

bool TUtf8WordDecoder::Decode(std::string_view line, std::string& word) {
    // A byte-order mark (U+FEFF) may open the list; it is no letter.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (line.starts_with(kByteOrderMark)) line.remove_prefix(kByteOrderMark.size());
    return AppendUtf8AsCp1250(line, word);
}

TByteWordDecoder::TByteWordDecoder(const std::array<char32_t, 256>& codePoints) {
    for (std::size_t b = 0; b < codePoints.size(); ++b) {
        const auto cp1250 =
            codePoints[b] == kNoCharacter ? std::nullopt : UnicodeToCp1250(codePoints[b]);
        m_toCp1250[b] = cp1250 ? static_cast<std::int16_t>(*cp1250) : std::int16_t{-1};
    }
}

bool TByteWordDecoder::Decode(std::string_view line, std::string& word) {
    for (char c : line) {
        const std::int16_t b = m_toCp1250[static_cast<unsigned char>(c)];
        if (b < 0) return false;
        word += static_cast<char>(b);
    }
    return true;
}

bool TDataFile::ImportWords(std::string_view list, TWordDecoder& decoder, TWordListCounts& counts) {
    counts = TWordListCounts{};
    progress().SetPos(0);
    if (!Open(Mode::Change)) return false;
    bool ok = BuildWordIndex();
    const std::int64_t lines = std::count(list.begin(), list.end(), '\n') + 1;
    progress().SetTotal(ClampProgress(WithSyncShare(m_count + ENTRY_BASE + 2 * lines)));
    TListedWords listed;
    std::size_t pos = 0;
    while (ok && pos < list.size()) {
        // One line, without its line end (LF, CR or CR LF) and blanks.
        const std::size_t end = std::min(list.find_first_of("\r\n", pos), list.size());
        std::size_t first = pos, last = end;
        pos = end + 1;
        if (end < list.size() && list[end] == '\r' && pos < list.size() && list[pos] == '\n') ++pos;
        while (first < last && IsListBlank(list[first])) ++first;
        while (last > first && IsListBlank(list[last - 1])) --last;

        progress().Add(1);
        if (progress().StopRequested()) {
            ok = FailStopped();
        } else if (first == last) {
            ++counts.empty;
        } else if (!decoder.Decode(list.substr(first, last - first), listed.text())) {
            listed.Drop();
            ++counts.unfit;
        } else if (listed.Pending().size() > kMaxRecordText) {
            listed.Drop();
            ++counts.tooLong;
        } else if (HoldsControl(listed.Pending())) {
            listed.Drop();
            ++counts.control;
        } else if (listed.Pending().empty()) {
            ++counts.empty;  // nothing but a byte-order mark
        } else if (m_wordIndex->Find(listed.Pending()) >= 0) {
            // Merging a word without descriptions into its entry changes nothing.
            listed.Drop();
            ++counts.present;
        } else if (std::string_view word; listed.Keep(word)) {
            ok = AppendRecord(word);
            ++counts.added;
        } else {
            ++counts.repeated;
        }
    }
    return Finish(ok);
}

}  // namespace vrk
