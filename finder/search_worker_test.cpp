// The search end to end (the document, the worker, its progress window and
// its questions), and the program's start.
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <filesystem>

#include "finder/child_frame.h"
#include "finder/finder_test_util.h"
#include "finder/finder_texts.h"
#include "finder/main_frame.h"
#include "finder/search_bar.h"
#include "finder/search_bar_options.h"
#include "finder/search_worker.h"
#include "finder/vrk3_app.h"
#include "finder/vrk3mpg_view.h"
#include "settings/first_library.h"
#include "settings/reg_key.h"
#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "settings/temp_dir.h"

namespace vrk {
namespace {

using TSearchRunTest = TSearchTest;

void SetOption(std::string_view name, std::int32_t value) {
    ASSERT_TRUE(TSetRegistryNumber(kFinderPath, name, value, kRegCreateKey | kRegOverwrite));
}

std::vector<std::string> Words(const CVrk3mpgDoc& doc) {
    std::vector<std::string> words;
    const TSearchResults& r = doc.Results();
    for (int k = 0; k < r.m_nFound; ++k)
        words.push_back(r.m_strEntry[k].substr(0, r.m_strEntry[k].find('\x01')));
    return words;
}

// Entries "w000" ... numbered from `first`, each with one description.
std::vector<std::string> Numbered(int first, int count, std::string_view description = "opis") {
    std::vector<std::string> entries;
    for (int i = first; i < first + count; ++i) {
        char word[16];
        std::snprintf(word, sizeof word, "w%03d", i);
        entries.push_back(Record(word, {description}));
    }
    return entries;
}

// The title's Slovene form follows the last two digits of the count; the
// switches name the kind of search, and the clue stays as typed.
TEST(SearchTitleTest, TitleSaysWhatWasSearchedInItsSloveneForm) {
    const struct {
        QString clue;
        int found;
        TPatternSyntax syntax;
        QString title;
    } cases[] = {
        {"a*", 1, {}, "Iskanje \"a*\" (1 zadetek)"},
        {"a*", 2, {}, "Iskanje \"a*\" (2 zadetka)"},
        {"", 11, {}, "Iskanje \"\" (11 zadetkov)"},
        {"a*", 101, {}, "Iskanje \"a*\" (101 zadetek)"},
        {"%1",
         3,
         {true, true},
         QStringLiteral("Iskanje premetanke z razširjenim vzorcem \"%1\" (3 zadetki)")},
    };
    for (const auto& c : cases) EXPECT_EQ(SearchTitle(c.clue, c.found, c.syntax), c.title);
}

// Found words make a titled document in dictionary order; nothing typed
// runs nothing, and nothing found says so: neither opens a window.
TEST_F(TSearchRunTest, FoundWordsGiveTitledDocumentInDictionaryOrder) {
    const std::string a = Dictionary("a.vrk3", {Record("abc", {"x"}), Record("bcd")});
    const std::string b = Dictionary("b.vrk3", {Record("aaa", {"y", "z"}), Record("Abe")});
    SetLibrary({a, b});
    EXPECT_EQ(Search(""), nullptr);
    EXPECT_TRUE(messages_->Texts().empty());
    EXPECT_TRUE(bar_.clueHistory.isEmpty());
    EXPECT_EQ(Search("x*"), nullptr);
    ASSERT_EQ(messages_->Texts(), std::vector<QString>{texts::kNothingFound});
    EXPECT_EQ(messages_->Shown()[0].icon, TMsgIcon::kInformation);
    auto doc = Search("a*");
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->Title(), "Iskanje \"a*\" (3 zadetki)");
    EXPECT_EQ(Words(*doc), (std::vector<std::string>{"abc", "aaa", "Abe"}));
    const TSearchResults& r = doc->Results();
    EXPECT_EQ(r.m_strDataFile[1], b);
    EXPECT_EQ(r.m_nClueIndex[2], 1);
    EXPECT_EQ(r.m_strEntry[1], Record("aaa", {"y", "z"}));
    EXPECT_EQ(r.m_strEntry[2], "Abe");  // no description, no 0x01
    EXPECT_EQ(doc->Run()->Job().m_strPattern, "a*00");
    EXPECT_EQ(bar_.clueHistory.first(), "a*");
}

// A dictionary that cannot be read asks whether to go on: Yes searches the
// rest, No ends the run and shows what was found so far.
TEST_F(TSearchRunTest, UnreadableDictionaryAsksAndYesGoesOnNoShowsWhatWasFound) {
    const std::string missing = folder_ + "/missing.vrk3";
    SetLibrary(
        {Dictionary("a.vrk3", {Record("abc")}), missing, Dictionary("b.vrk3", {Record("abd")})});
    const struct {
        TMsgAnswer answer;
        std::vector<std::string> words;
    } cases[] = {{TMsgAnswer::kYes, {"abc", "abd"}}, {TMsgAnswer::kNo, {"abc"}}};
    for (const auto& c : cases) {
        messages_->Clear();
        messages_->Answer(c.answer);
        auto doc = Search("ab*");
        ASSERT_NE(doc, nullptr);
        EXPECT_EQ(Words(*doc), c.words);
        ASSERT_EQ(messages_->Shown().size(), 1u);
        const TMessage prompt = messages_->Shown()[0];
        EXPECT_EQ(prompt.text, vrk::texts::kDictReadError.arg(QString::fromStdString(missing)));
        EXPECT_EQ(prompt.icon, TMsgIcon::kError);
        EXPECT_EQ(prompt.buttons, TMsgButtons::kYesNo);
    }
}

// The limit of 500 holds across dictionaries, ends the run without opening
// another dictionary, and is said, also when the last one reaches it exactly.
TEST_F(TSearchRunTest, TheLimitHoldsAcrossDictionariesAndStopsTheRun) {
    const std::vector<std::vector<std::string>> libraries = {
        {Dictionary("a.vrk3", Numbered(0, 300)), Dictionary("b.vrk3", Numbered(300, 300)),
         folder_ + "/never-opened.vrk3"},
        {Dictionary("c.vrk3", {Record("zzz")}), Dictionary("d.vrk3", Numbered(0, 500))},
    };
    for (const std::vector<std::string>& library : libraries) {
        messages_->Clear();
        SetLibrary(library);
        auto doc = Search("w*");
        ASSERT_NE(doc, nullptr);
        EXPECT_EQ(doc->Results().m_nFound, 500);
        EXPECT_EQ(doc->Results().m_strEntry[499].substr(0, 4), "w499");
        EXPECT_EQ(messages_->Texts(), std::vector<QString>{texts::kTooManyFound.arg(500)});
    }
}

TEST_F(TSearchRunTest, FullBufferKeepsWhatFittedAndStops) {
    // 60 matches of about 1 000 bytes each overflow the 50 000-byte buffer.
    const std::string description(990, 'd');
    SetLibrary({Dictionary("a.vrk3", Numbered(0, 60, description)),
                Dictionary("b.vrk3", Numbered(100, 5))});
    auto doc = Search("w*");
    ASSERT_NE(doc, nullptr);
    const int found = doc->Results().m_nFound;
    EXPECT_GT(found, 40);
    EXPECT_LT(found, 60);
    EXPECT_EQ(
        doc->Results().m_strEntry[found - 1],
        Record(QString("w%1").arg(found - 1, 3, 10, QChar('0')).toStdString(), {description}));
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{vrk::texts::kTooManyFound.arg(found)});
}

