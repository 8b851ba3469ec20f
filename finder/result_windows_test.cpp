// The Search command and the result windows as a user meets them in the
// main frame: one window per search, where new ones open, a second window on one search ("Novo
// Okno"), the frame's title while one is maximised, the window fonts ("Pisave...") and how much of
// the list a stored pane height leaves.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFontDialog>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
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
#include "finder/finder_test_util.h"
#include "finder/finder_texts.h"
#include "finder/fonts_dlg.h"
#include "finder/main_frame.h"
#include "finder/main_frame_ids.h"
#include "finder/result_area.h"
#include "finder/search_bar.h"
#include "finder/vrk3mpg_view.h"
#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"
#include "store/data_file.h"
#include "store/format.h"
#include "ui/commands.h"
#include "ui/font_record.h"

namespace vrk {
namespace {

class TResultWindowsTest : public TFrameTest {
  protected:
    // A search over one dictionary of `count` words.
    std::shared_ptr<CVrk3mpgDoc> SearchWords(int count) {
        std::vector<std::string> entries;
        for (int i = 0; i < count; ++i) entries.push_back(Record("beseda" + std::to_string(i)));
        SetLibrary({MakeDictionary("w.vrk3", "Besede", entries)});
        return Search(QStringLiteral("b*"));
    }
    // The frame shown, its active library holding three rivers and a mountain.
    void OpenFrame() {
        ActiveLibraryOf({Record("Sava", {"reka"}), Record("Soča", {"reka"}),
                         Record("Krka", {"reka"}), Record("Krn", {"gora"})});
        frame_->resize(1000, 700);
        frame_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame_.get()));
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

    // A key pressed where the keyboard is: on the widget with the focus.
    static void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, Qt::Key(key), modifiers);
    }
    static void TypeHere(const QString& text) {
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        TypeText(QApplication::focusWidget(), text);
    }
    // Whether `widget` has the focus, once the frame is active again (the
    // search's progress window hands the activation back on its way out).
    static bool FocusIn(const QWidget* widget) {
        return QTest::qWaitFor([widget] {
            const QWidget* focus = QApplication::focusWidget();
            return focus && (focus == widget || widget->isAncestorOf(focus));
        });
    }
    // The descriptions `word` holds in the dictionary of OpenFrame.
    std::string Stored(std::string_view word) const {
        const std::string path = folder_ + "/a.vrk3";
        TDataFile dictionary(path, path + ".r", path + ".a", path + ".o");
        std::string record;
        for (std::int32_t i = 0; i < dictionary.GetEntryCount(); ++i)
            if (dictionary.GetEntry(i, record) && record.substr(0, record.find('\x01')) == word)
                return record.substr(std::min(record.size(), word.size() + 1));
        return "(none)";
    }
};

// Each search opens its own window, titled by what it found, in a cascade
// (that nothing typed or nothing found opens none: search_worker_test).
TEST_F(TResultWindowsTest, EachSearchOpensItsOwnTitledWindowInACascade) {
    OpenFrame();
    CChildFrame* first = SearchFor("S*");
    CChildFrame* second = SearchFor("", "gora");
    frame_->SearchBar()->SetClueText(QStringLiteral("K*"));
    frame_->SearchBar()->SetDescText({});
    frame_->Commands()->Action(id::kSearch)->trigger();
    auto* third = qobject_cast<CChildFrame*>(frame_->MdiArea()->activeSubWindow());
    ASSERT_TRUE(first && second && third);
    EXPECT_EQ(frame_->MdiArea()->subWindowList().size(), 3);
    EXPECT_EQ(first->windowTitle(), "Iskanje \"S*\" (2 zadetka)");
    EXPECT_EQ(second->windowTitle(), "Iskanje \"\" (1 zadetek)");
    EXPECT_EQ(third->windowTitle(), "Iskanje \"K*\" (2 zadetka)");
    EXPECT_EQ(first->View()->List()->topLevelItemCount(), 2);
    EXPECT_EQ(frame_->SearchBar()->ClueHistory().first(), "K*");
    EXPECT_EQ(frame_->SearchBar()->DescHistory().first(), "gora");
    const int step = first->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, first);
    EXPECT_GT(step, 0);
    EXPECT_EQ(first->pos(), QPoint(0, 0));
    EXPECT_EQ(second->pos(), first->pos() + QPoint(step, step));
    EXPECT_EQ(third->pos(), second->pos() + QPoint(step, step));
}

// As "?", "+è" would find descriptions holding "?", "-è" drop them: letters
// no dictionary can hold are refused by name, and nothing is searched.
TEST_F(TResultWindowsTest, LettersNoDictionaryCanHoldAreRefusedByName) {
    OpenFrame();
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
    EXPECT_NE(SearchFor("S*", "+reka -žaba"), nullptr);
    // A library without dictionaries searches nothing; the frame, destroyed
    // with a result window shown, ends cleanly.
    MakeLibrary("Prazna", {});
    ASSERT_TRUE(frame_->ActiveLibrary().Select("Prazna"));
    EXPECT_EQ(SearchFor("S*"), nullptr);
    EXPECT_EQ(frame_->MdiArea()->subWindowList().size(), 1);
    frame_.reset();
}

