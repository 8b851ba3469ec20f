// vrk3clues: makes a dictionary of descriptions (clue_sources.h) in one go,
// from its source to the finished dictionary.
//   vrk3clues thesaurus DAT OUT.vrk3 NAME AUTHOR NOTES
//   vrk3clues names JSON_DIR LOCALE_DIR OUT.vrk3 NAME AUTHOR NOTES
// JSON_DIR holds the iso-codes lists (iso_3166-1.json, ...), LOCALE_DIR the
// Slovene catalogues (iso_3166-1.mo, ...). NAME, AUTHOR and NOTES (UTF-8)
// become the dictionary's data; its flags allow export and forbid changes.
// OUT.vrk3 is replaced only by a complete dictionary; the store's scratch
// files are kept in the temporary folder (TMPDIR). Prints what it made on
// stdout.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>

#include "clue_sources.h"
#include "store/text_codec.h"

namespace {

using namespace vrk::clues;

bool ReadWhole(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (!in || ec) return false;
    out.resize(size);
    in.read(out.data(), static_cast<std::streamsize>(size));
    return in.gcount() == static_cast<std::streamsize>(size);
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
    const int inputs = kind == "thesaurus" ? 1 : kind == "names" ? 2 : -1;
    if (inputs < 0 || argc != 2 + inputs + 4)
        return Fail(
            "usage: vrk3clues thesaurus DAT OUT.vrk3 NAME AUTHOR NOTES | "
            "names JSON_DIR LOCALE_DIR OUT.vrk3 NAME AUTHOR NOTES");
    const std::string out = argv[2 + inputs];
    TClueInfo info;
    const struct {
        const char* what;
        const char* utf8;
        std::string& text;
    } fields[] = {{"name", argv[3 + inputs], info.name},
                  {"author", argv[4 + inputs], info.author},
                  {"notes", argv[5 + inputs], info.notes}};
    for (const auto& f : fields) {
        std::optional<std::string> text = vrk::Utf8ToCp1250(f.utf8);
        if (!text)
            return Fail(std::string("the ") + f.what + " holds characters Windows-1250 cannot");
        f.text = std::move(*text);
    }
    TClueList list;
    TClueCounts counts;
    if (kind == "thesaurus") {
        std::string data, error;
        if (!ReadWhole(argv[2], data)) return Fail(std::string("cannot read ") + argv[2]);
        if (!ReadThesaurus(data, list, counts, error)) return Fail(argv[2] + (": " + error));
    } else {
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
    }
    std::error_code ec;
    const std::filesystem::path scratch = std::filesystem::temp_directory_path(ec);
    std::string error;
    if (!WriteDictionary(list, info, out, ec ? "/tmp" : scratch.string(), error))
        return Fail("cannot write " + out + ": " + error);
    std::cout << "clues: " << list.records().size() << " entries, " << list.descriptionCount()
              << " descriptions; left out: " << counts.untranslated << " untranslated names, "
              << counts.unfit << " words Windows-1250 cannot hold; " << counts.replaced
              << " texts with letters written without their marks\n";
    return 0;
}
