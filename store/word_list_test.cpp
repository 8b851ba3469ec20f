// Word lists merged into dictionaries: line ends and blanks, the two kinds
// of decoder, repeats, words the dictionary holds already.
#include "word_list.h"

#include <gtest/gtest.h>

#include "test_util.h"

namespace vrk {
namespace {

class WordListTest : public TempDirTest {
  protected:
    // Imports `list` into the dictionary at "w.vrk3" (made empty unless it
    // is there) and returns its entries afterwards.
    std::vector<std::string> Imported(std::string_view list, TWordDecoder& decoder) {
        if (!std::filesystem::exists(Path("w.vrk3"))) {
            EXPECT_TRUE(CreateEmpty(Path("w.vrk3")));
        }
        auto dict = Dictionary("w.vrk3");
        EXPECT_TRUE(dict->ImportWords(list, decoder, m_counts));
        return Entries(*dict);
    }
    TWordListCounts m_counts;
    TUtf8WordDecoder m_utf8;
};

using Words = std::vector<std::string>;

TEST_F(WordListTest, EveryLineEndAndBlanksAroundTheWordAreDropped) {
    const Words entries = Imported(
        "karta\nKirka\r\n  korma\t \r"
        "\r\n \t \n\nkurja\n\xEF\xBB\xBFkurza\n\xEF\xBB\xBF\nKerta",
        m_utf8);
    EXPECT_EQ(entries, Words({"karta", "Kirka", "korma", "kurja", "kurza", "Kerta"}));
    EXPECT_EQ(m_counts.added, 6);
    // "\r\n", " \t ", "" and the byte-order mark alone: CR LF is one line end.
    EXPECT_EQ(m_counts.empty, 4);
    EXPECT_EQ(m_counts.unfit, 0);
}

TEST_F(WordListTest, RepeatsAreStoredOnceAndCaseMakesAnotherWord) {
    std::string list;
    // Enough words that the table of listed words grows several times.
    for (int round = 0; round < 2; ++round)
        for (int i = 0; i < 5000; ++i) list += "beseda" + std::to_string(i) + "\n";
    list += "Kirka\nkirka\nKirka\nKIRKA\n";
    auto dict = DictionaryWith({}, "w.vrk3");
    ASSERT_TRUE(dict->ImportWords(list, m_utf8, m_counts));
    ASSERT_EQ(dict->GetEntryCount(), 5003);
    Words words(4);
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(dict->GetWord(4999 + i, words[i]));
    EXPECT_EQ(words, Words({"beseda4999", "Kirka", "kirka", "KIRKA"}));
    EXPECT_EQ(m_counts.added, 5003);
    EXPECT_EQ(m_counts.repeated, 5001);
}

TEST_F(WordListTest, Utf8LinesWindows1250CannotHoldAreSkippedAndCounted) {
    const std::string tooLong(kMaxRecordText + 1, 'a');
    // črka, 日, a cut sequence, a control character.
    const Words entries = Imported("\xC4\x8Drka\n\xE6\x97\xA5\nab\xC4\na\tb\n" + tooLong + "\n" +
                                       std::string(kMaxRecordText, 'b'),
                                   m_utf8);
    EXPECT_EQ(entries, Words({"\xE8rka", std::string(kMaxRecordText, 'b')}));
    // Each skipped line is counted by its reason.
    EXPECT_EQ(m_counts.unfit, 2);
    EXPECT_EQ(m_counts.control, 1);
    EXPECT_EQ(m_counts.tooLong, 1);
    EXPECT_EQ(m_counts.added, 2);
}

// A one-byte encoding goes through its table of code points (here a part of
// ISO-8859-2, where č, š and ž are E8, B9 and BE; Windows-1250 has them at
// E8, 9A and 9E). A byte that stands for no character, or for
// one Windows-1250 lacks, makes its line unfit.
TEST_F(WordListTest, OneByteEncodingsGoThroughTheirTable) {
    std::array<char32_t, 256> table{};
    for (int b = 0; b < 256; ++b) table[b] = static_cast<char32_t>(b);
    table[0xE8] = U'\u010D';
    table[0xB9] = U'\u0161';
    table[0xBE] = U'\u017E';
    table['x'] = TByteWordDecoder::kNoCharacter;
    table['y'] = U'\u65E5';
    TByteWordDecoder latin2(table);
    EXPECT_EQ(Imported("\xE8rka\n\xB9\xBE\nax\nay\naz\n", latin2),
              Words({"\xE8rka", "\x9A\x9E", "az"}));
    EXPECT_EQ(m_counts.unfit, 2);
}

TEST_F(WordListTest, WordsTheDictionaryHoldsKeepTheirEntries) {
    auto dict = DictionaryWith(
        {Record("karta", {"igralna", "zemljevid"}), Record("Kirka"), Record("karta", {"druga"})},
        "w.vrk3");
    const Words entries = Imported("Kirka\nkarta\nkorma\nkarta\n", m_utf8);
    EXPECT_EQ(entries, Words({Record("karta", {"igralna", "zemljevid"}), Record("Kirka"),
                              Record("karta", {"druga"}), "korma"}));
    EXPECT_EQ(m_counts.present, 3);
    EXPECT_EQ(m_counts.added, 1);

    // A list with no new word leaves the dictionary byte for byte.
    const std::string before = ReadWholeFile(Path("w.vrk3"));
    EXPECT_EQ(Imported("korma\nKirka\n", m_utf8).size(), 4u);
    EXPECT_EQ(ReadWholeFile(Path("w.vrk3")), before);
}

}  // namespace
}  // namespace vrk
