#include "finder/main_frame.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <functional>
#include <memory>

#include "finder/entry_commands.h"
#include "finder/entry_window.h"
#include "finder/fonts_dlg.h"
#include "finder/frame_focus.h"
#include "finder/main_frame_ids.h"
#include "finder/save_entry_dlg.h"
#include "finder/search_bar.h"
#include "finder/search_bar_library.h"
#include "finder/search_bar_options.h"
#include "finder/undo_list_wnd.h"
#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"
#include "settings/temp_dir.h"
#include "ui/commands.h"
#include "ui/font_record.h"
#include "ui/help.h"
#include "ui/test_ui.h"

namespace {

class MainFrameTest : public vrk::TUiTest {
  protected:
    void SetUp() override {
        TUiTest::SetUp();
        vrk::EnsureFinderKeys();
    }

    std::int32_t Number(std::string_view name) {
        std::int32_t value = -12345;
        (void)vrk::TGetRegistryNumber(vrk::kFinderPath, name, value);
        return value;
    }
    void SetNumber(std::string_view name, std::int32_t value) {
        ASSERT_TRUE(vrk::TSetRegistryNumber(vrk::kFinderPath, name, value, vrk::kRegOverwrite));
    }
    static bool Checked(CMainFrame& frame, int command) {
        frame.UpdateCommandStates();
        return frame.Commands()->Action(command)->isChecked();
    }
    static void ShowAndSettle(CMainFrame& frame) {
        frame.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
        QTest::qWait(20);
    }
};

// Values another version stored that mean nothing here take the first
// start's defaults: centred at 80 % of the screen, the entry window docked
// left.
TEST_F(MainFrameTest, FirstStartAndUnknownStoredValuesTakeDefaults) {
    SetNumber("FrameA", 4096);  // no side of ours
    SetNumber("EditV", 7);
    ASSERT_TRUE(vrk::TSetRegistryString(vrk::kFinderPath, "FrameW", "900", vrk::kRegOverwrite));
    const TFramePlacement placement = ReadFramePlacement(QRect(0, 0, 1024, 768));
    EXPECT_EQ(placement.frame, QRect(112, 104, 800, 560));  // (1024 / 100) * 80 = 800
    EXPECT_EQ(placement.entryMode, kEntryDocked);
    EXPECT_EQ(placement.align, kAlignLeft);

    CMainFrame frame(false);
    EXPECT_EQ(frame.dockWidgetArea(frame.EntryWindow()), Qt::LeftDockWidgetArea);
    EXPECT_TRUE(Checked(frame, id::kDockLeft));
    // Help opens on the first start only, once the frame shows.
    EXPECT_TRUE(helpContexts_.empty());
    ShowAndSettle(frame);
    EXPECT_EQ(helpContexts_, std::vector<int>({vrk::help::kFirstRun}));
    CMainFrame second(false);
    ShowAndSettle(second);
    EXPECT_EQ(helpContexts_.size(), 1u);
}

TEST_F(MainFrameTest, NormalPlacementIsStoredAndRestored) {
    {
        CMainFrame frame(false);
        ShowAndSettle(frame);
        frame.resize(700, 500);
        frame.move(40, 30);
        frame.close();
    }
    EXPECT_EQ(Number("FrameW"), 700);
    EXPECT_EQ(Number("FrameH"), 500);
    EXPECT_EQ(Number("FrameM"), kFrameNormal);
    EXPECT_EQ(Number("EditV"), kEntryDocked);
    EXPECT_EQ(Number("FrameA"), kAlignLeft);
    CMainFrame frame(false);
    EXPECT_EQ(frame.size(), QSize(700, 500));
    EXPECT_EQ(frame.pos(), QPoint(Number("FrameX"), Number("FrameY")));
}

// Floating, the entry window is a window of the main frame (kept in front
// of it); closed, it stays hidden at the next start until "Lebdeče" brings
// it back.
TEST_F(MainFrameTest, AClosedEntryWindowStaysHiddenUntilFloatBringsItBack) {
    CMainFrame frame(false);
    ShowAndSettle(frame);
    frame.FloatEntryWindow();
    EXPECT_TRUE(Checked(frame, id::kFloat));
    CEntryWindow* entry = frame.EntryWindow();
    ASSERT_NE(entry->windowHandle(), nullptr);
    EXPECT_EQ(entry->windowHandle()->transientParent(), frame.windowHandle());
    // Closed by its close box, it stays hidden at the next start.
    entry->close();
    EXPECT_FALSE(Checked(frame, id::kEntryWindow));
    frame.close();
    EXPECT_EQ(Number("EditV"), kEntryHidden);
    CMainFrame hidden(false);
    ShowAndSettle(hidden);
    EXPECT_EQ(hidden.EntryMode(), kEntryHidden);
    EXPECT_FALSE(hidden.EntryWindow()->isVisible());
    hidden.Commands()->Action(id::kFloat)->trigger();
    EXPECT_TRUE(hidden.EntryWindow()->isVisible());
}

TEST_F(MainFrameTest, DockingCommandsMoveTextAndCheckTheirSide) {
    CMainFrame frame(false);
    ShowAndSettle(frame);
    frame.FloatEntryWindow();
    QPlainTextEdit* editor = frame.EntryWindow()->Editor();
    editor->setPlainText(QStringLiteral("reka v Sloveniji"));

    frame.Commands()->Action(id::kDockBottom)->trigger();
    EXPECT_EQ(frame.EntryMode(), kEntryDocked);
    EXPECT_EQ(frame.dockWidgetArea(frame.EntryWindow()), Qt::BottomDockWidgetArea);
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("reka v Sloveniji"));
    EXPECT_TRUE(Checked(frame, id::kDockBottom));
    EXPECT_FALSE(Checked(frame, id::kFloat));
    // Dragged by its title to another side, as the user would: the menu and
    // the stored side follow.
    frame.addDockWidget(Qt::TopDockWidgetArea, frame.EntryWindow());
    EXPECT_TRUE(Checked(frame, id::kDockTop));
    EXPECT_FALSE(Checked(frame, id::kDockBottom));
    frame.close();
    EXPECT_EQ(Number("FrameA"), kAlignTop);
}

