#include "clue_sources.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <filesystem>
#include <fstream>
#include <utility>

#include "store/data_file.h"
#include "store/test_folder.h"
#include "store/text_codec.h"

namespace vrk::clues {
namespace {

// UTF-8 test text as the Windows-1250 the entries hold.
std::string W(std::string_view utf8) {
    return Utf8ToCp1250(utf8).value();
}

// The entries as "word: description | description" lines, in UTF-8.
std::vector<std::string> Lines(const TClueList& list) {
    std::vector<std::string> lines;
    for (std::string record : list.records()) {
        record.replace(record.find('\x01'), 1, ": ");
        for (std::size_t at; (at = record.find('\x01')) != std::string::npos;)
            record.replace(at, 1, " | ");
        lines.push_back(Cp1250ToUtf8(record));
    }
    return lines;
}

// A catalogue file (.mo, little-endian) of these originals and translations.
std::string MakeCatalogue(const std::vector<std::pair<std::string, std::string>>& texts) {
    const auto n = static_cast<std::uint32_t>(texts.size());
    std::string strings;
    std::vector<std::uint32_t> table;
    const std::uint32_t stringsAt = 28 + 16 * n;
    for (int side = 0; side < 2; ++side)
        for (const auto& t : texts) {
            const std::string& s = side ? t.second : t.first;
            table.push_back(static_cast<std::uint32_t>(s.size()));
            table.push_back(stringsAt + static_cast<std::uint32_t>(strings.size()));
            strings += s;
            strings += '\0';
        }
    std::vector<std::uint32_t> words = {0x950412DE, 0, n, 28, 28 + 8 * n, 0, 0};
    words.insert(words.end(), table.begin(), table.end());
    std::string data;
    for (std::uint32_t w : words)
        for (int b = 0; b < 4; ++b) data += static_cast<char>(w >> (8 * b) & 0xFF);
    return data + strings;
}

TEST(Thesaurus, EachHeadwordAnEntryEachSenseADescriptionWithItsLabel) {
    // In the thesaurus's own encoding (ISO-8859-2: "š" is 0xB9, "č" 0xE8).
    const std::string data =
        "ISO8859-2\n"
        "\xb9"
        "ala|2\n"
        "(sam.)|\xb9tos (\xbe"
        "argon)|vic\n"
        "(sam.)|posmeh\n"
        "briti norce|1\n"
        "(gl.)|nor\xe8"
        "evati se|\xb9"
        "aliti se\n"
        "\xb9"
        "ala|2\n"
        "(sam.)|posmeh\n"
        "(sam.)|heca\n";
    TClueList list;
    TClueCounts counts;
    std::string error;
    ASSERT_TRUE(ReadThesaurus(data, list, counts, error)) << error;
    // The headword met again gains only the description it lacked.
    EXPECT_EQ(Lines(list), (std::vector<std::string>{
                               "šala: (sam.) štos (žargon), vic | (sam.) posmeh | (sam.) heca",
                               "briti norce: (gl.) norčevati se, šaliti se"}));
}

// The thesaurus's own encoding is read byte by byte; every byte reads as
// the system's converter and the rules for UTF-8 text make it.
TEST(Thesaurus, Iso88592ReadsAsItsUtf8Form) {
    std::string data = "ISO8859-2\n";
    for (int b = 1; b < 256; ++b) {
        if (b == '\n' || b == '|') continue;
        const char c = static_cast<char>(b);
        data += std::string("w") + c + "x|1\n(sam.)|s" + c + "\n";
    }
    iconv_t cd = iconv_open("UTF-8", "ISO8859-2");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    std::string utf8(data.size() * 3, '\0');
    char* in = data.data();
    char* out = utf8.data();
    std::size_t inLeft = data.size(), outLeft = utf8.size();
    ASSERT_NE(iconv(cd, &in, &inLeft, &out, &outLeft), static_cast<std::size_t>(-1));
    iconv_close(cd);
    utf8.resize(utf8.size() - outLeft);
    utf8.replace(0, utf8.find('\n'), "UTF-8");
    TClueList own, system;
    TClueCounts ownCounts, systemCounts;
    std::string error;
    ASSERT_TRUE(ReadThesaurus(data, own, ownCounts, error)) << error;
    ASSERT_TRUE(ReadThesaurus(utf8, system, systemCounts, error)) << error;
    EXPECT_EQ(Lines(own), Lines(system));
    EXPECT_EQ(ownCounts.unfit, systemCounts.unfit);
    EXPECT_EQ(ownCounts.replaced, systemCounts.replaced);
    EXPECT_GT(own.records().size(), 150u);
}

TEST(Thesaurus, CharactersWindows1250CannotHold) {
    const std::string data =
        "UTF-8\n"
        "Åland|1\n"
        "-|otočje|Ωmega|Ålandski otoki\n"
        "αβ|1\n"
        "(sam.)|beta\n"
        "kit|1\n"
        "(sam.)|Ω\n";
    TClueList list;
    TClueCounts counts;
    std::string error;
    ASSERT_TRUE(ReadThesaurus(data, list, counts, error)) << error;
    // A marked letter loses its mark; a word of other characters goes, and
    // a sense of none that fit, and with it a headword of no sense.
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"Aland: otočje, Alandski otoki"}));
    EXPECT_EQ(counts.unfit, 3);
    EXPECT_EQ(counts.replaced, 2);
}

