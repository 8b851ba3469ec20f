// The Search command in the real main frame: result windows open in its
// window area, one per search, and opening a word reaches the entry window.
#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTreeWidget>

#include "finder/child_frame.h"
#include "finder/finder_texts.h"
#include "finder/main_frame.h"
#include "finder/main_frame_ids.h"
#include "finder/search_bar.h"
#include "finder/search_test_util.h"
#include "finder/vrk3mpg_view.h"
#include "ui/commands.h"
#include "ui/help.h"

namespace vrk {
namespace {

class TSearchCommandTest : public TSearchTest {
  protected:
    void SetUp() override {
        TSearchTest::SetUp();
        frame_ = std::make_unique<CMainFrame>(false);
        MakeLibrary("Reke", {MakeDictionary("a.vrk3", "Slovar",
                                            {Entry("Sava", {"reka"}), Entry("Soča", {"reka"}),
                                             Entry("Krka", {"reka"})})});
        ASSERT_TRUE(frame_->ActiveLibrary().Select("Reke"));
    }
    void TearDown() override {
        frame_.reset();
        TSearchTest::TearDown();
    }
    QMdiSubWindow* SearchFor(const QString& clue, const QString& desc = {}) {
        frame_->SearchBar()->SetClueText(clue);
        frame_->SearchBar()->SetDescText(desc);
        return frame_->RunSearch();
    }
    std::unique_ptr<CMainFrame> frame_;
};

TEST_F(TSearchCommandTest, EachSearchOpensItsOwnTitledWindow) {
    QMdiSubWindow* first = SearchFor("S*");
    QMdiSubWindow* second = SearchFor("", "reka");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(frame_->MdiArea()->subWindowList().size(), 2);
    EXPECT_EQ(first->windowTitle(), "Iskanje \"S*\" (2 zadetka)");
    EXPECT_EQ(second->windowTitle(), "Iskanje \"\" (3 zadetki)");
    auto* view = qobject_cast<CChildFrame*>(first)->View();
    EXPECT_EQ(view->List()->topLevelItemCount(), 2);
    EXPECT_EQ(frame_->SearchBar()->ClueHistory().first(), "S*");
    EXPECT_EQ(frame_->SearchBar()->DescHistory().first(), "reka");
}

TEST_F(TSearchCommandTest, NothingFoundOrNothingTypedOpensNoWindow) {
    EXPECT_EQ(SearchFor(""), nullptr);
    EXPECT_TRUE(messages_->Texts().empty());
    EXPECT_EQ(SearchFor("Z*"), nullptr);
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{vrk::texts::kNothingFound});
    EXPECT_TRUE(frame_->MdiArea()->subWindowList().isEmpty());
}

TEST_F(TSearchCommandTest, LettersNoDictionaryCanHoldAreRefusedByName) {
    // As "?", "+è" would find descriptions holding "?", "-è" drop them.
    for (const auto& [clue, desc] :
         {std::pair<QString, QString>{"S*", "+è"}, {"", "-reka -è"}, {"Sè→", "+è"}}) {
        messages_->Clear();
        EXPECT_EQ(SearchFor(clue, desc), nullptr);
        ASSERT_EQ(messages_->Texts().size(), 1u);
        EXPECT_EQ(messages_->Texts()[0].count(QStringLiteral("„è“")), 1) << desc.toStdString();
    }
    EXPECT_TRUE(messages_->Texts()[0].contains(QStringLiteral("„→“")));
    EXPECT_EQ(messages_->Shown()[0].icon, TMsgIcon::kWarning);
    EXPECT_TRUE(frame_->SearchBar()->DescHistory().isEmpty());
    EXPECT_TRUE(frame_->MdiArea()->subWindowList().isEmpty());
    // Letters of the dictionaries' own set search as usual.
    EXPECT_NE(SearchFor("S*", "+reka -žaba"), nullptr);
}

TEST_F(TSearchCommandTest, TheCommandSearchesTheActiveLibraryOnlyWhenEnabled) {
    QAction* search = frame_->Commands()->Action(id::kSearch);
    frame_->SearchBar()->SetClueText(QStringLiteral("K*"));
    search->trigger();
    ASSERT_EQ(frame_->MdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(frame_->MdiArea()->subWindowList().first()->windowTitle(),
              "Iskanje \"K*\" (1 zadetek)");

    // A library without dictionaries leaves the command disabled.
    MakeLibrary("Prazna", {});
    ASSERT_TRUE(frame_->ActiveLibrary().Select("Prazna"));
    EXPECT_EQ(SearchFor("S*"), nullptr);
    EXPECT_EQ(frame_->MdiArea()->subWindowList().size(), 1);
    EXPECT_TRUE(messages_->Texts().empty());
}

TEST_F(TSearchCommandTest, OpeningAWordLoadsItIntoTheEntryWindow) {
    QMdiSubWindow* window = SearchFor("K*");
    ASSERT_NE(window, nullptr);
    auto* view = qobject_cast<CChildFrame*>(window)->View();
    view->List()->setCurrentItem(view->List()->topLevelItem(0));
    view->OpenSelected();
    EXPECT_EQ(frame_->Editor().State().m_strDataFile, QString::fromStdString(folder_ + "/a.vrk3"));
    EXPECT_EQ(frame_->Editor().State().m_nClueIndex, 2);
    EXPECT_EQ(frame_->Editor().State().m_strWord, QStringLiteral("Krka"));
}

TEST_F(TSearchCommandTest, AFrameDestroyedWhileShownWithAResultWindowEndsCleanly) {
    frame_->show();
    ASSERT_NE(SearchFor("K*"), nullptr);
    frame_.reset();  // hides the result window on the way
}

}  // namespace
}  // namespace vrk
