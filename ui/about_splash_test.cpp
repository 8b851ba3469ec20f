#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

#include "ui/about_dlg.h"
#include "ui/icons.h"
#include "ui/splash_window.h"
#include "ui/test_ui.h"
#include "ui/ui_texts.h"

namespace vrk {
namespace {

class AboutSplashTest : public TUiTest {};

TEST_F(AboutSplashTest, AboutBoxIsThePictureAndAClickOrEnterClosesIt) {
    CAboutDlg about(bitmap::kManagerAbout, texts::kManagerName);
    about.show();
    EXPECT_EQ(about.windowTitle(), QStringLiteral("O Programu..."));
    QTest::mouseClick(&about, Qt::LeftButton);
    EXPECT_EQ(about.result(), QDialog::Accepted);
    EXPECT_FALSE(about.isVisible());
    about.setResult(QDialog::Rejected);
    about.show();
    QTest::keyClick(&about, Qt::Key_Return);
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

// The key that ends the splash must not reach the window below.
TEST_F(AboutSplashTest, SplashExistsOnceAndTheFirstKeyOnlyEndsIt) {
    QLineEdit field;
    field.show();
    QApplication::setActiveWindow(&field);
    field.setFocus();
    QPointer<CSplashWindow> splash = CSplashWindow::ShowSplash(bitmap::kFinderSplash, &field);
    ASSERT_TRUE(splash);
    EXPECT_EQ(CSplashWindow::ShowSplash(bitmap::kManagerSplash, &field), splash.data());
    QTest::keyClick(&field, Qt::Key_A);
    EXPECT_TRUE(field.text().isEmpty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return splash.isNull(); }, 1000));
    QTest::keyClick(&field, Qt::Key_B);
    EXPECT_EQ(field.text(), QStringLiteral("b"));
}

// A picture missing from the resources would show an empty window, button
// or cursor.
TEST_F(AboutSplashTest, EveryRoleAndToolbarIconHasADrawing) {
    for (int number : {icon::kDictionary, icon::kLibrary, icon::kLibraryOpen, icon::kLibraryClosed,
                       icon::kSubdirectory, icon::kParentDirectory, icon::kCurrentDirectory,
                       icon::kSearchOptions, icon::kOptionOn, icon::kOptionOff, icon::kRowUnmarked,
                       icon::kRowMarked, icon::kFinderApp, icon::kManagerApp})
        EXPECT_FALSE(RoleIcon(number).pixmap(16, 16).isNull()) << "icon " << number;
    for (int number : {cursor::kSplitterHover, cursor::kSplitterDrag, cursor::kDropAllowed,
                       cursor::kDropRefused})
        EXPECT_FALSE(RoleCursor(TProgram::kManager, number).pixmap().isNull()) << number;
    for (int number : {cursor::kSplitterHover, cursor::kSplitterDrag})
        EXPECT_FALSE(RoleCursor(TProgram::kFinder, number).pixmap().isNull()) << number;
    for (int number : {bitmap::kManagerSplash, bitmap::kNewDictionary, bitmap::kManagerNoPicture,
                       bitmap::kFinderNoPicture, bitmap::kFinderAbout, bitmap::kManagerAbout,
                       bitmap::kFinderSplash})
        EXPECT_FALSE(RoleBitmap(number).isNull()) << "bitmap " << number;
    // The names the programs' command tables ask for.
    const QString toolbar = QStringLiteral(
        "entry-new entry-save entry-delete edit-cut edit-copy edit-paste undo undo-several "
        "description-add description-remove help-topics dictionary-info search library-new "
        "dictionary-add dictionary-new import export dictionary-data dictionary-security");
    for (const QString& name : toolbar.split(' '))
        EXPECT_FALSE(ToolbarIcon(name).isNull()) << name.toStdString();
}

}  // namespace
}  // namespace vrk
