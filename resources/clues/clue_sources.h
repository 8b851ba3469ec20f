// The dictionaries of descriptions made at build time ("Slovenske sopomenke"
// and "Slovenski pojmi"): their sources read into entries, and the entries
// written as a dictionary.
//
// The sources are Debian's Slovene thesaurus (a MyThes data file) and the
// iso-codes lists (JSON) with their Slovene gettext catalogues (.mo). Every
// text ends up in Windows-1250: a letter with a mark that Windows-1250 does
// not hold becomes the letter without it ("Å" -> "A"); a word holding any
// other character Windows-1250 cannot hold is left out (an entry whose word
// it is, or the one synonym or name it is), and counted.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace vrk::clues {

// What the reading did; every left-out text counts once.
struct TClueCounts {
    std::int64_t untranslated = 0;  // names the Slovene catalogue does not translate
    std::int64_t unfit = 0;         // words with a character Windows-1250 cannot hold
    std::int64_t replaced = 0;      // texts in which a letter lost its mark
};

// The entries in the order they were first met; a word met again gains the
// descriptions it does not hold yet. Each entry is kept as the record a
// dictionary holds: its word, then 0x01 and each description (Windows-1250;
// no text of it holds 0x01).
class TClueList {
  public:
    void Add(std::string_view word, std::string_view description);
    const std::vector<std::string>& records() const { return m_records; }
    std::size_t descriptionCount() const { return m_descriptions; }

  private:
    void Grow();

    std::size_t m_descriptions = 0;
    std::vector<std::string> m_records;
    std::vector<std::uint32_t> m_wordSizes;
    // Open addressing by the word's hash: entry index + 1, 0 for a free slot.
    std::vector<std::uint32_t> m_slots;
};

// UTF-8 text as Windows-1250 under the rules above; false when it holds a
// character that stays unfit (or is not UTF-8). Control characters become
// spaces: a record holds none.
[[nodiscard]] bool ToClueText(std::string_view utf8, std::string& out, TClueCounts& counts);

// --- The thesaurus: a first line naming its encoding, then for each
// headword a line "WORD|N" and N sense lines "(LABEL)|SYNONYM|SYNONYM...".
// Each headword becomes an entry; each sense one description: its label,
// then its synonyms in the file's order, divided by ", ". False (with
// `error`) when the file is not such a file.
[[nodiscard]] bool ReadThesaurus(std::string_view data, TClueList& list, TClueCounts& counts,
                                 std::string& error);

// --- A gettext catalogue (.mo): translation of each original text. Texts
// with plural forms and empty translations are left out. False when the
// data is no catalogue.
using TCatalogue = std::map<std::string, std::string, std::less<>>;
[[nodiscard]] bool ReadCatalogue(std::string_view data, TCatalogue& catalogue);

// --- An iso-codes list: a JSON object with one array of flat objects whose
// values are strings. Each object as its keys and values (UTF-8). False
// when the data is not of that shape.
using TIsoRecord = std::map<std::string, std::string, std::less<>>;
[[nodiscard]] bool ReadIsoList(std::string_view json, std::vector<TIsoRecord>& records);

// The four lists and their catalogues that "Slovenski pojmi" is made of.
struct TNameSources {
    std::vector<TIsoRecord> countries, subdivisions, languages, currencies;
    TCatalogue countryNames, subdivisionNames, languageNames, currencyNames;
};

// Countries ("država", with the official name where there is one), the
// municipalities of Slovenia ("občina v Sloveniji"), languages ("jezik", or
// "skupina jezikov"; each of a language's names, divided by ";" or ",", an
// entry of its own) and currencies ("valuta" with its code), under their
// Slovene names as written. A name without a Slovene translation is left out;
// the municipalities' own names are Slovene, so for them the list's name
// stands when the catalogue has none.
void MakeNames(const TNameSources& sources, TClueList& list, TClueCounts& counts);

// The dictionary's data, in Windows-1250.
struct TClueInfo {
    std::string name, author, notes;
};

// Writes the entries, with `info` and flags that allow export and forbid
// changes, as the dictionary at `path`: it is made beside `path` under a
// hidden name and takes its place only once complete. The store's scratch
// files are kept in `scratchDir`. False (with `error`) when it cannot.
[[nodiscard]] bool WriteDictionary(const TClueList& list, const TClueInfo& info,
                                   const std::string& path, const std::string& scratchDir,
                                   std::string& error);

}  // namespace vrk::clues
