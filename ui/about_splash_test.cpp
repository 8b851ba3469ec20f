#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <cstdlib>
#include <utility>

#include "ui/about_dlg.h"
#include "ui/icons.h"
#include "ui/splash_window.h"
#include "ui/test_ui.h"
#include "ui/ui_texts.h"

namespace vrk {
namespace {

class AboutSplashTest : public TUiTest {};

// The mean difference of two pictures of one size, per colour channel.
double MeanDifference(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
            sum += std::abs(p.red() - q.red()) + std::abs(p.green() - q.green()) +
                   std::abs(p.blue() - q.blue());
        }
    return sum / (3.0 * a.width() * a.height());
}

// Each program's about box is its picture's size, a click or Enter closes
// it, and the name stays in the column left of the crossword (its frame at
// x = 211): the gap before the frame holds no dark pixel of a name.
TEST_F(AboutSplashTest, AboutBoxIsThePictureWithTheNameLeftOfTheCrosswordAndAClickClosesIt) {
    for (const auto& [bitmap, name] : {std::pair{bitmap::kFinderAbout, texts::kFinderName},
                                       std::pair{bitmap::kManagerAbout, texts::kManagerName}}) {
        SCOPED_TRACE(name.toStdString());
        CAboutDlg about(bitmap, name);
        about.show();
        EXPECT_EQ(about.windowTitle(), QStringLiteral("O Programu..."));
        EXPECT_EQ(about.size(), QSize(358, 208));
        const QImage picture = about.grab().toImage();
        int dark = 0;
        for (int y = 68; y < 88; ++y)
            for (int x = 204; x < 211; ++x) dark += picture.pixelColor(x, y).lightness() < 160;
        EXPECT_EQ(dark, 0);
        QTest::mouseClick(&about, Qt::LeftButton);
        EXPECT_EQ(about.result(), QDialog::Accepted);
        EXPECT_FALSE(about.isVisible());
        about.setResult(QDialog::Rejected);
        about.show();
        QTest::keyClick(&about, Qt::Key_Return);
        EXPECT_EQ(about.result(), QDialog::Accepted);
    }
}

// The splash hides by itself, exists only once, and the first key and the
// first click only end it: they do not reach the window below.
TEST_F(AboutSplashTest, SplashHidesByItselfExistsOnceAndTheFirstKeyOrClickOnlyEndsIt) {
    QLineEdit field;
    field.show();
    QApplication::setActiveWindow(&field);
    field.setFocus();
    QPointer<CSplashWindow> splash = CSplashWindow::ShowSplash(bitmap::kFinderSplash, &field, 50);
    ASSERT_TRUE(splash);
    EXPECT_EQ(splash->size(), RoleBitmapSize(bitmap::kFinderSplash));
    EXPECT_EQ(CSplashWindow::ShowSplash(bitmap::kManagerSplash, &field), splash.data());
    EXPECT_TRUE(QTest::qWaitFor([&] { return splash.isNull(); }, 2000));
    EXPECT_EQ(CSplashWindow::Current(), nullptr);

    splash = CSplashWindow::ShowSplash(bitmap::kManagerSplash, &field);
    QTest::keyClick(&field, Qt::Key_A);
    EXPECT_TRUE(field.text().isEmpty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return splash.isNull(); }, 1000));
    QTest::keyClick(&field, Qt::Key_B);
    EXPECT_EQ(field.text(), QStringLiteral("b"));

    field.setText(QStringLiteral("abc"));
    field.setCursorPosition(3);
    splash = CSplashWindow::ShowSplash(bitmap::kManagerSplash, &field);
    QTest::mouseClick(&field, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(field.cursorPosition(), 3);  // the click did not reach the field
    EXPECT_TRUE(QTest::qWaitFor([&] { return splash.isNull(); }, 1000));
}

TEST_F(AboutSplashTest, EveryNumberedRoleAndToolbarIconHasADrawing) {
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
    // The finder's splitter cursors are not the manager's.
    EXPECT_NE(RoleCursorFile(TProgram::kFinder, cursor::kSplitterHover),
              RoleCursorFile(TProgram::kManager, cursor::kSplitterHover));
    for (int number : {bitmap::kManagerSplash, bitmap::kNewDictionary, bitmap::kManagerNoPicture,
                       bitmap::kFinderNoPicture, bitmap::kFinderAbout, bitmap::kFinderSplash})
        EXPECT_FALSE(RoleBitmap(number).isNull()) << "bitmap " << number;
    EXPECT_TRUE(RoleIcon(4711).isNull());
    EXPECT_EQ(RoleCursor(TProgram::kFinder, cursor::kDropAllowed).shape(), Qt::ArrowCursor);
    // The names the programs' command tables ask for.
    const QString toolbar = QStringLiteral(
        "entry-new entry-save entry-delete edit-cut edit-copy edit-paste undo undo-several "
        "description-add description-remove help-topics dictionary-info search library-new "
        "dictionary-add dictionary-new import export dictionary-data dictionary-security");
    for (const QString& name : toolbar.split(' '))
        EXPECT_FALSE(ToolbarIcon(name).isNull()) << name.toStdString();
    // For a screen at twice (or one and a half times) the scale a bitmap is
    // drawn at the screen's pixels and shows at its own size: sharp, not
    // enlarged, and the whole drawing, as at scale 1.
    for (const int number : {bitmap::kNewDictionary, bitmap::kManagerSplash}) {
        const QSize size = number == bitmap::kNewDictionary ? QSize(120, 230) : QSize();
        const QImage plain = RoleBitmap(number, size).toImage();
        for (const qreal ratio : {2.0, 1.5}) {
            const QPixmap sharp = RoleBitmap(number, size, ratio);
            EXPECT_EQ(sharp.size(), (QSizeF(plain.size()) * ratio).toSize()) << ratio;
            EXPECT_EQ(sharp.deviceIndependentSize(), QSizeF(plain.size())) << ratio;
            EXPECT_LT(MeanDifference(sharp.toImage().scaled(plain.size(), Qt::IgnoreAspectRatio,
                                                            Qt::SmoothTransformation),
                                     plain),
                      8.0)
                << number << " at " << ratio;
        }
    }
}

}  // namespace
}  // namespace vrk
