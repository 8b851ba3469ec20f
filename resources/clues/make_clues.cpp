// vrk3clues: writes the entries of a dictionary of descriptions as CSV in
// Windows-1250, for `vrk3tool import csv` (clue_sources.h).
//   vrk3clues thesaurus DAT OUT.csv
//   vrk3clues names JSON_DIR LOCALE_DIR OUT.csv
// JSON_DIR holds the iso-codes lists (iso_3166-1.json, ...), LOCALE_DIR the
// Slovene catalogues (iso_3166-1.mo, ...). Prints what it made on stdout.
#include <fstream>
#include <iostream>
#include <sstream>

#include "clue_sources.h"

namespace {

using namespace vrk::clues;

bool ReadWhole(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    out = std::move(s).str();
    return static_cast<bool>(in) || in.eof();
}

int Fail(const std::string& what) {
    std::cerr << "vrk3clues: " << what << '\n';
    return 1;
}

bool ReadList(const std::string& dir, const char* name, std::vector<TIsoRecord>& records) {
    std::string json;
    return ReadWhole(dir + "/iso_" + name + ".json", json) && ReadIsoList(json, records);
}

bool ReadNames(const std::string& dir, const char* name, TCatalogue& catalogue) {
    std::string mo;
    return ReadWhole(dir + "/iso_" + name + ".mo", mo) && ReadCatalogue(mo, catalogue);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string kind = argc > 1 ? argv[1] : "";
    TClueList list;
    TClueCounts counts;
    std::string out;
    if (kind == "thesaurus" && argc == 4) {
        std::string data, error;
        if (!ReadWhole(argv[2], data)) return Fail(std::string("cannot read ") + argv[2]);
        if (!ReadThesaurus(data, list, counts, error)) return Fail(argv[2] + (": " + error));
        out = argv[3];
    } else if (kind == "names" && argc == 5) {
        TNameSources s;
        const std::string json = argv[2], locale = argv[3];
        const struct {
            const char* name;
            std::vector<TIsoRecord>& records;
            TCatalogue& catalogue;
        } parts[] = {{"3166-1", s.countries, s.countryNames},
                     {"3166-2", s.subdivisions, s.subdivisionNames},
                     {"639-2", s.languages, s.languageNames},
                     {"4217", s.currencies, s.currencyNames}};
        for (const auto& p : parts) {
            if (!ReadList(json, p.name, p.records))
                return Fail("cannot read " + json + "/iso_" + p.name + ".json");
            if (!ReadNames(locale, p.name, p.catalogue))
                return Fail("cannot read " + locale + "/iso_" + p.name + ".mo");
        }
        MakeNames(s, list, counts);
        out = argv[4];
    } else {
        return Fail("usage: vrk3clues thesaurus DAT OUT.csv | names JSON_DIR LOCALE_DIR OUT.csv");
    }
    std::ofstream file(out, std::ios::binary | std::ios::trunc);
    file << WriteCsv(list);
    file.close();
    if (!file) return Fail("cannot write " + out);
    std::cout << "clues: " << list.entries().size() << " entries, " << list.descriptionCount()
              << " descriptions; left out: " << counts.untranslated << " untranslated names, "
              << counts.unfit << " words Windows-1250 cannot hold; " << counts.replaced
              << " texts with letters written without their marks\n";
    return 0;
}
