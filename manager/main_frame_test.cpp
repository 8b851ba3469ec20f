// The manager's start-up, window layout, status panes and the layout of
// its dialogs.
#include "manager/main_frame.h"

#include <QAction>
#include <QFontDialog>
#include <QFrame>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>
#include <functional>
#include <memory>

#include "manager/dict_data_dlg.h"
#include "manager/export_file_dlg.h"
#include "manager/import_dlg.h"
#include "manager/manager_ids.h"
#include "manager/manager_test_util.h"
#include "manager/manager_texts.h"
#include "manager/new_dict_dlg.h"
#include "manager/password_dlg.h"
#include "manager/remap_letter_dlg.h"
#include "manager/security_dlg.h"
#include "manager/vrk3dbe_app.h"
#include "settings/first_library.h"
#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"
#include "store/data_file.h"
#include "ui/commands.h"
#include "ui/font_record.h"
#include "ui/help.h"

namespace vrk {
namespace {

class ManagerFrame : public TManagerTest {
  protected:
    std::int32_t Number(std::string_view name) {
        std::int32_t value = -12345;
        (void)TGetRegistryNumber(kManagerPath, name, value);
        return value;
    }
    void SetNumber(std::string_view name, std::int32_t value) {
        ASSERT_TRUE(TSetRegistryNumber(kManagerPath, name, value, kRegOverwrite));
    }
    // Presses the left button on the splitter bar and lets it go at view x.
    void DragSplitter(int releaseX) {
        CVrk3dbeView* view = View();
        const QPoint bar = view->SplitterBar()->geometry().center();
        QTest::mousePress(view, Qt::LeftButton, {}, bar);
        QTest::mouseMove(view, QPoint(releaseX, bar.y()));
        QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(releaseX, bar.y()));
    }
};

TEST_F(ManagerFrame, FirstStartMakesTheKeysOpensTheHelpAndCentresAnEmptyWindow) {
    ASSERT_EQ(UserKey("Software\\Tavro").DeleteSubTree("Verbatrakon III"), TRegResult::kOk);
    CVrk3dbeApp::InitApplication();
    EXPECT_EQ(SubKeys(kUserRootKey), (std::vector<std::string>{"Groups", "Editor", "Alphabet"}));
    CVrk3dbeApp app;
    ASSERT_TRUE(app.InitInstance(false));
    CMainFrame* frame = app.MainFrame();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !helpContexts_.empty(); }, 1000));
    EXPECT_EQ(helpContexts_, std::vector<int>{help::kFirstRun});
    std::int32_t run = 0;
    EXPECT_TRUE(TGetRegistryNumber(kUserRootPath, "Run", run));
    EXPECT_EQ(run, 1);

    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Verbatrakon III - Zasnovar"));
    // The window system appends an application display name to every title
    // that does not end with it, so none is set: dialogs keep their own
    // titles whole, and a box without a caption of its own carries the
    // program's name.
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
    ShowInformation(nullptr, QStringLiteral("x"));
    ASSERT_EQ(messages_->Shown().size(), 1u);
    EXPECT_EQ(messages_->Shown()[0].caption, QStringLiteral("Verbatrakon III - Zasnovar"));
    EXPECT_EQ(frame->size(), QSize(600, 400));
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(frame->pos(),
              QPoint(area.x() + area.width() / 2 - 300, area.y() + area.height() / 2 - 200));
    EXPECT_EQ(frame->View()->Tree()->topLevelItemCount(), 0);
    EXPECT_EQ(frame->View()->List()->topLevelItemCount(), 0);
    EXPECT_EQ(frame->DictionaryPane()->text(), QStringLiteral("Št. Slovarjev"));
    EXPECT_FALSE(frame->DictionaryPane()->isEnabled());
    EXPECT_EQ(frame->EntryPane()->text(), QStringLiteral("Št. Gesel"));

    // With no library only a new one can be made: a new or imported
    // dictionary would belong to no library.
    frame->UpdateCommandStates();
    auto enabled = [&](int command) { return FindCommand(frame, command)->isEnabled(); };
    EXPECT_TRUE(enabled(id::kNewLibrary));
    for (int command :
         {id::kNewSubLibrary, id::kRenameLibrary, id::kRemoveLibrary, id::kAddDictionary,
          id::kRemoveDictionary, id::kNewDictionary, id::kImport, id::kExport, id::kSecurity})
        EXPECT_FALSE(enabled(command)) << command;
    EXPECT_EQ(FindCommand(frame, id::kNewDictionary)->text(), QStringLiteral("&Nov..."));
    frame->close();

    // A second start of either program opens no help.
    CMainFrame second(false);
    second.show();
    QTest::qWait(20);
    EXPECT_EQ(helpContexts_.size(), 1u);
}

