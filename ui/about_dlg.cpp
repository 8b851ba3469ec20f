#include "ui/about_dlg.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "ui/icons.h"
#include "ui/ui_texts.h"

namespace vrk {

CAboutDlg::CAboutDlg(int bitmapNumber, const QString& programName, QWidget* parent)
    : QDialog(parent), m_nBitmap(bitmapNumber), m_strProgramName(programName) {
    setObjectName("aboutDlg");
    setWindowTitle(texts::kAboutTitle);
    setFixedSize(PictureSize());
}

void CAboutDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Centred on the screen, not on the parent.
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void CAboutDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(rect(), RoleBitmap(m_nBitmap, size(), devicePixelRatioF()));
    // The texts are placed by their top-left corners, 13 pixels high, in
    // the column left of the crossword (which starts at x = 212). A name too
    // wide for the column at that height is drawn smaller rather than over
    // the crossword.
    QFont font(QStringLiteral("Arial CE"));
    font.setPixelSize(13);
    font.setStyleHint(QFont::SansSerif);
    painter.setPen(QColor(0x1c, 0x2a, 0x3e));
    painter.setFont(font);
    const int width = 212 - 15 - 7;
    painter.drawText(QRect(15, 85, width, 16), Qt::AlignLeft | Qt::AlignTop, texts::kAboutVersion);
    font.setWeight(QFont::Black);
    while (font.pixelSize() > 9 && QFontMetrics(font).horizontalAdvance(m_strProgramName) > width)
        font.setPixelSize(font.pixelSize() - 1);
    painter.setFont(font);
    painter.drawText(QRect(15, 70, width, 16), Qt::AlignLeft | Qt::AlignTop, m_strProgramName);
}

void CAboutDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) accept();
}

void CAboutDlg::keyPressEvent(QKeyEvent* event) {
    // There is no button to be the default one; Enter and Space close too.
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            accept();
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

void ShowFinderAbout(QWidget* parent) {
    CAboutDlg about(bitmap::kFinderAbout, texts::kFinderName, parent);
    about.exec();
}

void ShowManagerAbout(QWidget* parent) {
    CAboutDlg about(bitmap::kManagerAbout, texts::kManagerName, parent);
    about.exec();
}

}  // namespace vrk
