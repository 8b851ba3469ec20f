#include "finder/entry_files.h"

#include "store/data_file.h"

bool FindWordEntries(vrk::TDataFile& file, std::string_view record,
                     std::vector<TFoundEntry>& found) {
    found.clear();
    const std::string_view word = record.substr(0, record.find(vrk::kDescriptionMark));
    // One pass of the search with the word as its known letters, its length
    // counted and its case kept, finds every entry with that word (and, for
    // a word holding "*", a few more, which the comparison below drops).
    // Each candidate is then read whole.
    std::string pattern(word);
    pattern += "11";
    std::vector<std::int32_t> indexes;
    for (std::size_t room = std::size_t{1} << 20, most = 256;; room *= 16, most *= 16) {
        std::vector<char> text(room);
        indexes.assign(most, 0);
        std::vector<std::int32_t> hits(most);
        const std::int32_t n =
            file.Search(pattern, {}, text, indexes, hits, static_cast<std::int32_t>(most));
        if (n < 0) return false;
        if (text.back() != 'X' && static_cast<std::size_t>(n) < most) {
            indexes.resize(n);
            break;
        }
        // A word held by thousands of entries is no word a person saves into.
        if (room >= (std::size_t{1} << 24)) return false;
    }
    for (std::int32_t index : indexes) {
        TFoundEntry entry{index, {}};
        if (!file.GetEntry(index, entry.record)) return false;
        if (vrk::IsSameWord(entry.record, record)) found.push_back(std::move(entry));
    }
    return true;
}