// A new user's first start: the installed Slovene words are a library of
// their own, listed at once (what the library holds, and in which order, is
// the settings store's rule: settings/first_library_test.cpp).
TEST_F(ManagerFrame, AFirstStartListsTheLibraryOfTheInstalledWords) {
    // The install folder is the test folder (TManagerTest); "Run" is unset
    // as before any start.
    ASSERT_EQ(UserKey(kUserRootKey).DeleteValue("Run"), TRegResult::kOk);
    const std::string words = InstalledWordListPath(dir_);
    std::filesystem::create_directories(std::filesystem::path(words).parent_path());
    ASSERT_TRUE(CreateEmpty(words));
    TDataFile dictionary(words, dir_ + "/temp/t1", dir_ + "/temp/t2", dir_ + "/temp/t3");
    ASSERT_TRUE(dictionary.SetInfo("Slovenske besede", "Avtorji", "", "", kFlagExportAllowed));

    CVrk3dbeApp::InitApplication();
    CVrk3dbeApp app;
    ASSERT_TRUE(app.InitInstance(false));
    CMainFrame* frame = app.MainFrame();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame));
    QTreeWidget* list = frame->View()->List();
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->topLevelItemCount() > 0; }, 2000));
    ASSERT_EQ(frame->View()->Tree()->topLevelItemCount(), 1);
    EXPECT_EQ(frame->View()->Tree()->topLevelItem(0)->text(0), QStringLiteral("Slovenske besede"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->topLevelItemCount() == 2; }, 2000));
    QStringList names;
    for (int i = 0; i < list->topLevelItemCount(); ++i) names << list->topLevelItem(i)->text(0);
    names.sort();
    EXPECT_EQ(names, QStringList({"Moje besede", "Slovenske besede"}));
    frame->close();
}

TEST_F(ManagerFrame, WithoutAnInstallPathTheProgramSaysSoAndEnds) {
    TRegKey machine;
    ASSERT_EQ(TRegKey::Open(TRoot::kLocalMachine, kMachineRootKey, TAccess::kFull, machine),
              TRegResult::kOk);
    ASSERT_EQ(machine.DeleteValue("InstallPath"), TRegResult::kOk);
    CVrk3dbeApp app;
    EXPECT_FALSE(app.InitInstance(false));
    ASSERT_EQ(messages_->Shown().size(), 1u);
    EXPECT_EQ(messages_->Shown()[0].text, texts::kInstallMissing);
    EXPECT_EQ(messages_->Shown()[0].icon, TMsgIcon::kError);
    EXPECT_EQ(app.MainFrame(), nullptr);
}

TEST_F(ManagerFrame, SizeColumnsAndMaximizedStateComeBack) {
    frame_ = StartFrame();
    frame_->resize(700, 500);
    View()->List()->header()->resizeSection(2, 90);
    frame_->close();
    EXPECT_EQ(Number("Width"), 700);
    EXPECT_EQ(Number("Height"), 500);
    EXPECT_EQ(Number("ListColumnWidth2"), 90);
    EXPECT_EQ(Number("Style"), 0);

    frame_ = StartFrame();
    EXPECT_EQ(frame_->size(), QSize(700, 500));
    EXPECT_EQ(View()->ColumnWidths()[2], 90);
    frame_->showMaximized();
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame_->isMaximized(); }, 1000));
    View()->List()->header()->resizeSection(2, 120);  // not kept while maximized
    QTest::qWait(400);
    frame_->close();
    EXPECT_EQ(Number("Style"), 1);
    EXPECT_EQ(Number("Width"), 700);  // the last normal size
    EXPECT_EQ(Number("ListColumnWidth2"), 90);

    frame_ = StartFrame();
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame_->isMaximized(); }, 1000));
}