TEST(Thesaurus, MalformedFilesAreRefused) {
    for (const char* data : {"UTF-8", "UTF-8\nšala\n(sam.)|vic\n", "UTF-8\nšala|3\n(sam.)|vic\n",
                             "NO-SUCH-ENCODING\nšala|1\n(sam.)|vic\n"}) {
        TClueList list;
        TClueCounts counts;
        std::string error;
        EXPECT_FALSE(ReadThesaurus(data, list, counts, error)) << data;
        EXPECT_FALSE(error.empty()) << data;
    }
}

TEST(Catalogue, TranslationsWithoutHeaderPluralsOrEmptyOnes) {
    const std::string mo =
        MakeCatalogue({{"", "Content-Type: text/plain; charset=UTF-8\n"},
                       {"Albania", "Albanija"},
                       {"Czechia", ""},
                       {std::string("day\0days", 8), std::string("dan\0dneva", 9)},
                       {"Euro", "evro"}});
    TCatalogue catalogue;
    ASSERT_TRUE(ReadCatalogue(mo, catalogue));
    EXPECT_EQ(catalogue, (TCatalogue{{"Albania", "Albanija"}, {"Euro", "evro"}}));
    EXPECT_FALSE(ReadCatalogue("not a catalogue at all", catalogue));
    EXPECT_FALSE(ReadCatalogue(mo.substr(0, 40), catalogue)) << "tables past the end";
}

TEST(IsoList, FlatObjectsWithEscapes) {
    std::vector<TIsoRecord> records;
    ASSERT_TRUE(ReadIsoList(R"({"3166-1": [
        {"alpha_2": "CI", "name": "C\u00f4te d'Ivoire", "note": "a \"b\" \\ c\/d"},
        {"name": "\ud83c\udde6"}, {}
    ]})",
                            records));
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].at("name"), "Côte d'Ivoire");
    EXPECT_EQ(records[0].at("note"), "a \"b\" \\ c/d");
    EXPECT_EQ(records[1].at("name"), "\xF0\x9F\x87\xA6");
    EXPECT_TRUE(records[2].empty());
    for (const char* bad : {R"({"a": [{"name": 5}]})", R"({"a": [{"name": "x"})", R"([])",
                            R"({"a": [{"name": "\u12"}]})", R"({"a": []} x)"}) {
        std::vector<TIsoRecord> r;
        EXPECT_FALSE(ReadIsoList(bad, r)) << bad;
    }
}

