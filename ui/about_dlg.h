// The about box of each program ("O Programu..."): a picture 358 x 208 with
// the program's name and version drawn over it, centred on the screen. Esc,
// Enter, the close button or a click closes it.
#pragma once

#include <QDialog>
#include <QString>

namespace vrk {

class CAboutDlg : public QDialog {
    Q_OBJECT
  public:
    // The picture is a numbered bitmap (bitmap::kFinderAbout or
    // bitmap::kManagerAbout); `programName` is drawn over it.
    CAboutDlg(int bitmapNumber, const QString& programName, QWidget* parent = nullptr);

    static QSize PictureSize() { return QSize(358, 208); }
    QString ProgramName() const { return m_strProgramName; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    int m_nBitmap;
    QString m_strProgramName;
};

// The finder's and the manager's about boxes, shown modally.
void ShowFinderAbout(QWidget* parent);
void ShowManagerAbout(QWidget* parent);

}  // namespace vrk
