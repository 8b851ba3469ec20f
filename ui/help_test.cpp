#include "ui/help.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <filesystem>
#include <fstream>

#include "settings/first_library.h"
#include "settings/library_registry.h"
#include "settings/settings_keys.h"
#include "store/data_file.h"
#include "ui/help_window.h"
#include "ui/test_ui.h"

namespace vrk {
namespace {

class HelpTest : public TUiTest {};

CHelpWindow* OpenHelpWindow() {
    for (QWidget* widget : QApplication::allWidgets())
        if (auto* help = qobject_cast<CHelpWindow*>(widget); help && help->isVisible()) return help;
    return nullptr;
}

// Each context opens its page at its anchor, an unknown one the contents;
// a page in the help folder is preferred to the built-in copy.
TEST_F(HelpTest, EveryContextHasItsAnchorOnItsPageAndTheHelpFolderIsPreferred) {
    for (int context : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 100, 4711}) {
        const QUrl url = HelpUrl(context);
        const int shown = context == 4711 ? help::kContents : context;
        EXPECT_EQ(url.fragment(), QStringLiteral("kontekst-%1").arg(shown));
        QFile page(url.scheme() == "qrc" ? ':' + url.path() : url.toLocalFile());
        ASSERT_TRUE(page.open(QIODevice::ReadOnly)) << url.toString().toStdString();
        EXPECT_TRUE(
            page.readAll().contains(QStringLiteral("name=\"kontekst-%1\"").arg(shown).toUtf8()));
    }
    QTemporaryDir folder;
    const QString page = folder.filePath(QStringLiteral("index.html"));
    WriteWholeFile(page.toStdString(), "");
    SetHelpFolder(folder.path());
    EXPECT_EQ(HelpUrl(help::kContents).toLocalFile(), page);
    SetHelpFolder(QStringLiteral("/no/such/folder"));
    EXPECT_EQ(HelpUrl(help::kContents).scheme(), QStringLiteral("qrc"));
    SetHelpFolder({});
}

// Help asked for in a modal dialog belongs to the dialog, so the dialog does
// not block it; it stays open on its own after, until Escape closes it.
TEST_F(HelpTest, HelpFromAModalDialogIsAboveItAndUsable) {
    SetHelpHook({});
    QDialog dialog;
    QWidget* ownerWhileOpen = nullptr;
    WhenModal([&](QWidget* modal) {
        ShowHelp(help::kAlphabet, modal);
        CHelpWindow* help = OpenHelpWindow();
        ASSERT_NE(help, nullptr);
        ownerWhileOpen = help->parentWidget();
        modal->close();
    });
    dialog.exec();

    EXPECT_EQ(ownerWhileOpen, &dialog);
    CHelpWindow* help = OpenHelpWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->parentWidget(), nullptr);
    auto* browser = Child<QTextBrowser>(help, "helpBrowser");
    EXPECT_EQ(browser->source(), HelpUrl(help::kAlphabet));
    browser->setFocus();
    QTest::keyClick(browser, Qt::Key_Escape);
    EXPECT_FALSE(help->isVisible());
}

// A first start whose data folder cannot be written says which dictionary
// it could not make; one that made it says nothing.
TEST_F(HelpTest, AFirstStartWithoutItsOwnDictionarySaysSo) {
    (void)UserKey(kUserRootKey).DeleteValue("Run");
    (void)UserKey(kGroupsKey);
    const std::string install = dir_ + "/install";
    std::filesystem::create_directories(install + "/dictionaries");
    ASSERT_TRUE(CreateEmpty(InstalledWordListPath(install)));
    std::ofstream(dir_ + "/file") << "x";
    setenv("XDG_DATA_HOME", (dir_ + "/file/data").c_str(), 1);
    CreateFirstLibraryAndSay(install);
    ASSERT_EQ(messages_->Texts().size(), 1u);
    EXPECT_TRUE(messages_->Texts()[0].startsWith(
        "Vašega slovarja „Moje besede“ ni bilo mogoče ustvariti (" + QString::fromStdString(dir_) +
        "/file/data/vrk3/moje-besede.vrk3)."))
        << messages_->Texts()[0].toStdString();

    messages_->Clear();
    ASSERT_EQ(RemoveLibrary("Slovenske besede"), TLibraryResult::kOk);
    setenv("XDG_DATA_HOME", (dir_ + "/data").c_str(), 1);
    CreateFirstLibraryAndSay(install);
    EXPECT_TRUE(messages_->Texts().empty());
}

}  // namespace
}  // namespace vrk