// The window area lists the views of its open result windows oldest first,
// at most the first 1000; a closed one leaves the list.
TEST_F(TResultWindowsTest, TheAreaListsItsOpenResultViewsUpToTheLimit) {
    CResultArea area;
    const auto doc = std::make_shared<CVrk3mpgDoc>();
    QList<CVrk3mpgView*> opened;
    for (int i = 0; i <= CResultArea::kMaxResultViews; ++i) {
        opened.append(new CVrk3mpgView(doc));
        (void)area.AddView(opened.back());
    }
    EXPECT_EQ(area.ResultViews(), opened.first(CResultArea::kMaxResultViews));
    delete area.subWindowList(QMdiArea::CreationOrder).first();
    EXPECT_EQ(area.ResultViews(), opened.sliced(1));
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
    ASSERT_EQ(copy->List()->topLevelItemCount(), 3);
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

// Confirming the fonts dialog after Qt's font dialog was cancelled writes
// every record back byte for byte, one whose face is not installed included,
// and changes nothing on screen (the dialog's Cancel: fonts_dlg_test).
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

// A solver's round by keys alone: the letters, Tab, a word of the clue,
// Enter to search, Enter to open the first word found, its description
// typed and saved with Ctrl+S, the save undone with Ctrl+Z.
TEST_F(TResultWindowsTest, AWordIsFoundOpenedEditedAndSavedByKeysAlone) {
    OpenFrame();
    {
        const std::string path = folder_ + "/a.vrk3";
        TDataFile dictionary(path, path + ".r", path + ".a", path + ".o");
        ASSERT_TRUE(dictionary.SetInfo("Slovar", "", "", "", kFlagChangesAllowed));
    }
    frame_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame_.get()));
    ASSERT_TRUE(FocusIn(frame_->SearchBar()->ClueBox()));
    TypeHere(QStringLiteral("S*"));
    Press(Qt::Key_Tab);
    ASSERT_TRUE(FocusIn(frame_->SearchBar()->DescBox()));
    TypeHere(QStringLiteral("reka"));
    Press(Qt::Key_Return);

    ASSERT_EQ(frame_->MdiArea()->subWindowList().size(), 1);
    CVrk3mpgView* view =
        qobject_cast<CChildFrame*>(frame_->MdiArea()->subWindowList().first())->View();
    ASSERT_TRUE(FocusIn(view->List()));
    EXPECT_EQ(view->SelectedRow(), 0);
    EXPECT_EQ(view->Pane()->count(), 1);  // the first word's description, at once
    Press(Qt::Key_Return);
    EXPECT_EQ(frame_->Editor().State().m_strWord, QStringLiteral("Sava"));
    ASSERT_TRUE(FocusIn(frame_->EntryWindow()->Editor()));

    TypeHere(QStringLiteral("velika "));
    Press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(Stored("Sava"), "velika reka");
    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Stored("Sava"), "reka");
    EXPECT_TRUE(messages_->Texts().empty());
}

// F6 goes round the search bar, the active result window's list and the
// entry editor (Shift+F6 back); Ctrl+Tab goes through the result windows.
TEST_F(TResultWindowsTest, F6GoesRoundThePartsAndCtrlTabThroughTheResultWindows) {
    OpenFrame();
    frame_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame_.get()));
    CChildFrame* first = SearchFor("S*");
    CChildFrame* second = SearchFor("K*");
    ASSERT_TRUE(first && second);
    ASSERT_TRUE(FocusIn(second->View()->List()));

    Press(Qt::Key_F6);
    EXPECT_TRUE(FocusIn(frame_->EntryWindow()->Editor()));
    Press(Qt::Key_F6);
    EXPECT_TRUE(FocusIn(frame_->SearchBar()->ClueBox()));
    Press(Qt::Key_F6);
    EXPECT_TRUE(FocusIn(second->View()->List()));
    Press(Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_TRUE(FocusIn(frame_->SearchBar()->ClueBox()));

    Press(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(frame_->MdiArea()->activeSubWindow(), first);
    EXPECT_TRUE(FocusIn(first->View()->List()));
    Press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(frame_->MdiArea()->activeSubWindow(), second);
    EXPECT_TRUE(FocusIn(second->View()->List()));
}

// Every command is chosen by letters: each item of the menus, and of the
// result list's pop-up menu (the Menu key), has one, and no two items of a
// menu share one.
TEST_F(TResultWindowsTest, EveryMenuItemHasALetterOfItsOwn) {
    OpenFrame();
    EXPECT_EQ(MnemonicFaults(frame_->menuBar()).join('\n').toStdString(), "");
    CChildFrame* window = SearchFor("S*");
    ASSERT_NE(window, nullptr);
    QTreeWidget* list = window->View()->List();
    ASSERT_TRUE(FocusIn(list));
    QStringList popupFaults{QStringLiteral("no pop-up")};
    WhenShown([] { return QApplication::activePopupWidget(); },
              [&popupFaults](QWidget* popup) {
                  popupFaults = MnemonicFaults(popup);
                  popup->close();
              },
              2000, "pop-up menu");
    // The Menu key (and Shift+F10) reach a window as a context-menu request
    // from the keyboard.
    QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(5, 5),
                              list->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(list, &request);
    EXPECT_TRUE(QTest::qWaitFor([] { return !QApplication::activePopupWidget(); }));
    EXPECT_EQ(popupFaults.join('\n').toStdString(), "");
}

}  // namespace
}  // namespace vrk
