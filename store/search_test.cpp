#include <gtest/gtest.h>

#include <cstdio>

#include "coding.h"
#include "progress.h"
#include "record_stream.h"
#include "search_terms.h"
#include "test_util.h"

namespace vrk {
namespace {

// Each term read back as "=" (exact), its sign (" " optional), '"' (whole
// word) and its text.
TEST(SearchTerms, SignsAndQuotesSetHowATermIsFound) {
    std::vector<std::string> read;
    for (const TSearchTerm& t : ParseSearchTerms("  =+\"stara mama\"\t-'pol ure' +=x y \"odprt"))
        read.push_back((t.exact ? "=" : "") + std::string(1, " +-"[t.mode]) +
                       (t.wholeWord ? "\"" : "") + t.text);
    // An unclosed quote ends at the end of the text.
    EXPECT_EQ(read,
              (std::vector<std::string>{"=+\"stara mama", "-pol ure", "=+x", " y", " \"odprt"}));
    // A second "=" after the sign is text when the first one set exact.
    EXPECT_EQ(ParseSearchTerms("=+=x")[0].text, "=x");
}

TEST(SearchTerms, EmptyTermsAreFoundWithTheirTypedFormAndAtMostHundredAreRead) {
    const struct {
        std::string_view typed;
        std::string_view empty;  // the first empty term as typed, "" for none
        std::size_t position;
    } cases[] = {
        {"abc +", "+", 4}, {"+= \"abc\"", "+=", 0},  {"x \"\" y", "\"\"", 2},
        {"-'", "-'", 0},   {"\"a\"\"\"", "\"\"", 3}, {"+x -'y z' \"a\"", "", 0},
    };
    for (const auto& c : cases) {
        const TEmptyTerm empty = FindEmptyTerm(c.typed);
        EXPECT_EQ(empty.typed, c.empty) << c.typed;
        if (empty) {
            EXPECT_EQ(empty.position, c.position) << c.typed;
        }
    }
    EXPECT_TRUE(ParseSearchTerms("+ - = \"\" ''").empty());
    std::string many;
    for (int i = 0; i < 150; ++i) many += "t" + std::to_string(i) + " ";
    const auto terms = ParseSearchTerms(many);
    ASSERT_EQ(terms.size(), 100u);
    EXPECT_EQ(terms.back().text, "t99");
    EXPECT_FALSE(FindEmptyTerm(many + "-"));  // past the hundredth term nothing is read
}

TEST(SearchTerms, FindTermFoldsByRankUnlessExactAndWholeWordNeedsBoundaries) {
    struct Case {
        const char *text, *term;
        bool exact, wholeWord, found;
    };
    const Case cases[] = {
        {"STARA m\xc4ma", "ma", false, false, true},  // Ä folds to a
        {"STARA m\xc4ma", "st", true, false, false},
        {"ab", "abc", false, false, false},  // runs past the end
        {"x\x01mama\x01y", "mama", false, true, true},
        {"mamas", "mama", false, true, false},
        {"xmama", "mama", false, true, false},
        {"mamas mama", "mama", false, true, true},  // a later one may stand alone
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindTerm(c.text, c.term, c.exact, c.wholeWord, DefaultRankTable()), c.found)
            << c.text << " / " << c.term;
}

TEST(RecordStream, RecordsAcrossChunksAndLongerThanTheBuffer) {
    std::FILE* f = std::tmpfile();
    const std::string records = std::string("head") + '\0' + std::string(70, 'a') + '\0' +
                                std::string(300, 'b') + '\0' + '\0' + "cut";
    std::fwrite(records.data(), 1, records.size(), f);
    std::fflush(f);
    TRecordStream stream(PosixFileSystem(), fileno(f), 4, records.size(), 64);
    std::string_view record;
    std::uint64_t offset = 0;
    std::vector<std::pair<std::uint64_t, std::size_t>> seen;
    while (stream.Next(record, offset)) {
        EXPECT_EQ(record, std::string_view(records).substr(offset, record.size()));
        seen.emplace_back(offset, record.size());
    }
    // The first record starts mid-way ("head" skipped); "cut" has no terminator.
    EXPECT_EQ(seen, (std::vector<std::pair<std::uint64_t, std::size_t>>{
                        {4, 0}, {5, 70}, {76, 300}, {377, 0}}));
    std::fclose(f);
}

using SearchTest = TempDirTest;
using Words = std::vector<std::string>;

TEST_F(SearchTest, KnownLettersMatchFromTheStartOfTheWord) {
    auto file = DictionaryWith({Record("miza", {"pohištvo"}), Record("mizar", {"obrtnik"}),
                                Record("MIZA"), Record("m\xe4za"), Record("mi"), Record("riza")});
    EXPECT_EQ(WordsOf(SearchFile(*file, "m*za00", "")),
              (Words{"miza", "mizar", "MIZA", "m\xe4za"}));
    // Letter count on: exactly four letters.
    EXPECT_EQ(WordsOf(SearchFile(*file, "m*za10", "")), (Words{"miza", "MIZA", "m\xe4za"}));
    // Case on: only the identical bytes.
    EXPECT_EQ(WordsOf(SearchFile(*file, "mi*a01", "")), (Words{"miza", "mizar"}));
    EXPECT_EQ(SearchFile(*file, "00", "").count, 6);  // no letters, no terms: everything
    // A pattern longer than any word finds nothing.
    EXPECT_EQ(SearchFile(*file, std::string(200000, 'm') + "00", "").count, 0);
    // Indices are file positions.
    EXPECT_EQ(SearchFile(*file, "r***00", "").index, (std::vector<std::int32_t>{5}));
    // "@" ranks with every unlisted byte, 0x01 included; the word still ends.
    auto marked = DictionaryWith({Record("ab", {"cd"}), Record("ab@d")}, "marked.vrk3");
    EXPECT_EQ(WordsOf(SearchFile(*marked, "ab@00", "")), (Words{"ab@d"}));
    EXPECT_EQ(WordsOf(SearchFile(*marked, "ab10", "")), (Words{"ab"}));
}

TEST_F(SearchTest, TermsDecideAndCountHits) {
    auto file = DictionaryWith({
        Record("a", {"stara mama", "oče"}),
        Record("b", {"mamas"}),
        Record("c", {"stara hiša"}),
        Record("d", {"nova hiša", "stara"}),
        Record("e"),
    });
    EXPECT_EQ(WordsOf(SearchFile(*file, "00", "mama")), (Words{"a", "b"}));
    EXPECT_EQ(WordsOf(SearchFile(*file, "00", "+stara hiša")), (Words{"a", "c", "d"}));
    EXPECT_EQ(SearchFile(*file, "00", "+stara hiša").hits, (std::vector<std::int32_t>{1, 2, 2}));
    EXPECT_EQ(WordsOf(SearchFile(*file, "00", "stara -nova")), (Words{"a", "c"}));
    // Only excluded terms: nothing is ever found.
    EXPECT_EQ(SearchFile(*file, "00", "-nova").count, 0);
    // A required term that is missing rejects the entry although others match.
    EXPECT_EQ(WordsOf(SearchFile(*file, "00", "hiša +oče")), (Words{"a"}));
    // Terms are checked only for entries whose letters fit.
    EXPECT_EQ(WordsOf(SearchFile(*file, "d00", "stara")), (Words{"d"}));
    // A term without text is refused, not dropped.
    EXPECT_EQ(SearchFile(*file, "00", "+= \"mama\"").count, -1);
    EXPECT_EQ(file->LastFailure(), TFailure::InvalidArgument);
}

// Two 10-byte records. The first takes 11 bytes with its 0x02; the second
// fits only while used + 10 stays below outSize - 2. Then the mark 'X'
// ends the buffer, and the list still ends after the first.
TEST_F(SearchTest, MaxResultsTheFullBufferAndAStopRequestEndTheSearch) {
    const std::string a = Record("aaaaaaaa", {"o"}), b = Record("bbbbbbbb", {"p"});
    auto file = DictionaryWith({a, b});
    const std::size_t boundary = 11 + 10 + 2;  // used + L == outSize - 2
    const TSearchResult full = SearchFile(*file, "00", "", boundary);
    EXPECT_EQ(full.records, std::vector<std::string>{a});
    EXPECT_TRUE(full.full);
    const TSearchResult both = SearchFile(*file, "00", "", boundary + 1);
    EXPECT_EQ(both.records, (std::vector<std::string>{a, b}));
    EXPECT_FALSE(both.full);
    const TSearchResult limited = SearchFile(*file, "00", "", 50000, 1);
    EXPECT_EQ(limited.count, 1);
    EXPECT_FALSE(limited.full);
    // Nothing fits: no record, but the mark.
    EXPECT_TRUE(SearchFile(*file, "00", "", 5).full);
    EXPECT_EQ(SearchFile(*file, "00", "", 5).count, 0);
    EXPECT_EQ(SearchFile(*file, "00", "", 0).count, 0);
    // A stop ends the search at the next entry.
    TProgress progress;
    file->SetProgress(&progress);
    progress.RequestStop();
    EXPECT_EQ(SearchFile(*file, "00", "").count, -1);
    EXPECT_EQ(progress.Pos(), 1);
    EXPECT_EQ(Files(), (std::vector<std::string>{"test.vrk3"}));  // no scratch files
}

// A record longer than a record may be (written past the store's checks)
// is cut; a file cut inside its records by another program fails.
TEST_F(SearchTest, OverlongRecordIsCutAndAFileCutShortFails) {
    auto file = DictionaryWith({Record("a", {"x"}), Record("b", {"y"})});
    const std::string plain = std::string(16, '\0') + "a\x01" + std::string(150000, 'x') + '\0' +
                              Record("b", {"y"}) + '\0';
    std::string scrambled(plain.size(), '\0');
    ScrambleBytes(plain.data(), scrambled.data(), plain.size(), kRecordsOffset);
    const std::string header = ReadWholeFile(Path("test.vrk3")).substr(0, kRecordsOffset);
    WriteWholeFile(Path("test.vrk3"), header + scrambled + std::string(kTrailerSize, '\0'));
    const TSearchResult all = SearchFile(*file, "00", "", 300000);
    ASSERT_EQ(all.count, 2);
    EXPECT_EQ(all.records[0].size(), kMaxRecordText);
    EXPECT_EQ(all.index, (std::vector<std::int32_t>{0, 1}));
    EXPECT_EQ(all.records[1], Record("b", {"y"}));
    const std::string whole = ReadWholeFile(Path("test.vrk3"));
    WriteWholeFile(Path("test.vrk3"), whole.substr(0, whole.size() - 25));
    EXPECT_EQ(SearchFile(*file, "00", "").count, -1);
}

}  // namespace
}  // namespace vrk
