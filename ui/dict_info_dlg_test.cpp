#include "ui/dict_info_dlg.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include "ui/icons.h"
#include "ui/test_ui.h"

namespace vrk {
namespace {

class DictInfoDlgTest : public TUiTest {
  protected:
    QTemporaryDir tmp_;
    std::string Dir() const { return tmp_.path().toStdString() + "/"; }
    static std::string PngBytes() {
        QImage image(40, 20, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        return bytes.toStdString();
    }
    bool NoPictureFileLeft() const { return !QFileInfo::exists(tmp_.filePath("dfi.qtf")); }
};

// The texts it shows are checked through the manager's information command.
TEST_F(DictInfoDlgTest, ShowsTheNameLargeBoldAndItalicAndTheNotesReadOnly) {
    CDictInfoDlg dialog(QStringLiteral("Slovar križank"), QStringLiteral("Ana Novak"),
                        QStringLiteral("Prva vrstica\nDruga vrstica"), QString(),
                        bitmap::kFinderNoPicture);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Info"));
    auto* name = Child<QLabel>(&dialog, "nameLabel");
    EXPECT_TRUE(name->font().italic());
    EXPECT_EQ(name->font().weight(), QFont::Bold);
    EXPECT_GT(QFontInfo(name->font()).pixelSize(),
              QFontInfo(Child<QLabel>(&dialog, "authorLabel")->font()).pixelSize());
    EXPECT_TRUE(Child<QPlainTextEdit>(&dialog, "notesEdit")->isReadOnly());
}

TEST_F(DictInfoDlgTest, OwnPictureIsShownAndItsFileDeletedAtOnce) {
    const QString path = WriteInfoPicture(Dir(), PngBytes());
    ASSERT_EQ(path, tmp_.filePath("dfi.qtf"));  // one "/" before the name
    ASSERT_TRUE(QFileInfo::exists(path));
    CDictInfoDlg dialog("n", "a", "o", path, bitmap::kManagerNoPicture);
    EXPECT_TRUE(dialog.ShowsOwnPicture());
    EXPECT_TRUE(NoPictureFileLeft());
    const QPixmap shown = Child<QLabel>(&dialog, "pictureFrame")->pixmap();
    ASSERT_FALSE(shown.isNull());
    EXPECT_LE(shown.deviceIndependentSize().width(), CDictInfoDlg::PictureSize().width());
    EXPECT_EQ(shown.toImage().pixelColor(shown.width() / 2, shown.height() / 2),
              QColor(Qt::darkGreen));
}

// A damaged picture shows the built-in one and leaves no file; no picture
// or no folder writes none.
TEST_F(DictInfoDlgTest, DamagedPictureShowsTheBuiltInOneAndLeavesNoFile) {
    const QString path = WriteInfoPicture(Dir(), "to ni slika");
    ASSERT_FALSE(path.isEmpty());
    CDictInfoDlg damaged("n", "a", "o", path, bitmap::kManagerNoPicture);
    EXPECT_FALSE(damaged.ShowsOwnPicture());
    EXPECT_FALSE(Child<QLabel>(&damaged, "pictureFrame")->pixmap().isNull());
    EXPECT_TRUE(NoPictureFileLeft());
    EXPECT_TRUE(WriteInfoPicture(Dir(), "").isEmpty());
    EXPECT_TRUE(NoPictureFileLeft());
    EXPECT_TRUE(WriteInfoPicture(tmp_.filePath("ni/tega").toStdString(), PngBytes()).isEmpty());
}

}  // namespace
}  // namespace vrk
