// Result windows as a user meets them in the main frame: where new ones
// open, a second window on one search ("Novo Okno"), the frame's title
// while one is maximised, the window fonts ("Pisave...") and how much of the
// list a stored pane height leaves.
#include <QAction>
#include <QComboBox>
#include <QFontDialog>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <functional>
#include <optional>

#include "finder/child_frame.h"
#include "finder/entry_window.h"
#include "finder/fonts_dlg.h"
#include "finder/main_frame.h"
#include "finder/main_frame_ids.h"
#include "finder/search_bar.h"
#include "finder/search_test_util.h"
#include "finder/vrk3mpg_view.h"
#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"
#include "ui/commands.h"
#include "ui/font_record.h"

namespace vrk {
namespace {

class TResultWindowsTest : public TSearchTest {
  protected:
    // A search over one dictionary of `count` words.
    std::shared_ptr<CVrk3mpgDoc> SearchWords(int count) {
        std::vector<std::string> entries;
        for (int i = 0; i < count; ++i) entries.push_back(Entry("beseda" + std::to_string(i)));
        SetLibrary({MakeDictionary("w.vrk3", "Besede", entries)});
        return Search(QStringLiteral("b*"));
    }

    // A shown main frame whose active library holds three rivers and a mountain.
    void OpenFrame() {
        frame_ = std::make_unique<CMainFrame>(false);
        MakeLibrary("Reke", {MakeDictionary("a.vrk3", "Slovar",
                                            {Entry("Sava", {"reka"}), Entry("Soča", {"reka"}),
                                             Entry("Krka", {"reka"}), Entry("Krn", {"gora"})})});
        ASSERT_TRUE(frame_->ActiveLibrary().Select("Reke"));
        frame_->resize(1000, 700);
        frame_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame_.get()));
    }
    void TearDown() override {
        frame_.reset();
        TSearchTest::TearDown();
    }
    CChildFrame* SearchFor(const QString& clue) {
        frame_->SearchBar()->SetClueText(clue);
        return qobject_cast<CChildFrame*>(frame_->RunSearch());
    }
    static QStringList Words(const CVrk3mpgView* view) {
        QStringList words;
        for (int row = 0; row < view->List()->topLevelItemCount(); ++row)
            words << view->List()->topLevelItem(row)->text(CVrk3mpgView::kColWord);
        return words;
    }
    // Runs "Pisave..."; `action` handles the fonts dialog.
    void ChooseFonts(std::function<void(CFontsDlg*)> action) {
        WhenModal([action = std::move(action)](QWidget* modal) {
            auto* dialog = qobject_cast<CFontsDlg*>(modal);
            ASSERT_NE(dialog, nullptr);
            action(dialog);
        });
        frame_->Commands()->Action(id::kFonts)->trigger();
    }
    // In the fonts dialog: chooses entry `entry` and answers "Spremeni..."
    // with `font`, or cancels Qt's font dialog when `font` is empty.
    static void ChangeFontOf(CFontsDlg* dialog, int entry, std::optional<QFont> font) {
        Child<QComboBox>(dialog, "fontWindowList")->setCurrentIndex(entry);
        WhenModal([font](QWidget* modal) {
            auto* fonts = qobject_cast<QFontDialog*>(modal);
            ASSERT_NE(fonts, nullptr);
            if (!font) return fonts->reject();
            fonts->setCurrentFont(*font);
            fonts->accept();
        });
        Child<QPushButton>(dialog, "changeFontButton")->click();
    }
    static TFontValue StoredFont(int slot) {
        TFontValue value{};
        EXPECT_TRUE(TGetRegistryFont(kFinderPath, "Font0" + std::to_string(slot), value));
        return value;
    }

    std::unique_ptr<CMainFrame> frame_;
};

TEST_F(TResultWindowsTest, NewWindowsOpenInACascade) {
    OpenFrame();
    CChildFrame* first = SearchFor("S*");
    CChildFrame* second = SearchFor("K*");
    CChildFrame* third = SearchFor("*");
    ASSERT_TRUE(first && second && third);
    const int step = first->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, first);
    EXPECT_GT(step, 0);
    EXPECT_EQ(first->pos(), QPoint(0, 0));
    EXPECT_EQ(second->pos(), first->pos() + QPoint(step, step));
    EXPECT_EQ(third->pos(), second->pos() + QPoint(step, step));
}