// A size kept at scale 1 and restored at twice the scale (or on a smaller
// monitor) comes back within the screen, title bar included.
TEST_F(ManagerFrame, AWindowLargerThanTheScreenComesBackWithinIt) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    SetNumber("Width", area.width() * 2);
    SetNumber("Height", area.height() + 100);
    frame_ = StartFrame();
    EXPECT_TRUE(area.contains(QRect(frame_->pos(), frame_->size())))
        << frame_->width() << " x " << frame_->height();
}

TEST_F(ManagerFrame, SplitterIsStoredOnReleaseAndAlwaysStaysInTheView) {
    frame_ = StartFrame();
    DragSplitter(300);
    EXPECT_EQ(View()->Tree()->width(), 298);
    EXPECT_EQ(Number("TreeWidth"), 298);  // at once, not when the window closes
    EXPECT_EQ(View()->List()->x(), 303);

    // Let go left of the view or past its right edge: the bar stays whole inside.
    DragSplitter(-40);
    EXPECT_EQ(Number("TreeWidth"), 0);
    EXPECT_EQ(View()->SplitterBar()->x(), 0);
    DragSplitter(View()->width() + 50);
    EXPECT_EQ(Number("TreeWidth"), View()->width() - 5);
    EXPECT_EQ(View()->SplitterBar()->geometry().right(), View()->width() - 1);
    frame_->close();

    // A negative width stored by an older version shows the bar at the left edge.
    SetNumber("TreeWidth", -80);
    frame_ = StartFrame();
    EXPECT_EQ(View()->SplitterBar()->x(), 0);
    EXPECT_EQ(View()->Tree()->width(), 0);
}

TEST_F(ManagerFrame, PaintingWritesNothingAndChangesAreWrittenSoonAfter) {
    frame_ = StartFrame();
    QTest::qWait(400);
    SetNumber("TreeWidth", 123);
    SetNumber("Width", 321);
    for (int i = 0; i < 3; ++i) {
        frame_->repaint();
        View()->repaint();
        QTest::qWait(20);
    }
    QTest::qWait(400);
    EXPECT_EQ(Number("TreeWidth"), 123);
    EXPECT_EQ(Number("Width"), 321);
    frame_->resize(640, 420);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Number("Width") == 640; }, 2000));
    EXPECT_EQ(Number("Height"), 420);
}

TEST_F(ManagerFrame, StatusPanesCountTheSelectionByTheNumberItself) {
    MakeLibrary("Knj",
                {MakeDictionary("a.vrk3", "A", "x", 0), MakeDictionary("b.vrk3", "B", "x", 1),
                 MakeDictionary("c.vrk3", "C", "x", 1), MakeDictionary("d.vrk3", "D", "x", 2),
                 MakeDictionary("e.vrk3", "E", "x", 3)});
    frame_ = StartFrame();
    ASSERT_EQ(ListNames(), QStringList({"A", "B", "C", "D", "E"}));
    // Each pane is a space followed by the number's own text.
    EXPECT_FALSE(frame_->DictionaryPane()->isEnabled());
    const char* const shown[][2] = {{"    1 slovar", "      0 gesel"},
                                    {"    2 slovarja", "      1 geslo"},
                                    {"   3 slovarji", "      2 gesli"},
                                    {"   4 slovarji", "      4 gesla"},
                                    {"   5 slovarjev", "      7 gesel"}};
    QStringList rows;
    for (const auto& [dictionaries, entries] : shown) {
        rows << QString(QChar(static_cast<char16_t>(u'A' + rows.size())));
        SelectRows(rows);
        EXPECT_TRUE(frame_->DictionaryPane()->isEnabled());
        EXPECT_EQ(frame_->DictionaryPane()->text(), " " + QString::fromUtf8(dictionaries));
        EXPECT_EQ(frame_->EntryPane()->text(), " " + QString::fromUtf8(entries));
    }
    // The form follows the number itself, not its last digits.
    EXPECT_EQ(texts::DictionaryCountText(101), QStringLiteral("  101 slovarjev"));
    EXPECT_EQ(texts::DictionaryCountText(22), QStringLiteral("   22 slovarjev"));
    EXPECT_EQ(texts::EntryCountText(102), QStringLiteral("     102 gesel"));
    EXPECT_EQ(texts::EntryCountText(3), QStringLiteral("       3 gesla"));
}