TEST_F(MainFrameTest, AStoredFontIsUsedAtTheNextStart) {
    QFont chosen = QApplication::font();
    chosen.setPointSize(17);
    chosen.setItalic(true);
    ASSERT_TRUE(vrk::WriteFontSetting(vrk::kFinderPath, "Font05", chosen));
    CMainFrame frame(false);
    EXPECT_TRUE(frame.SearchBar()->DescBox()->font().italic());
}

TEST_F(MainFrameTest, F1OpensSearchBarEntryWindowOrContents) {
    CMainFrame frame(false);
    EXPECT_EQ(frame.Focus().HelpContextFor(frame.EntryWindow()->NextButton()),
              vrk::help::kEntryWindow);
    EXPECT_EQ(frame.Focus().HelpContextFor(frame.MdiArea()), vrk::help::kContents);

    // F1 itself, with the focus in the known-letters box.
    ShowAndSettle(frame);
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    frame.SearchBar()->ClueBox()->setFocus();
    helpContexts_.clear();
    QTest::keyClick(frame.SearchBar()->ClueBox()->lineEdit(), Qt::Key_F1);
    EXPECT_EQ(helpContexts_, std::vector<int>({vrk::help::kSearchBar}));

    frame.Commands()->Action(id::kGuide)->trigger();
    EXPECT_EQ(helpContexts_, std::vector<int>({vrk::help::kSearchBar, vrk::help::kGuide}));
}

TEST_F(MainFrameTest, CloseAllClosesEveryResultWindow) {
    CMainFrame frame(false);
    ShowAndSettle(frame);
    for (int i = 0; i < 3; ++i) {
        QMdiSubWindow* window = frame.MdiArea()->addSubWindow(new QWidget);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
    }
    frame.Commands()->Action(id::kCloseAll)->trigger();
    EXPECT_TRUE(frame.MdiArea()->subWindowList().isEmpty());
}

// The finder's menus and own dialogs are used by keys alone: each menu
// item has a letter of its own, the dialogs' labels name their controls
// with a letter each, their own buttons have letters, Enter has a default
// button (Escape cancels).
TEST_F(MainFrameTest, EveryMenuAndDialogCanBeUsedByKeys) {
    ASSERT_TRUE(vrk::TWriteBackupDir(dir_));
    CMainFrame frame(false);
    EXPECT_EQ(vrk::MnemonicFaults(frame.menuBar()).join('\n').toStdString(), "");
    const std::function<QDialog*()> dialogs[] = {
        [] { return new CSaveEntryDlg(QStringLiteral("Sava")); },
        [] { return new CFontsDlg; },
    };
    for (const auto& make : dialogs)
        vrk::ExpectFilledInByKeys(std::unique_ptr<QDialog>(make()).get());
}

struct TFinderWindowCase {
    const char* what;
    std::function<std::unique_ptr<QWidget>(CMainFrame&)> make;
    bool fitsOnOpening = false;
};

// The finder's windows laid out for a small screen and a large scale
// factor: within kSmallScreen when they open and at their smallest, every
// text whole.
TEST_F(MainFrameTest, WindowsFitASmallScreenWithTheirTextsWhole) {
    const TFinderWindowCase cases[] = {
        {"main frame", [](CMainFrame&) { return std::make_unique<CMainFrame>(false); }, true},
        {"fonts", [](CMainFrame& frame) { return std::make_unique<CFontsDlg>(&frame); }},
        {"save entry",
         [](CMainFrame& frame) {
             return std::make_unique<CSaveEntryDlg>(QStringLiteral("Neimenovano Geslo"), &frame);
         }},
        {"search options",
         [](CMainFrame& frame) { return std::make_unique<CSearchOptionsDlg>(&frame); }},
        {"active library",
         [](CMainFrame& frame) {
             return std::make_unique<CActiveLibraryDlg>(frame.ActiveLibrary(), &frame);
         }},
        {"undo list",
         [](CMainFrame& frame) {
             auto list = std::make_unique<CUndoListWnd>(&frame);
             list->SetSteps({QStringLiteral("Shranjevanje gesla 'AFRODITA'"),
                             QStringLiteral("Brisanje gesla 'AJDOVŠČINA'")});
             return list;
         }},
    };
    CMainFrame frame(false);
    frame.show();
    for (const TFinderWindowCase& window : cases)
        vrk::ExpectLaidOut(window.make(frame).get(), window.what, window.fitsOnOpening);
}

}  // namespace