// Without a scratch folder the search asks for one over its progress window:
// a folder gone before use asks again, Cancel ends the search (a progress
// window left open fails the fixture's watchdog), a usable one is kept.
TEST_F(TSearchRunTest, AMissingScratchFolderIsAskedForOverTheProgressWindow) {
    // None chosen, and the cache folder lies below a file.
    TRegKey user;
    ASSERT_EQ(TRegKey::Open(TRoot::kCurrentUser, kUserRootKey, TAccess::kFull, user),
              TRegResult::kOk);
    ASSERT_EQ(user.DeleteValue("BackupDir"), TRegResult::kOk);
    WriteWholeFile(folder_ + "/file", "");
    setenv("XDG_CACHE_HOME", (folder_ + "/file/cache").c_str(), 1);
    SetLibrary({Dictionary("a.vrk3", {Record("abc")})});
    const QString gone = QString::fromStdString(folder_ + "/izginil");
    const QString chosen = QString::fromStdString(folder_ + "/temp2");
    ASSERT_TRUE(QDir().mkpath(gone));
    std::vector<QString> answers = {gone, {}, chosen};  // the empty one cancels
    bool overProgress = true;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || modal->objectName() != "tempDirDlg" || answers.empty())
            return;
        overProgress = overProgress && modal->parentWidget() &&
                       modal->parentWidget()->objectName() == "progressDlg";
        const QString answer = answers.front();
        answers.erase(answers.begin());
        if (answer.isEmpty()) return modal->findChild<QPushButton*>("cancelButton")->click();
        modal->findChild<QLineEdit*>("directoryEdit")->setText(answer);
        modal->findChild<QPushButton*>("okButton")->click();
        QDir(gone).removeRecursively();
    });
    poll.start(10);
    EXPECT_EQ(Search("a*"), nullptr);
    EXPECT_EQ(answers.size(), 1u);
    EXPECT_TRUE(messages_->Texts().empty());
    auto found = Search("a*");
    EXPECT_TRUE(answers.empty());
    EXPECT_TRUE(overProgress);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->Results().m_nFound, 1);
    std::string dir;
    ASSERT_TRUE(TReadBackupDir(dir));
    EXPECT_EQ(dir, chosen.toStdString());
}

