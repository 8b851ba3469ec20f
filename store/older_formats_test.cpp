#include "older_formats.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <tuple>

#include "format.h"
#include "test_util.h"

namespace vrk {
namespace {

// A reader over the given bytes (in an anonymous temporary file).
struct TMemoryReader {
    explicit TMemoryReader(const std::string& bytes) : file(std::tmpfile()), in(fileno(file)) {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::rewind(file);
    }
    ~TMemoryReader() { std::fclose(file); }
    std::FILE* file;
    TByteReader in;
};

TEST(RunningSum, StoresTheSumOfAllBytesSoFar) {
    std::string bytes("\x01\x02\x03", 3);
    EncodeRunningSum(bytes);
    EXPECT_EQ(bytes, std::string("\x01\x03\x06", 3));
    std::string wraps("\xff\x02", 2);
    EncodeRunningSum(wraps);
    EXPECT_EQ(wraps, std::string("\xff\x01", 2));
    DecodeRunningSum(wraps);
    EXPECT_EQ(wraps, std::string("\xff\x02", 2));
}

// A length below 255 takes one byte, a longer one 0xFF and two bytes, low
// byte first. A read keeps at most its limit and reads the rest past.
TEST(CountedString, LengthFormsAtTheirLimitsAndReadsPastALimit) {
    std::string all;
    for (std::size_t length : {0u, 254u, 255u, 65535u}) {
        std::string out;
        ASSERT_TRUE(WriteCounted(out, std::string(length, 'a')));
        const std::string prefix = length < 255
                                       ? std::string(1, char(length))
                                       : std::string{'\xff', char(length), char(length >> 8)};
        EXPECT_EQ(out, prefix + std::string(length, 'a')) << length;
        all += out;
    }
    TMemoryReader r(all + std::string("\xff\x10\x00xyz", 6));  // and data cut short
    std::string back;
    for (std::size_t kept : {0u, 254u, 254u, 254u}) {
        ASSERT_TRUE(ReadCounted(r.in, back, 254));
        EXPECT_EQ(back, std::string(kept, 'a'));
    }
    EXPECT_FALSE(ReadCounted(r.in, back, 254));
    std::string out = "x";
    EXPECT_FALSE(WriteCounted(out, std::string(65536, 'a')));
    EXPECT_EQ(out, "x");
}

TEST(BuildRecord, SeparatorsAndBlanksAroundThem) {
    struct Case {
        std::string word, text;
        char separator;
        std::string record;
    };
    const Case cases[] = {
        {"miza", "pohištvo; kos  ;  mize ", ';', Record("miza", {"pohištvo", "kos", "mize "})},
        {"w", "", ';', Record("w", {""})},  // a word alone takes one empty description
        {"w", "a;;b", ';', Record("w", {"a", "", "b"})},
        {"w", "a b\t c", ';', Record("w", {"a b\t c"})},  // inner blanks stay
        // A record cannot hold 0x00: the zero bytes alone are dropped.
        {std::string("ab\0c", 4), std::string("a\0b;c", 5), ';', Record("abc", {"ab", "c"})},
        // A blank separator ends a run of blanks: those before it are dropped.
        {"w", "a \tb\t", '\t', Record("w", {"a", "b", ""})},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BuildRecord(c.word, c.text, c.separator), c.record) << c.text.substr(0, 30);
    bool cut = false;
    EXPECT_EQ(BuildRecord("w", std::string(200000, 'x'), ';', &cut).size(), kMaxRecordText);
    EXPECT_TRUE(cut);
    EXPECT_EQ(BuildRecord("w", std::string(99997, 'x'), ';', &cut).size(), kMaxRecordText);
    EXPECT_FALSE(cut);
}

TEST(Csv, LineToRecordFollowsQuotesAndRecordToLineQuotesWhatNeedsIt) {
    const std::pair<std::string, std::string> read[] = {
        {"miza,\"kos, pohištva\";stol", Record("miza", {"kos, pohištva", "stol"})},
        {"a,\"b \"\"c\"\" d\"x,e", Record("a", {"b \"c\" dx", "e"})},
        {"a\"b,c", "ab,c"},  // the end of the line ends a quote
        {" a , b ", Record(" a ", {" b "})},
        {"a|b", "a|b"},                                       // only "," and ";" separate
        {std::string("a\0b,\0c\0", 7), Record("ab", {"c"})},  // 0x00 dropped
    };
    for (const auto& [line, record] : read) EXPECT_EQ(CsvLineToRecord(line), record) << line;
    const std::tuple<std::string, char, std::string> written[] = {
        {Record("miza", {"kos, pohištva", "stol"}), ',', "miza,\"kos, pohištva\",stol"},
        {Record("a", {"b|c", "d\"e", "f;g"}), '|', "a|\"b|c\"|\"d\"\"e\"|\"f;g\""},
        {Record("word", {""}), ',', "word,"},
    };
    for (const auto& [record, separator, line] : written)
        EXPECT_EQ(RecordToCsvLine(record, separator), line);
}

const std::string kIndent(29, ' ');

// The word in columns 1-29, the descriptions from column 30 to 80, "; "
// between them.
TEST(FirstGen, WordColumnsSeparatorsAndWrapsAtColumnEighty) {
    const std::string pad(28, ' '), x51(51, 'x'), a45(45, 'a');
    const std::pair<std::string, std::string> cases[] = {
        {Record("miza", {"kos", "stol"}), "miza" + std::string(25, ' ') + "kos; stol\r\n"},
        // A word alone on its line is cut too: a reader would take the rest
        // for a description.
        {std::string(35, 'w'), std::string(29, 'w') + "\r\n"},
        // 51 text characters fill columns 30-80; the next starts a new line.
        {Record("w", {x51 + "y"}), "w" + pad + x51 + "\r\n" + kIndent + "y\r\n"},
        {Record("w", {x51}), "w" + pad + x51 + "\r\n"},
        // A word that would pass column 80 moves to the next line; the blank
        // before it is replaced by the line break. One ending there stays.
        {Record("w", {a45 + " bbbbbbbb"}), "w" + pad + a45 + "\r\n" + kIndent + "bbbbbbbb\r\n"},
        {Record("w", {a45 + " bbbbb"}), "w" + pad + a45 + " bbbbb\r\n"},
        // A separator near the end of the line is followed by the line break.
        {Record("w", {std::string(50, 'c'), "d"}),
         "w" + pad + std::string(50, 'c') + ";\r\n" + kIndent + "d\r\n"},
        // A blank at the start of a continuation is dropped.
        {Record("w", {x51 + "  y"}), "w" + pad + x51 + "\r\n" + kIndent + "y\r\n"},
    };
    for (const auto& [record, text] : cases) {
        std::string out;
        AppendFirstGenEntry(out, record, ';');
        EXPECT_EQ(out, text) << record;
    }
}

TEST(FirstGen, ReaderJoinsContinuationLines) {
    const std::string bytes = "miza" + std::string(25, ' ') + "kos;\r\n" + kIndent + "stol  \r\n" +
                              "a\r\n" + "b" + std::string(28, ' ') + "x\n" + "\tcont\r\n" +
                              std::string(40, 'L') + "\r\n" + "last";
    TMemoryReader r(bytes);
    TFirstGenReader reader(r.in);
    std::vector<std::string> entries;
    for (std::string word, text; reader.Next(word, text);) entries.push_back(word + "|" + text);
    // A continuation line shorter than the indentation ends at its line end.
    EXPECT_EQ(entries, (std::vector<std::string>{"miza|kos; stol", "a|", "b|x",
                                                 std::string(29, 'L') + "|" + std::string(11, 'L'),
                                                 "last|"}));
}

TEST(Csv, LinesEndAtLfCrOrCrLf) {
    TMemoryReader r("a\r\nb\rc\nd\n\ne");
    std::vector<std::string> lines;
    std::string line;
    while (ReadCsvLine(r.in, line)) lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "c", "d", "", "e"}));
}

}  // namespace
}  // namespace vrk
