// Imports and exports of whole dictionaries in the older formats. Failing
// reads of a source are data_file_fault_test.cpp's, cut and random sources
// fuzz/import_*_fuzz.cpp's.
#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "coding.h"
#include "format.h"
#include "older_formats.h"
#include "progress.h"
#include "test_util.h"

namespace vrk {
namespace {

class ConvertTest : public TempDirTest {
  protected:
    // The entries of a second-generation file imported into "in.vrk3".
    std::vector<std::string> Imported(const std::string& file, char separator = ';',
                                      bool withInfo = false) {
        auto dict = DictionaryWith({}, "in.vrk3");
        EXPECT_TRUE(dict->ImportSecondGen(file, separator, withInfo));
        return Entries(*dict);
    }

    const std::vector<std::string> m_records = {
        Record("\xe8"
               "as",
               {"doba", "trajanje; obdobje"}),  // čas
        Record("Cesta", {"pot"}),
        Record("ab", {"kratko"}),
        Record("abc", {"abeceda, \"ABC\""}),
        Record("cesta"),
        Record("miza", {""}),
    };
    // Imports of in.csv, in.txt and in.vrk, and a merge of source.vrk3.
    const std::vector<std::pair<const char*, std::function<bool(TDataFile&)>>> m_imports = {
        {"csv", [this](TDataFile& d) { return d.ImportCsv(Path("in.csv")); }},
        {"first gen", [this](TDataFile& d) { return d.ImportFirstGen(Path("in.txt"), ';'); }},
        {"merge", [this](TDataFile& d) { return d.MergeFile(Path("source.vrk3")); }},
        {"second gen",
         [this](TDataFile& d) { return d.ImportSecondGen(Path("in.vrk"), ';', false); }},
    };
};

TEST_F(ConvertTest, ExportsSortByTheDictionarysAlphabetRow) {
    std::vector<std::string> records = m_records;
    // Equal to "ab" by rank and later in the file; TSortedList's bisection
    // meets the run of "ab" at its front.
    records.push_back(Record("AB", {"KRATKO"}));
    // Alike beyond the bytes a quick comparison looks at.
    records.push_back("nadnadnadnadc");
    records.push_back("NADNADNADNADb");
    auto dict = DictionaryWith(records);
    ASSERT_TRUE(dict->ExportCsv(Path("out.csv"), ','));
    EXPECT_EQ(ReadWholeFile(Path("out.csv")),
              "abc,\"abeceda, \"\"ABC\"\"\"\r\nAB,KRATKO\r\nab,kratko\r\ncesta\r\nCesta,pot\r\n"
              "\xe8"
              "as,doba,\"trajanje; obdobje\"\r\nmiza,\r\nNADNADNADNADb\r\nnadnadnadnadc");
    // Another row: m before c, everything else after them.
    dict->SetAlphabet("m,c", ',');
    ASSERT_TRUE(dict->ExportCsv(Path("out.csv"), ','));
    EXPECT_EQ(ReadWholeFile(Path("out.csv")).rfind("miza,\r\ncesta\r\n", 0), 0u);
}

TEST_F(ConvertTest, SecondGenRoundTripKeepsEntriesAndHeaderData) {
    auto dict = DictionaryWith(m_records);
    ASSERT_TRUE(dict->SetInfo("Ime", "Avtor", "Vrstica 1\r\nVrstica 2", "geslo123", 7));
    ASSERT_TRUE(dict->ExportSecondGen(Path("out.vrk"), '\x02'));
    const std::string bytes = ReadWholeFile(Path("out.vrk"));
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x06\0\0\0", 4));
    EXPECT_EQ(bytes.substr(4, 23), "\x16Verbatrakon 2.0 slovar");
    EXPECT_EQ(bytes.substr(bytes.size() - 8), std::string("\0\0\0\0\0\0\0\0", 8));

    // Sorted; a word without descriptions comes back with one empty description.
    EXPECT_EQ(Imported(Path("out.vrk"), '\x02', true),
              (std::vector<std::string>{m_records[3], m_records[2], Record("cesta", {""}),
                                        m_records[1], m_records[0], m_records[5]}));
    auto in = Dictionary("in.vrk3");
    std::string text;
    ASSERT_TRUE(in->GetName(text));
    EXPECT_EQ(text, "Ime");
    ASSERT_TRUE(in->GetNotes(text));
    EXPECT_EQ(text, "Vrstica 1\r\nVrstica 2");
    ASSERT_TRUE(in->GetPassword(text));
    EXPECT_EQ(text, "geslo123");
    EXPECT_EQ(in->GetFlags(), 7);
}

// The closing fields of a second-generation file: the password's flag and
// the two permissions, each read for its own flag ("read-only" clears
// "changes allowed", "no export" clears "export allowed").
TEST_F(ConvertTest, SecondGenPasswordAndPermissions) {
    auto dict = DictionaryWith({Record("a", {"b"})});
    ASSERT_TRUE(dict->SetInfo("n", "", "", "skrito", 0));
    ASSERT_TRUE(dict->ExportSecondGen(Path("out.vrk"), ';'));
    const std::string bytes = ReadWholeFile(Path("out.vrk"));
    // Empty password (flag 1 clear), "n", "", "", read-only 1, no-export 1.
    EXPECT_EQ(bytes.substr(bytes.size() - 13),
              std::string("\x00\x01n\x00\x00\x01\0\0\0\x01\0\0\0", 13));
    for (const auto& [readOnly, noExport, flags] :
         std::vector<std::tuple<char, char, std::int32_t>>{{1, 0, 4}, {0, 1, 2}}) {
        std::string vrk("\0\0\0\0\0\0\0\0\0\0", 10);
        vrk += std::string(1, readOnly) + std::string(3, '\0');
        vrk += std::string(1, noExport) + std::string(3, '\0');
        WriteWholeFile(Path("in.vrk"), vrk);
        Imported(Path("in.vrk"), ';', true);
        EXPECT_EQ(Dictionary("in.vrk3")->GetFlags(), flags) << int(readOnly);
    }
}

// Also a stop requested before the operation starts ends it: the operation
// never clears the caller's stop request.
TEST_F(ConvertTest, FailedOrStoppedImportsAndExportsChangeNothing) {
    auto dict = DictionaryWith({Record("a", {std::string(40000, 'x'), std::string(40000, 'y')})});
    const std::string before = ReadWholeFile(Path("test.vrk3"));
    // A text longer than a counted string holds: the older file stays.
    WriteWholeFile(Path("out.vrk"), "older file");
    EXPECT_FALSE(dict->ExportSecondGen(Path("out.vrk"), ';'));
    EXPECT_EQ(ReadWholeFile(Path("out.vrk")), "older file");
    EXPECT_FALSE(dict->ImportCsv(Path("missing.csv")));
    EXPECT_FALSE(dict->ImportFirstGen(Path("missing.txt"), ';'));
    // A count larger than the entries present.
    std::string vrk("\x05\0\0\0\0\0", 6);
    ASSERT_TRUE(WriteCounted(vrk, "a"));
    ASSERT_TRUE(WriteCounted(vrk, "b"));
    WriteWholeFile(Path("cut.vrk"), vrk);
    EXPECT_FALSE(dict->ImportSecondGen(Path("cut.vrk"), ';', false));
    EXPECT_EQ(ReadWholeFile(Path("test.vrk3")), before);
    WriteWholeFile(Path("ok.csv"), "a,b");
    TProgress progress;
    progress.RequestStop();
    dict->SetProgress(&progress);
    EXPECT_FALSE(dict->ImportCsv(Path("ok.csv")));
    EXPECT_FALSE(dict->ExportCsv(Path("o.csv"), ','));
    EXPECT_EQ(dict->LastFailure(), TFailure::Stopped);
    EXPECT_EQ(ReadWholeFile(Path("test.vrk3")), before);
    // An empty dictionary has no entry to see the stop at.
    ASSERT_TRUE(CreateEmpty(Path("empty.vrk3")));
    auto empty = Dictionary("empty.vrk3");
    empty->SetProgress(&progress);
    EXPECT_FALSE(empty->ExportCsv(Path("o.csv"), ','));
    EXPECT_EQ(Files(), (std::vector<std::string>{"cut.vrk", "empty.vrk3", "ok.csv", "out.vrk",
                                                 "test.vrk3"}));
}

// The byte that ends each search result (0x02) never enters a record: an
// import or a merge makes it a space and counts it. Every import passes its
// entries through the merge's one step; CSV stands for the text formats.
TEST_F(ConvertTest, ImportsAndMergeTurnTheResultSeparatorIntoASpace) {
    WriteWholeFile(Path("in.csv"), "A\002B,x\002y,z\r\n\r\n");  // an empty line is no entry
    DictionaryWith({"A\002B\001x\002y\001z"}, "source.vrk3");
    for (std::size_t i : {0, 2}) {  // csv, merge
        const auto& [name, run] = m_imports[i];
        auto dict = DictionaryWith({}, "d.vrk3");
        ASSERT_TRUE(run(*dict)) << name;
        EXPECT_EQ(Entries(*dict), std::vector<std::string>{Record("A B", {"x y", "z"})}) << name;
        EXPECT_EQ(dict->ConvertCounts().separators, 2) << name;
        EXPECT_EQ(dict->ConvertCounts().entries, 1) << name;
    }
}

// Lines and records longer than a record can hold are cut, and counted;
// a merge cuts an overlong record of its source as every reader does, and so
// do records imported from memory.
TEST_F(ConvertTest, ImportsAndMergeCutOverlongTextsAndCountThem) {
    const std::string longText(150000, 'x');
    WriteWholeFile(Path("in.csv"), "a," + longText + "\nb,1\n");
    WriteWholeFile(Path("in.txt"), "a" + std::string(28, ' ') + longText + "\r\nb" +
                                       std::string(28, ' ') + "1\r\n");
    auto source = DictionaryWith({Record("a", {"x"}), Record("b", {"1"})}, "source.vrk3");
    const std::string plain =
        std::string(16, '\0') + "a\x01" + longText + '\0' + Record("b", {"1"}) + '\0';
    std::string scrambled(plain.size(), '\0');
    ScrambleBytes(plain.data(), scrambled.data(), plain.size(), kRecordsOffset);
    const std::string header = ReadWholeFile(Path("source.vrk3")).substr(0, kRecordsOffset);
    WriteWholeFile(Path("source.vrk3"), header + scrambled + std::string(kTrailerSize, '\0'));
    const std::vector<std::string> records = {Record("a", {longText}), Record("b", {"1"})};
    auto imports = m_imports;
    imports.back() = {"records", [&](TDataFile& d) { return d.ImportRecords(records); }};
    for (const auto& [name, run] : imports) {
        auto dict = DictionaryWith({}, "d.vrk3");
        ASSERT_TRUE(run(*dict)) << name;
        const auto entries = Entries(*dict);
        ASSERT_EQ(entries.size(), 2u) << name;
        EXPECT_EQ(entries[0], "a\x01" + longText.substr(0, kMaxRecordText - 2)) << name;
        EXPECT_EQ(entries[1], Record("b", {"1"})) << name;
        EXPECT_EQ(dict->ConvertCounts().cut, 1) << name;
    }
    // A first-generation line cut where its kept part ends in blanks: the
    // trimmed text fits a record, but what was dropped is still counted.
    WriteWholeFile(Path("in.txt"), "c" + std::string(28, ' ') + std::string(MAX_RECORD - 10, 'x') +
                                       std::string(20, ' ') + "yyy\r\n");
    auto dict = DictionaryWith({}, "e.vrk3");
    ASSERT_TRUE(m_imports[1].second(*dict));
    EXPECT_EQ(Entries(*dict),
              std::vector<std::string>{"c\x01" + std::string(MAX_RECORD - 10, 'x')});
    EXPECT_EQ(dict->ConvertCounts().cut, 1);
}

// A line break inside a text would end the entry in CSV and in the first
// generation: each is written as a space and counted. The second generation
// keeps it.
TEST_F(ConvertTest, TextExportsWriteLineBreaksAsSpaces) {
    auto dict = DictionaryWith({Record("oko", {"vid\r\ndrugi del", "a\nb\rc"})});
    ASSERT_TRUE(dict->ExportCsv(Path("out.csv"), ','));
    EXPECT_EQ(ReadWholeFile(Path("out.csv")), "oko,vid drugi del,a b c");
    EXPECT_EQ(dict->ConvertCounts().lineBreaks, 3);
    ASSERT_TRUE(dict->ExportFirstGen(Path("out.txt"), ';'));
    EXPECT_EQ(ReadWholeFile(Path("out.txt")),
              "oko" + std::string(26, ' ') + "vid drugi del; a b c\r\n");
    EXPECT_EQ(dict->ConvertCounts().lineBreaks, 3);
    ASSERT_TRUE(dict->ExportSecondGen(Path("out.vrk"), ';'));
    EXPECT_EQ(dict->ConvertCounts().lineBreaks, 0);
    EXPECT_EQ(Imported(Path("out.vrk")), Entries(*dict));
}

}  // namespace
}  // namespace vrk