// The switches reach the search, the letter count and case as the
// pattern's two option characters; off, or stored as no number, "%" is a
// letter like any other.
TEST_F(TSearchRunTest, TheStoredSwitchesReachTheSearch) {
    SetLibrary({Dictionary("a.vrk3",
                           {Record("ab", {"reka"}), Record("Ab", {"reka"}), Record("abc", {"reka"}),
                            Record("ax", {"gora"}), Record("LJUBLJANICA", {"reka sedmih imen"}),
                            Record("POTICA", {"pecivo"}), Record("ROMAN"), Record("NORMA")})});
    const struct {
        std::int32_t count, matchCase, extended, anagram;
        QString clue, desc;
        std::vector<std::string> found;
        std::string pattern;
    } cases[] = {
        {1, 7, 0, 0, "a*", "reka", {"ab"}, "a*11"},
        {0, 0, 0, 1, "roman", "", {"ROMAN", "NORMA"}, "roman00"},
        {0, 0, 1, 0, "%ica", "reka", {"LJUBLJANICA"}, "%ica00"},
    };
    for (const auto& c : cases) {
        SetOption("CountLetters", c.count);
        SetOption("MatchCase", c.matchCase);
        SetOption(kExtendedPatternValue, c.extended);
        SetOption(kAnagramValue, c.anagram);
        auto doc = Search(c.clue, c.desc);
        ASSERT_NE(doc, nullptr);
        EXPECT_EQ(Words(*doc), c.found);
        EXPECT_EQ(doc->Run()->Job().m_strPattern, c.pattern);
    }
    SetOption(kExtendedPatternValue, 0);
    EXPECT_EQ(Search("%ica"), nullptr);
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{texts::kNothingFound});
    ASSERT_TRUE(TSetRegistryString(kFinderPath, kAnagramValue, "1", kRegOverwrite));
    auto doc = Search("rom");
    ASSERT_NE(doc, nullptr);
    EXPECT_FALSE(doc->Run()->Job().m_syntax.anagram);
}

