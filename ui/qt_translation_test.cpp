#include "ui/qt_translation.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QPushButton>
#include <utility>

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
// installed here; so do Qt's own dialogs (font, file).
TEST_F(QtTranslationTest, StandardButtonsAndQtsDialogsAreSlovene) {
    QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Yes |
                         QDialogButtonBox::No | QDialogButtonBox::Help);
    box.show();
    EXPECT_EQ(ButtonTexts(&box), (QStringList{"Da", "Ne", "Pomoč", "Prekliči", "V redu"}));
    QFontDialog fonts;
    fonts.setOption(QFontDialog::DontUseNativeDialog);
    QFileDialog files;
    files.setOption(QFileDialog::DontUseNativeDialog);
    for (const auto& [dialog, accept] :
         {std::pair<QDialog*, const char*>{&fonts, "V redu"}, {&files, "Odpri"}}) {
        dialog->show();
        const QStringList texts = ButtonTexts(dialog);
        EXPECT_TRUE(texts.contains(accept) && texts.contains("Prekliči"))
            << texts.join(',').toStdString();
        dialog->close();
    }
    // Labels come from Qt's catalogue where there is one, else from ours;
    // ours also answers a GNOME desktop's buttons and a text box's menu.
    EXPECT_EQ(QCoreApplication::translate("QFontDialog", "&Font").remove('&'),
              QStringLiteral("Pisava"));
    EXPECT_EQ(QtTextSlovene("QGnomeTheme", "&OK"), QStringLiteral("&V redu"));
    EXPECT_EQ(QtTextSlovene("QWidgetTextControl", "Select All"), QStringLiteral("Izberi vse"));
    // A button text asked for by another class is that class's own.
    EXPECT_TRUE(QtTextSlovene("QShortcut", "Cancel").isEmpty());
}

}  // namespace
}  // namespace vrk
