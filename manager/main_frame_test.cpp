// The manager's start-up, the settings it keeps for its window, and its
// windows laid out and usable by keys.
#include "manager/main_frame.h"

#include <QAction>
#include <QFontDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
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

class ManagerFrame : public TManagerTest {};

// A new user's first start lists the library of the installed Slovene
// words at once (what it holds is the settings store's rule).
TEST_F(ManagerFrame, FirstStartMakesTheKeysOpensTheHelpAndListsTheInstalledWords) {
    ASSERT_EQ(UserKey("Software\\Tavro").DeleteSubTree("Verbatrakon III"), TRegResult::kOk);
    const std::string words = InstalledWordListPath(dir_);
    std::filesystem::create_directories(std::filesystem::path(words).parent_path());
    ASSERT_TRUE(CreateEmpty(words));
    ASSERT_TRUE(Open(words)->SetInfo("Slovenske besede", "Avtorji", "", "", kFlagExportAllowed));
    CVrk3dbeApp::InitApplication();
    EXPECT_EQ(SubKeys(kUserRootKey), (std::vector<std::string>{"Groups", "Editor", "Alphabet"}));
    CVrk3dbeApp app;
    ASSERT_TRUE(app.InitInstance(false));
    CMainFrame* frame = app.MainFrame();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !helpContexts_.empty(); }, 1000));
    EXPECT_EQ(helpContexts_, std::vector<int>{help::kFirstRun});
    QTreeWidget* list = frame->View()->List();
    EXPECT_TRUE(QTest::qWaitFor([&] { return list->topLevelItemCount() == 2; }, 2000));
    ASSERT_EQ(frame->View()->Tree()->topLevelItemCount(), 1);
    EXPECT_EQ(frame->View()->Tree()->topLevelItem(0)->text(0), QStringLiteral("Slovenske besede"));

    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Verbatrakon III - Zasnovar"));
    // No application display name (the window system would append it to
    // every title); a box without a caption carries the program's name.
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
    ShowInformation(nullptr, QStringLiteral("x"));
    ASSERT_EQ(messages_->Shown().size(), 1u);
    EXPECT_EQ(messages_->Shown()[0].caption, QStringLiteral("Verbatrakon III - Zasnovar"));
    frame->close();

    // A second start of either program opens no help.
    CMainFrame second(false);
    second.show();
    QTest::qWait(20);
    EXPECT_EQ(helpContexts_.size(), 1u);
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

TEST_F(ManagerFrame, SizeColumnsAndFontComeBack) {
    frame_ = StartFrame();
    frame_->resize(700, 500);
    View()->List()->header()->resizeSection(2, 90);
    WhenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFontDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->setCurrentFont(QFont(QStringLiteral("DejaVu Serif"), 15));
        dialog->accept();
    });
    frame_->Commands()->Action(id::kFont)->trigger();
    const QFont shown = View()->Tree()->font();
    EXPECT_EQ(shown.pointSize(), 15);
    frame_->close();

    frame_ = StartFrame();
    EXPECT_EQ(frame_->size(), QSize(700, 500));
    EXPECT_EQ(View()->ColumnWidths()[2], 90);
    EXPECT_EQ(RecordFromFont(View()->List()->font()), RecordFromFont(shown));
}

// The panes count the selected dictionaries and their entries, each in the
// Slovene form its number itself takes (not its last digits).
TEST_F(ManagerFrame, StatusPanesCountTheSelectionByTheNumberItself) {
    MakeLibrary("Knj",
                {MakeDictionary("a.vrk3", "A", "x", 1), MakeDictionary("b.vrk3", "B", "x", 3)});
    frame_ = StartFrame();
    SelectRows({"A", "B"});
    EXPECT_EQ(frame_->DictionaryPane()->text(), QStringLiteral("     2 slovarja"));
    EXPECT_EQ(frame_->EntryPane()->text(), QStringLiteral("       4 gesla"));
    EXPECT_EQ(texts::DictionaryCountText(3), QStringLiteral("    3 slovarji"));
    EXPECT_EQ(texts::DictionaryCountText(101), QStringLiteral("  101 slovarjev"));
    EXPECT_EQ(texts::EntryCountText(1), QStringLiteral("       1 geslo"));
    EXPECT_EQ(texts::EntryCountText(102), QStringLiteral("     102 gesel"));
}

// Every command is chosen by letters: each menu item has one, and no two
// items of a menu share one. With no library only a new one can be made: a
// new or imported dictionary would belong to no library.
TEST_F(ManagerFrame, EveryMenuItemHasALetterOfItsOwnAndAnEmptyTreeOffersANewLibrary) {
    frame_ = StartFrame();
    EXPECT_EQ(MnemonicFaults(frame_->menuBar()).join('\n').toStdString(), "");
    EXPECT_TRUE(Enabled(id::kNewLibrary));
    for (int command : {id::kNewSubLibrary, id::kRemoveLibrary, id::kAddDictionary,
                        id::kNewDictionary, id::kImport})
        EXPECT_FALSE(Enabled(command)) << command;
}

// The manager's windows fit a small screen at a large scale factor with
// every text whole, and the dialogs are filled in and left by keys alone.
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