// A malformed search is refused before it starts, the place counted from 1
// (which patterns are malformed is the engine's).
TEST_F(TSearchRunTest, AMalformedSearchIsRefusedBeforeItStarts) {
    SetOption(kExtendedPatternValue, 1);
    const struct {
        std::int32_t count;
        QString clue, desc, message;
    } cases[] = {
        {0, "ab[cd", "", texts::kPatternUnclosedSet.arg(3)},
        {1, "k%a", "", texts::kPatternRunWithCount.arg(2)},
        {0, "", "reka -", texts::kEmptySearchTerm.arg("-", "6")},
    };
    for (const auto& c : cases) {
        messages_->Clear();
        SetOption("CountLetters", c.count);
        auto doc = std::make_shared<CVrk3mpgDoc>();
        bar_.clue = c.clue;
        bar_.desc = c.desc;
        EXPECT_FALSE(doc->OnNewDocument(bar_));
        EXPECT_EQ(doc->Run(), nullptr);  // no worker was started
        ASSERT_EQ(messages_->Shown().size(), 1u);
        EXPECT_EQ(messages_->Shown()[0].text, c.message);
        EXPECT_EQ(messages_->Shown()[0].icon, TMsgIcon::kWarning);
    }
    EXPECT_TRUE(bar_.clueHistory.isEmpty());
    EXPECT_TRUE(bar_.descHistory.isEmpty());
}

using Vrk3AppTest = TUiTest;

// Without an install path the start ends with a message. A per-user store
// that cannot be used is named at start with its reason, and the first-start
// help does not open at each start it cannot record.
TEST_F(Vrk3AppTest, StartSaysWhatIsMissingOrUnusable) {
    CVrk3App::InitApplication();
    {
        CVrk3App app;
        EXPECT_FALSE(app.InitInstance(false));
        EXPECT_EQ(app.MainFrame(), nullptr);
    }
    ASSERT_EQ(messages_->Shown().size(), 1u);
    EXPECT_EQ(messages_->Shown()[0].text, texts::kInstallMissing);
    EXPECT_EQ(messages_->Shown()[0].icon, TMsgIcon::kError);
    messages_->Clear();
    ASSERT_TRUE(TSetRegistryString(kMachineRootPath, "InstallPath", "/opt/vrk3",
                                   kRegCreateKey | kRegOverwrite));
    std::string garbage;
    for (int i = 0; i < 300; ++i) garbage += "to ni baza nastavitev ";
    CloseSettingsStore();
    WriteWholeFile(dir_ + "/user.db", garbage);
    const QString expected = QStringLiteral(
        "Napaka pri branju knji\u017enice [k8]\n"
        "Datoteka z nastavitvami ni baza nastavitev tega programa.");
    for (int start = 0; start < 2; ++start) {
        CVrk3App::InitApplication();
        CVrk3App app;
        ASSERT_TRUE(app.InitInstance(false));
        QCoreApplication::processEvents();
        app.MainFrame()->close();
        CloseSettingsStore();  // the next start is a new process
    }
    EXPECT_TRUE(helpContexts_.empty());
    EXPECT_EQ(messages_->Texts(), (std::vector<QString>{expected, expected}));
    EXPECT_EQ(messages_->Shown()[0].icon, TMsgIcon::kNone);
    EXPECT_EQ(ReadWholeFile(dir_ + "/user.db"), garbage);
}

// A new user's first search finds the installed words (which library a
// first start makes: first_library_test).
TEST_F(TSearchRunTest, TheFirstSearchFindsTheInstalledWords) {
    const std::string install = folder_ + "/install";
    ASSERT_TRUE(TSetRegistryString(kMachineRootPath, "InstallPath", install,
                                   kRegCreateKey | kRegOverwrite));
    const std::string path = InstalledWordListPath(install);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    WriteDictionary(path, {"karta", "Kirka", "korma", "Krka", "karat"}, "Slovenske besede", "",
                    kFlagExportAllowed);
    CVrk3App::InitApplication();
    CVrk3App app;
    ASSERT_TRUE(app.InitInstance(false));
    CMainFrame* frame = app.MainFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(messages_->Texts().empty());
    EXPECT_EQ(frame->ActiveLibrary().Name(), kWordListLibrary);
    ASSERT_TRUE(ToggleSearchOption("CountLetters"));
    frame->SearchBar()->SetClueText("K*R*A");
    QMdiSubWindow* window = frame->RunSearch();
    ASSERT_NE(window, nullptr);
    // Kirka, karta, korma
    EXPECT_EQ(qobject_cast<CChildFrame*>(window)->View()->List()->topLevelItemCount(), 3);
    frame->close();
}

}  // namespace
}  // namespace vrk
