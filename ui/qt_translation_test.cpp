#include "ui/qt_translation.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QPushButton>
#include <QTest>

#include "ui/test_ui.h"

namespace vrk {
namespace {

class QtTranslationTest : public TUiTest {};

QStringList ButtonTexts(const QWidget* dialog) {
    QStringList texts;
    for (const QPushButton* button : dialog->findChildren<QPushButton*>())
        if (button->isVisible()) texts << button->text().remove('&');
    texts.sort();
    return texts;
}

// The standard buttons come from the platform theme, which Qt's Slovene
// catalogue does not cover: our table does, whether or not the catalogue is
// installed here.
TEST_F(QtTranslationTest, StandardButtonsAreSlovene) {
    QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Yes |
                         QDialogButtonBox::No | QDialogButtonBox::Help);
    QStringList texts;
    for (QAbstractButton* button : box.buttons()) texts << button->text().remove('&');
    texts.sort();
    EXPECT_EQ(texts, (QStringList{"Da", "Ne", "Pomoč", "Prekliči", "V redu"}));
}

TEST_F(QtTranslationTest, FontAndColourDialogsAreSlovene) {
    QFontDialog fonts;
    fonts.setOption(QFontDialog::DontUseNativeDialog);
    fonts.show();
    EXPECT_EQ(ButtonTexts(&fonts), (QStringList{"Prekliči", "V redu"}));
    // Labels come from Qt's catalogue where there is one, else from ours.
    EXPECT_EQ(QCoreApplication::translate("QFontDialog", "Sample"), QStringLiteral("Vzorec"));
    EXPECT_EQ(QCoreApplication::translate("QFontDialog", "&Font").remove('&'),
              QStringLiteral("Pisava"));
    fonts.close();

    QColorDialog colours;
    colours.setOption(QColorDialog::DontUseNativeDialog);
    colours.show();
    const QStringList texts = ButtonTexts(&colours);
    EXPECT_TRUE(texts.contains("V redu")) << texts.join(',').toStdString();
    EXPECT_TRUE(texts.contains("Prekliči"));
    colours.close();
}

TEST_F(QtTranslationTest, FileDialogIsSlovene) {
    QFileDialog files;
    files.setOption(QFileDialog::DontUseNativeDialog);
    files.setAcceptMode(QFileDialog::AcceptOpen);
    files.show();
    const QStringList texts = ButtonTexts(&files);
    EXPECT_TRUE(texts.contains("Odpri")) << texts.join(',').toStdString();
    EXPECT_TRUE(texts.contains("Prekliči"));
    EXPECT_FALSE(texts.contains("Open"));
    EXPECT_FALSE(texts.contains("Cancel"));
    files.close();
}

TEST_F(QtTranslationTest, TableAnswersOnlyItsOwnContexts) {
    EXPECT_EQ(QtTextSlovene("QPlatformTheme", "&Yes"), QStringLiteral("&Da"));
    EXPECT_EQ(QtTextSlovene("QGnomeTheme", "&OK"), QStringLiteral("&V redu"));
    EXPECT_EQ(QtTextSlovene("QWidgetTextControl", "Select All"), QStringLiteral("Izberi vse"));
    // The kind of a folder in the file dialog's list, which Qt's catalogue
    // does not have under the name Qt 6 asks for.
    EXPECT_EQ(QCoreApplication::translate("QAbstractFileIconProvider", "Folder"),
              QStringLiteral("Mapa"));
    // A button text asked for by another class is that class's own.
    EXPECT_TRUE(QtTextSlovene("QShortcut", "Cancel").isEmpty());
    EXPECT_TRUE(QtTextSlovene("QPlatformTheme", "No such text").isEmpty());
    EXPECT_TRUE(QtTextSlovene(nullptr, "OK").isEmpty());
}

}  // namespace
}  // namespace vrk