TEST_F(ManagerFrame, TheChosenFontIsShownAndKept) {
    frame_ = StartFrame();
    const QFont chosen(QStringLiteral("DejaVu Serif"), 15);
    WhenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFontDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->setCurrentFont(chosen);
        dialog->accept();
    });
    frame_->Commands()->Action(id::kFont)->trigger();
    const QFont shown = View()->Tree()->font();
    EXPECT_EQ(shown.pointSize(), 15);
    EXPECT_EQ(View()->List()->font(), shown);
    frame_->close();
    frame_ = StartFrame();
    EXPECT_EQ(RecordFromFont(View()->Tree()->font()), RecordFromFont(shown));
    EXPECT_EQ(View()->List()->font(), View()->Tree()->font());
}

// Every command is chosen by letters: each menu item has one, and no two
// items of a menu share one.
TEST_F(ManagerFrame, EveryMenuItemHasALetterOfItsOwn) {
    frame_ = StartFrame();
    EXPECT_EQ(MnemonicFaults(frame_->menuBar()).join('\n').toStdString(), "");
}

// Tab goes from the library tree to the dictionary list and back; a list
// reached by keyboard with nothing selected selects its current row.
TEST_F(ManagerFrame, TabGoesBetweenTreeAndListAndTheListSelectsItsCurrentRow) {
    MakeLibrary("Knj", {MakeDictionary("a.vrk3", "A"), MakeDictionary("b.vrk3", "B")});
    frame_ = StartFrame();
    QTreeWidget* tree = View()->Tree();
    QTreeWidget* list = View()->List();
    ASSERT_TRUE(QTest::qWaitFor([tree] { return tree->hasFocus(); }));
    ASSERT_EQ(ListNames(), QStringList({"A", "B"}));
    QTest::keyClick(tree, Qt::Key_Tab);
    ASSERT_TRUE(list->hasFocus());
    ASSERT_NE(list->currentItem(), nullptr);
    EXPECT_EQ(list->currentItem()->text(0), QStringLiteral("A"));
    EXPECT_TRUE(list->currentItem()->isSelected());
    EXPECT_EQ(View()->SelectedDictionaryCount(), 1);
    QTest::keyClick(list, Qt::Key_Tab);
    EXPECT_TRUE(tree->hasFocus());
    ASSERT_NE(tree->currentItem(), nullptr);
}

// The manager's windows laid out for a small screen and a large scale
// factor: within kSmallScreen when they open and at their smallest, every
// text whole; the status panes hold the widest counts. The dialogs are
// filled in and left by keys alone: their labels name their controls with a
// letter each, their own buttons and check boxes have letters, Enter has a
// default button (Escape cancels).
struct TManagerWindowCase {
    const char* what;
    std::function<std::unique_ptr<QWidget>()> make;
    bool byKeys = true;  // ExpectFilledInByKeys too
};

TEST_F(ManagerFrame, WindowsFitASmallScreenAndDialogsAreFilledInByKeys) {
    const TFileDialogRequest exportRequest = ExportRequest(folder_);
    const TManagerWindowCase cases[] = {
        {"new dictionary (1/2)", [] { return std::make_unique<CNewDictPage1Dlg>(); }},
        {"new dictionary (2/2)", [] { return std::make_unique<CNewDictPage2Dlg>(); }},
        {"dictionary data", [] { return std::make_unique<CDictDataDlg>(); }},
        {"security", [] { return std::make_unique<CSecurityDlg>(); }},
        {"password",
         [] { return std::make_unique<CPasswordDlg>(QStringLiteral("Slovenske sopomenke")); }},
        {"remap letter", [] { return std::make_unique<CRemapLetterDlg>(); }},
        {"import", [] { return std::make_unique<CImportDlg>(); }},
        {"export", [&] { return std::make_unique<CExportFileDlg>(nullptr, exportRequest); }, false},
    };
    for (const TManagerWindowCase& window : cases) {
        SCOPED_TRACE(window.what);
        const std::unique_ptr<QWidget> shown = window.make();
        ExpectLaidOut(shown.get(), window.what);
        if (window.byKeys) ExpectFilledInByKeys(shown.get());
    }

    // The frame, fitted to the screen when it opens, with the widest counts
    // a library of the installed dictionaries shows.
    frame_ = StartFrame();
    frame_->DictionaryPane()->setText(texts::DictionaryCountText(9999));
    frame_->EntryPane()->setText(texts::EntryCountText(9999999));
    ExpectLaidOut(frame_.get(), "main frame", true);
}

}  // namespace
}  // namespace vrk