// At twice the scale the frame of a 1600 x 1000 screen is 640 x 400, and its
// window area beside the entry window narrower than the remembered 400 x 200:
// new result windows open within the area, their title bar's buttons shown.
TEST_F(TResultWindowsTest, NewWindowsFitASmallWindowArea) {
    for (const char* name : {"ChildW", "ChildH"})
        ASSERT_TRUE(TSetRegistryNumber(kFinderPath, name, name[5] == 'W' ? 400 : 200,
                                       kRegCreateKey | kRegOverwrite));
    OpenFrame();
    frame_->resize(640, 400);
    QTest::qWait(20);
    const QRect room(QPoint(), frame_->MdiArea()->viewport()->size());
    ASSERT_LT(room.width(), 400);
    for (const char* clue : {"S*", "K*"}) {
        CChildFrame* window = SearchFor(QString::fromLatin1(clue));
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(room.contains(window->geometry()))
            << clue << " " << window->width() << " in " << room.width();
    }
    // The remembered size stays for a larger area.
    EXPECT_EQ(CChildFrame::StoredSize(), QSize(400, 200));
}

// The frame's title is the active result window's title once, maximised or
// not, followed by the program's name.
TEST_F(TResultWindowsTest, MaximisedWindowTitleShowsOnce) {
    OpenFrame();
    CChildFrame* window = SearchFor("S*");
    ASSERT_NE(window, nullptr);
    const QString title = QStringLiteral("Iskanje \"S*\" (2 zadetka) — Verbatrakon III");
    EXPECT_EQ(frame_->windowTitle().toStdString(), title.toStdString());
    window->showMaximized();
    QTest::qWait(20);
    EXPECT_EQ(frame_->windowTitle().toStdString(), title.toStdString());
    CChildFrame* second = SearchFor("K*");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(frame_->windowTitle(),
              QStringLiteral("Iskanje \"K*\" (2 zadetka) — Verbatrakon III"));
    second->showNormal();
    frame_->MdiArea()->setActiveSubWindow(window);
    EXPECT_EQ(frame_->windowTitle().toStdString(), title.toStdString());
}

// "Novo Okno" shows the rows of the active window as they stand, marks and
// removals included; afterwards each window sorts on its own.
TEST_F(TResultWindowsTest, NewWindowShowsTheSameRowsAndSortsOnItsOwn) {
    OpenFrame();
    QAction* newWindow = frame_->Commands()->Action(id::kNewWindow);
    frame_->UpdateCommandStates();
    EXPECT_FALSE(newWindow->isEnabled());
    CChildFrame* first = SearchFor("*");
    ASSERT_NE(first, nullptr);
    CVrk3mpgView* view = first->View();
    view->List()->setCurrentItem(view->List()->topLevelItem(0));
    view->ToggleMark();
    view->List()->setCurrentItem(view->List()->topLevelItem(3));
    view->RemoveSelected();
    view->SortBy(1);
    frame_->UpdateCommandStates();
    ASSERT_TRUE(newWindow->isEnabled());
    newWindow->trigger();

    auto* second = qobject_cast<CChildFrame*>(frame_->MdiArea()->currentSubWindow());
    ASSERT_NE(second, nullptr);
    ASSERT_NE(second, first);
    CVrk3mpgView* copy = second->View();
    EXPECT_EQ(second->windowTitle(), first->windowTitle());
    EXPECT_EQ(&copy->Document(), &view->Document());
    EXPECT_EQ(copy->SortMode(), 0);
    QStringList words = Words(view);
    QStringList copied = Words(copy);
    words.sort();
    copied.sort();
    EXPECT_EQ(copied, words);
    EXPECT_EQ(copied.size(), 3);
    for (int row = 0; row < copy->List()->topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = copy->List()->topLevelItem(row);
        const QList<QTreeWidgetItem*> same = view->List()->findItems(
            item->text(CVrk3mpgView::kColWord), Qt::MatchExactly, CVrk3mpgView::kColWord);
        ASSERT_EQ(same.size(), 1);
        for (int column = 0; column < CVrk3mpgView::kColumnCount; ++column)
            EXPECT_EQ(item->text(column), same[0]->text(column));
    }

    copy->OnHeadingClicked(0);
    EXPECT_EQ(copy->SortMode(), 1);
    EXPECT_EQ(view->SortMode(), 1);
    view->OnHeadingClicked(0);
    EXPECT_EQ(view->SortMode(), 0);
    EXPECT_EQ(copy->SortMode(), 1);
}

