#include "ui/dict_info_dlg.h"

#include <QFile>
#include <QGridLayout>
#include <QImageReader>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "settings/temp_dir.h"
#include "ui/accessible_text.h"
#include "ui/cp1250_text.h"
#include "ui/dialog_buttons.h"
#include "ui/font_record.h"
#include "ui/icons.h"
#include "ui/ui_texts.h"

namespace vrk {

QSize CDictInfoDlg::PictureSize() {
    return QSize(160, 200);
}

CDictInfoDlg::CDictInfoDlg(const QString& name, const QString& author, const QString& notes,
                           const QString& picturePath, int noPictureBitmap, QWidget* parent)
    : QDialog(parent) {
    setObjectName("dictInfoDlg");
    setWindowTitle(texts::kInfoTitle);
    createControls(name, author, notes);
    createLayout();
    loadPicture(picturePath, noPictureBitmap);
}

void CDictInfoDlg::createControls(const QString& name, const QString& author,
                                  const QString& notes) {
    m_pName = new QLabel(this);
    m_pName->setObjectName("nameLabel");
    m_pName->setTextFormat(Qt::PlainText);
    m_pName->setWordWrap(true);
    m_pName->setText(name);
    // The name stands out: half as large again as the dialog's text, bold,
    // italic, in a serif face, drawn a little wider.
    TFontRecord record = RecordFromFont(m_pName->font());
    record.height = record.height + record.height / 2;
    record.width = record.width + record.height / 2;
    record.weight = 700;
    record.italic = 1;
    record.SetFaceName("Times New Roman");
    record.pitchAndFamily = 0x12;  // variable pitch, serif family
    m_pName->setFont(FontFromRecord(record));

    m_pAuthor = new QLabel(this);
    m_pAuthor->setObjectName("authorLabel");
    m_pAuthor->setTextFormat(Qt::PlainText);
    m_pAuthor->setText(texts::kInfoAuthor + author);
    m_pAuthor->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_pNotes = new QPlainTextEdit(this);
    m_pNotes->setObjectName("notesEdit");
    m_pNotes->setAccessibleName(NameFromLabel(texts::kInfoNotes));
    m_pNotes->setReadOnly(true);
    m_pNotes->setPlainText(notes);
    m_pNotes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    m_pPicture = new QLabel(this);
    m_pPicture->setObjectName("pictureFrame");
    m_pPicture->setFixedSize(PictureSize());
    m_pPicture->setFrameShape(QFrame::StyledPanel);
    m_pPicture->setFrameShadow(QFrame::Sunken);
    m_pPicture->setAlignment(Qt::AlignCenter);
}

void CDictInfoDlg::createLayout() {
    auto* text = new QVBoxLayout;
    text->addWidget(m_pName);
    text->addWidget(m_pAuthor);
    text->addSpacing(4);
    text->addWidget(m_pNotes, 1);
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(12);
    grid->addWidget(m_pPicture, 0, 0, Qt::AlignTop);
    grid->addLayout(text, 0, 1);
    grid->addWidget(AddOkButton(this).box, 1, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    resize(520, 300);
}

void CDictInfoDlg::loadPicture(const QString& picturePath, int noPictureBitmap) {
    const QSize frame = m_pPicture->contentsRect().size().isEmpty()
                            ? PictureSize()
                            : m_pPicture->contentsRect().size();
    // Scaled to the device's pixels, so that it shows sharp at any scale.
    const qreal ratio = m_pPicture->devicePixelRatioF();
    QPixmap picture;
    if (!picturePath.isEmpty()) {
        QImageReader reader(picturePath);
        reader.setDecideFormatFromContent(true);
        const QImage image = reader.read();
        // The file was written only for this dialog.
        QFile::remove(picturePath);
        if (!image.isNull()) {
            picture = QPixmap::fromImage(image.scaled(
                (QSizeF(frame) * ratio).toSize(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
            picture.setDevicePixelRatio(ratio);
            m_bOwnPicture = true;
        }
    }
    if (picture.isNull()) picture = RoleBitmap(noPictureBitmap, frame, ratio);
    m_pPicture->setPixmap(picture);
}

QString WriteInfoPicture(std::string_view backupDir, std::string_view picture) {
    if (picture.empty()) return {};
    const QString path = PathText(TScratchPath(backupDir, texts::kPictureFile.toStdString()));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return {};
    const bool written = file.write(picture.data(), static_cast<qint64>(picture.size())) ==
                             static_cast<qint64>(picture.size()) &&
                         file.flush();
    file.close();
    if (written && file.error() == QFileDevice::NoError) return path;
    QFile::remove(path);
    return {};
}

}  // namespace vrk
