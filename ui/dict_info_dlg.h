// CDictInfoDlg: "Info", a dictionary's name (large, bold, italic, in a serif
// face), its author, its notes and its picture. The same dialog serves both
// programs; each gives the built-in bitmap shown when a dictionary has no
// picture (icons.h: bitmap::kFinderNoPicture, bitmap::kManagerNoPicture).
#pragma once

#include <QDialog>
#include <QPixmap>
#include <QString>
#include <string>
#include <string_view>

class QLabel;
class QPlainTextEdit;

namespace vrk {

class CDictInfoDlg : public QDialog {
    Q_OBJECT
  public:
    // `picturePath` names a picture file written for this dialog (see
    // WriteInfoPicture); it is loaded and deleted at once, whether or not it
    // holds a picture Qt can read. An empty path, or an unreadable picture,
    // shows the bitmap `noPictureBitmap`.
    CDictInfoDlg(const QString& name, const QString& author, const QString& notes,
                 const QString& picturePath, int noPictureBitmap, QWidget* parent = nullptr);

    // True when the dictionary's own picture is shown.
    bool ShowsOwnPicture() const { return m_bOwnPicture; }
    // The size of the picture frame.
    static QSize PictureSize();

  private:
    void createControls(const QString& name, const QString& author, const QString& notes);
    void createLayout();
    void loadPicture(const QString& picturePath, int noPictureBitmap);

    bool m_bOwnPicture = false;
    QLabel* m_pName = nullptr;
    QLabel* m_pAuthor = nullptr;
    QPlainTextEdit* m_pNotes = nullptr;
    QLabel* m_pPicture = nullptr;
};

// Writes a dictionary's picture to "dfi.qtf" in the temporary directory
// `backupDir` (file-name encoding, with or without a trailing "/") for
// CDictInfoDlg. Returns the file's path, or an empty path when `picture` is
// empty or the file cannot be written completely; a partly written file is
// removed.
QString WriteInfoPicture(std::string_view backupDir, std::string_view picture);

}  // namespace vrk