TEST(Names, CountriesMunicipalitiesLanguagesAndCurrencies) {
    TNameSources s;
    s.countries = {{{"name", "Afghanistan"}, {"official_name", "Islamic Republic of Afghanistan"}},
                   {{"name", "Åland Islands"}},
                   {{"name", "Bosnia and Herzegovina"}},
                   {{"name", "Czechia"}, {"official_name", "Czech Republic"}},
                   {{"name", "China"}}};
    s.countryNames = {{"Afghanistan", "Afganistan"},
                      {"Islamic Republic of Afghanistan", "Islamska republika Afganistan"},
                      {"Åland Islands", "Ålandsko otočje"},
                      {"Bosnia and Herzegovina", "Bosna in Hercegovina"},
                      {"Czech Republic", "Češka republika"},
                      {"China", "中国"}};
    s.subdivisions = {{{"code", "SI-074"}, {"name", "Kosanjevica na Krki"}},
                      {{"code", "AT-1"}, {"name", "Burgenland"}}};
    s.subdivisionNames = {{"Kosanjevica na Krki", "Kostanjevica na Krki"},
                          {"Burgenland", "Gradiščanska"}};
    s.languages = {{{"name", "Asturian; Leonese"}},
                   {{"name", "Afro-Asiatic languages"}},
                   {{"name", "Klingon"}}};
    s.languageNames = {{"Asturian; Leonese", "asturijščina; leonščina"},
                       {"Afro-Asiatic languages", "afroazijski jeziki"}};
    s.currencies = {{{"alpha_3", "EUR"}, {"name", "Euro"}},
                    {{"alpha_3", "AWG"}, {"name", "Aruban Florin"}}};
    s.currencyNames = {{"Euro", "evro"}};
    TClueList list;
    TClueCounts counts;
    MakeNames(s, list, counts);
    EXPECT_EQ(Lines(list), (std::vector<std::string>{
                               "Afganistan: država (uradno Islamska republika Afganistan)",
                               "Alandsko otočje: država",
                               "Bosna in Hercegovina: država",
                               "Kostanjevica na Krki: občina v Sloveniji",
                               "asturijščina: jezik | tudi leonščina",
                               "leonščina: jezik | tudi asturijščina",
                               "afroazijski jeziki: skupina jezikov",
                               "evro: valuta (EUR)",
                           }));
    EXPECT_EQ(counts.untranslated, 3);  // Czechia, Klingon, Aruban Florin
    EXPECT_EQ(counts.unfit, 1);         // 中国
    EXPECT_EQ(counts.replaced, 1);
}

TEST(Dictionary, EntriesAndDataTakeThePlaceOfTheOlderFileOnlyWhole) {
    const std::string dir = MakeTestFolder("clues");
    ASSERT_FALSE(dir.empty());
    const std::string path = dir + "/pojmi.vrk3";
    std::ofstream(path) << "older file";
    const auto files = [&dir] {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(dir))
            names.push_back(e.path().filename().string());
        return names;
    };
    TClueList list;
    list.Add(W("Bonaire, Sint Eustatius in Saba"), W("država"));
    list.Add("a\"b", "x;y");
    list.Add("a\"b", "z");
    const TClueInfo info{W("Slovenski pojmi"), W("Avtorji: Žan"), "Opombe; izvor"};
    std::string error;
    // Without its scratch folder the store can make no change: the older
    // file stays, and nothing is left beside it.
    EXPECT_FALSE(WriteDictionary(list, info, path, dir + "/missing", error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(files(), std::vector<std::string>{"pojmi.vrk3"});
    ASSERT_TRUE(WriteDictionary(list, info, path, dir, error)) << error;
    TDataFile file(path, dir + "/1", dir + "/2", dir + "/3");
    std::string name, author, notes, password = "x", entry;
    ASSERT_TRUE(file.GetName(name) && file.GetAuthor(author) && file.GetNotes(notes) &&
                file.GetPassword(password));
    EXPECT_EQ(std::vector<std::string>({name, author, notes, password}),
              std::vector<std::string>({info.name, info.author, info.notes, ""}));
    EXPECT_EQ(file.GetFlags(), 4);  // export allowed, changes forbidden
    ASSERT_EQ(file.GetEntryCount(), 2);
    ASSERT_TRUE(file.GetEntry(0, entry));
    EXPECT_EQ(entry, W("Bonaire, Sint Eustatius in Saba") + "\x01" + W("država"));
    ASSERT_TRUE(file.GetEntry(1, entry));
    EXPECT_EQ(entry, "a\"b\x01x;y\x01z");
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace vrk::clues