// A font chosen for "Najdena gesla" reaches the lists of both open result
// windows at once and of a window opened later, and is stored; one chosen
// for the descriptions' editor reaches the entry window.
TEST_F(TResultWindowsTest, FontOfFoundWordsReachesEveryResultWindow) {
    OpenFrame();
    CChildFrame* first = SearchFor("S*");
    CChildFrame* second = SearchFor("K*");
    ASSERT_TRUE(first && second);
    QFont chosen = first->View()->List()->font();
    chosen.setPixelSize(21);
    chosen.setItalic(true);
    QFont editorFont = chosen;
    editorFont.setItalic(false);
    editorFont.setPixelSize(19);
    ChooseFonts([&](CFontsDlg* dialog) {
        ChangeFontOf(dialog, 1, chosen);
        ChangeFontOf(dialog, 0, editorFont);
        Child<QPushButton>(dialog, "okButton")->click();
    });
    EXPECT_EQ(frame_->EntryWindow()->Editor()->font().pixelSize(), 19);
    for (CChildFrame* window : {first, second, SearchFor("*")}) {
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->View()->List()->font().pixelSize(), 21);
        EXPECT_TRUE(window->View()->List()->font().italic());
    }
    EXPECT_EQ(DecodeFontRecord(StoredFont(2)), RecordFromFont(chosen));
}

// Cancelling the fonts dialog, after a change, or Qt's font dialog, changes
// nothing in the store or on screen; confirming an unchanged dialog writes
// every record back byte for byte, one whose face is not installed included.
TEST_F(TResultWindowsTest, CancelledOrUnchangedFontsChangeNothing) {
    TFontRecord foreign;
    foreign.height = -15;
    foreign.width = 6;
    foreign.weight = 700;
    foreign.charSet = kEastEuropeCharSet;
    foreign.outPrecision = 3;
    foreign.quality = 1;
    foreign.pitchAndFamily = 49;
    foreign.SetFaceName("Arial CE");
    ASSERT_TRUE(TSetRegistryFont(kFinderPath, "Font02", EncodeFontRecord(foreign)));
    OpenFrame();
    CChildFrame* window = SearchFor("S*");
    ASSERT_NE(window, nullptr);
    std::vector<TFontValue> stored;
    for (int slot = 1; slot <= 7; ++slot) stored.push_back(StoredFont(slot));
    const QFont listFont = window->View()->List()->font();
    const QFont clueFont = frame_->SearchBar()->ClueBox()->font();
    QFont other = listFont;
    other.setPixelSize(25);

    ChooseFonts([&](CFontsDlg* dialog) {
        ChangeFontOf(dialog, 1, other);
        ChangeFontOf(dialog, 3, other);
        Child<QPushButton>(dialog, "cancelButton")->click();
    });
    ChooseFonts([&](CFontsDlg* dialog) {
        ChangeFontOf(dialog, 1, std::nullopt);
        Child<QPushButton>(dialog, "okButton")->click();
    });
    for (int slot = 1; slot <= 7; ++slot) EXPECT_EQ(StoredFont(slot), stored[slot - 1]) << slot;
    EXPECT_EQ(StoredFont(2), EncodeFontRecord(foreign));
    EXPECT_EQ(window->View()->List()->font(), listFont);
    EXPECT_EQ(frame_->SearchBar()->ClueBox()->font(), clueFont);
}

// A pane height kept from a large window leaves a normal one a list of a
// few rows; a height that fits is taken as it was stored.
TEST_F(TResultWindowsTest, AStoredPaneHeightLeavesTheListAFewRows) {
    auto doc = SearchWords(20);
    ASSERT_NE(doc, nullptr);
    for (const int stored : {2000, 100}) {
        ASSERT_TRUE(
            TSetRegistryNumber(kFinderPath, "ChildL", stored, kRegCreateKey | kRegOverwrite));
        QWidget window;
        auto* view = new CVrk3mpgView(doc);
        auto* layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(view);
        window.resize(420, 320);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        const int row = view->List()->sizeHintForRow(0);
        if (stored == 2000) {
            EXPECT_GE(view->List()->viewport()->height(), 4 * row);
        } else {
            EXPECT_EQ(view->Pane()->height(), 100);
        }
    }
}

}  // namespace
}  // namespace vrk
