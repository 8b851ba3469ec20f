#include "ui/dict_info_dlg.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>

#include "ui/icons.h"
#include "ui/test_ui.h"

namespace vrk {
namespace {

// The texts it shows are checked through the manager's information command;
// these check the dictionary's own picture and the file it passes through.
class DictInfoDlgTest : public TUiTest {};

TEST_F(DictInfoDlgTest, OwnPictureIsShownADamagedOneIsNotAndNeitherLeavesAFile) {
    QTemporaryDir tmp;
    const std::string dir = tmp.path().toStdString() + "/";
    auto noFileLeft = [&] { return !QFileInfo::exists(tmp.filePath("dfi.qtf")); };
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    const QString path = WriteInfoPicture(dir, png.toStdString());
    ASSERT_EQ(path, tmp.filePath("dfi.qtf"));  // one "/" before the name
    CDictInfoDlg dialog("n", "a", "o", path, bitmap::kManagerNoPicture);
    EXPECT_TRUE(dialog.ShowsOwnPicture());
    EXPECT_TRUE(noFileLeft());
    const QPixmap shown = Child<QLabel>(&dialog, "pictureFrame")->pixmap();
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(shown.toImage().pixelColor(shown.width() / 2, shown.height() / 2),
              QColor(Qt::darkGreen));
    // No folder to write it to: no picture.
    EXPECT_TRUE(
        WriteInfoPicture(tmp.filePath("ni/tega").toStdString(), png.toStdString()).isEmpty());

    // A damaged picture shows the built-in one and leaves no file; no
    // picture writes none.
    const QString damagedPath = WriteInfoPicture(dir, "to ni slika");
    ASSERT_FALSE(damagedPath.isEmpty());
    CDictInfoDlg damaged("n", "a", "o", damagedPath, bitmap::kManagerNoPicture);
    EXPECT_FALSE(damaged.ShowsOwnPicture());
    EXPECT_FALSE(Child<QLabel>(&damaged, "pictureFrame")->pixmap().isNull());
    EXPECT_TRUE(noFileLeft());
    EXPECT_TRUE(WriteInfoPicture(dir, "").isEmpty());
    EXPECT_TRUE(noFileLeft());
}

}  // namespace
}  // namespace vrk
