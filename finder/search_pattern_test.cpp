// Extended patterns and anagrams in the finder's search: the stored
// switches reach the search with the pattern, a malformed pattern or a
// description term without text is refused before the search starts, and the result window's title
// says what was searched for.
#include "finder/finder_texts.h"
#include "finder/search_bar_options.h"
#include "finder/search_test_util.h"
#include "finder/search_worker.h"
#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"
#include "ui/cp1250_text.h"

namespace vrk {
namespace {

class TPatternRunTest : public TSearchTest {
  protected:
    void SetUp() override {
        TSearchTest::SetUp();
        SetLibrary({MakeDictionary(
            "a.vrk3", "Reke",
            {Entry("LJUBLJANICA", {"reka sedmih imen"}), Entry("POTICA", {"pecivo"}),
             Entry("ROMAN", {"prozno delo"}), Entry("NORMA", {"predpisana mera"}),
             Entry("MORNAR", {ToCp1250(QStringLiteral("pomorščak"))})})});
    }
    void SetOption(std::string_view name, std::int32_t value) {
        ASSERT_TRUE(TSetRegistryNumber(kFinderPath, name, value, kRegCreateKey));
    }
    static std::vector<std::string> FoundWords(const CVrk3mpgDoc& doc) {
        std::vector<std::string> words;
        for (int k = 0; k < doc.Results().m_nFound; ++k) {
            const std::string& entry = doc.Results().m_strEntry[k];
            words.push_back(entry.substr(0, entry.find('\x01')));
        }
        return words;
    }
};

TEST_F(TPatternRunTest, WordsEndingInIcaWithReka) {
    SetOption(kExtendedPatternValue, 1);
    auto doc = Search("%ica", "reka");
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(FoundWords(*doc), std::vector<std::string>{"LJUBLJANICA"});
    // The option characters stay the same two; the reading travels beside.
    EXPECT_EQ(doc->Run()->Job().m_strPattern, "%ica00");
    EXPECT_TRUE(doc->Run()->Job().m_syntax.extended);
    EXPECT_FALSE(doc->Run()->Job().m_syntax.anagram);
    EXPECT_EQ(doc->Title(), QStringLiteral("Iskanje z razširjenim vzorcem \"%ica\" (1 zadetek)"));
}

TEST_F(TPatternRunTest, AnagramsOfRoman) {
    SetOption(kAnagramValue, 1);
    auto doc = Search("roman");
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(FoundWords(*doc), (std::vector<std::string>{"ROMAN", "NORMA"}));
    EXPECT_EQ(doc->Title(), QStringLiteral("Iskanje premetanke \"roman\" (2 zadetka)"));

    SetOption(kExtendedPatternValue, 1);
    doc = Search("rom%");
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(FoundWords(*doc), (std::vector<std::string>{"ROMAN", "NORMA", "MORNAR"}));
    EXPECT_EQ(doc->Title(),
              QStringLiteral("Iskanje premetanke z razširjenim vzorcem \"rom%\" (3 zadetki)"));
}

TEST_F(TPatternRunTest, SwitchesOffOrUnreadableKeepTheOldMeaning) {
    // "%" is a letter like any other: nothing begins with it.
    EXPECT_EQ(Search("%ica"), nullptr);
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{texts::kNothingFound});
    // A value that is not a number counts as off, as for the first two.
    ASSERT_TRUE(TSetRegistryString(kFinderPath, kAnagramValue, "1", kRegCreateKey));
    auto doc = Search("rom");
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(FoundWords(*doc), std::vector<std::string>{"ROMAN"});
    EXPECT_EQ(doc->Title(), QStringLiteral("Iskanje \"rom\" (1 zadetek)"));
}

TEST_F(TPatternRunTest, MalformedPatternIsRefusedBeforeTheSearchStarts) {
    SetOption(kExtendedPatternValue, 1);
    const struct {
        QString clue;
        QString message;
    } cases[] = {
        {"ab[cd", texts::kPatternUnclosedSet.arg(3)},
        {"a[]", texts::kPatternEmptySet.arg(2)},
        {"ab]", texts::kPatternUnopenedSet.arg(3)},
    };
    for (const auto& c : cases) {
        messages_->Clear();
        auto doc = std::make_shared<CVrk3mpgDoc>();
        bar_.clue = c.clue;
        EXPECT_FALSE(doc->OnNewDocument(bar_));
        EXPECT_EQ(doc->Run(), nullptr);  // no worker was started
        ASSERT_EQ(messages_->Shown().size(), 1u);
        EXPECT_EQ(messages_->Shown()[0].text, c.message);
        EXPECT_EQ(messages_->Shown()[0].icon, TMsgIcon::kWarning);
    }
    EXPECT_TRUE(bar_.clueHistory.isEmpty());

    // "%" and the letter count contradict each other.
    SetOption("CountLetters", 1);
    messages_->Clear();
    EXPECT_EQ(Search("k%a"), nullptr);
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{texts::kPatternRunWithCount.arg(2)});
    EXPECT_TRUE(texts::kPatternRunWithCount.arg(2).contains(QStringLiteral("znak % na 2. mestu")));
}

// Which terms are empty is the engine's; here, that one is refused with the
// term as typed and its position counted from 1.
TEST_F(TPatternRunTest, DescriptionTermWithoutTextIsRefusedBeforeTheSearchStarts) {
    auto doc = std::make_shared<CVrk3mpgDoc>();
    bar_.clue.clear();
    bar_.desc = "reka -";
    EXPECT_FALSE(doc->OnNewDocument(bar_));
    EXPECT_EQ(doc->Run(), nullptr);  // no worker was started
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{texts::kEmptySearchTerm.arg("-", "6")});
    EXPECT_TRUE(bar_.descHistory.isEmpty());  // the text stays in the box to be mended
}

TEST(PatternTitleTest, TitleSaysWhatWasSearchedAndKeepsTheClueAsTyped) {
    EXPECT_EQ(SearchTitle("a*", 5, {}), QStringLiteral("Iskanje \"a*\" (5 zadetkov)"));
    EXPECT_EQ(SearchTitle("%2a", 2, {true, false}),
              QStringLiteral("Iskanje z razširjenim vzorcem \"%2a\" (2 zadetka)"));
    EXPECT_EQ(SearchTitle("%1", 3, {true, true}),
              QStringLiteral("Iskanje premetanke z razširjenim vzorcem \"%1\" (3 zadetki)"));
    EXPECT_TRUE(SearchTitle("x", 1, {false, true}).startsWith(texts::kTitleMarker));
}

}  // namespace
}  // namespace vrk
