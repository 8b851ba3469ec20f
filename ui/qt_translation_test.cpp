#include "ui/qt_translation.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDialogButtonBox>

#include "ui/test_ui.h"

namespace vrk {
namespace {

class QtTranslationTest : public TUiTest {};

// The standard buttons (also those of Qt's own font dialog) come from the
// platform theme, which Qt's Slovene catalogue does not cover: our table
// does, whether or not the catalogue is installed here.
TEST_F(QtTranslationTest, StandardButtonsAndQtsOwnTextsAreSlovene) {
    QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Yes |
                         QDialogButtonBox::No | QDialogButtonBox::Help);
    QStringList texts;
    for (const QAbstractButton* button : box.buttons()) texts << button->text().remove('&');
    texts.sort();
    EXPECT_EQ(texts, (QStringList{"Da", "Ne", "Pomoč", "Prekliči", "V redu"}));
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
