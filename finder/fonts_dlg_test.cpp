#include "finder/fonts_dlg.h"

#include <QApplication>
#include <QComboBox>
#include <QFontDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <optional>
#include <vector>

#include "ui/help.h"
#include "ui/test_ui.h"

namespace {

QPushButton* FontsButton(QWidget* dialog, const char* name) {
    return vrk::Child<QPushButton>(dialog, name);
}

class FontsDlgTest : public vrk::TUiTest {
  protected:
    // Runs `dialog` modally; `action` handles it once it shows.
    static int RunDialog(CFontsDlg& dialog, std::function<void(CFontsDlg*)> action) {
        WhenModal([action = std::move(action)](QWidget* modal) {
            action(qobject_cast<CFontsDlg*>(modal));
        });
        return dialog.exec();
    }

    // Clicks "Spremeni..." and answers Qt's font dialog with `font`, or cancels
    // it when `font` is empty; returns the font the font dialog started from.
    static QFont ChangeFont(CFontsDlg* dialog, std::optional<QFont> font) {
        QFont initial;
        WhenModal([&](QWidget* modal) {
            auto* fonts = qobject_cast<QFontDialog*>(modal);
            ASSERT_NE(fonts, nullptr);
            initial = fonts->currentFont();
            if (font) {
                fonts->setCurrentFont(*font);
                fonts->accept();
            } else {
                fonts->reject();
            }
        });
        FontsButton(dialog, "changeFontButton")->click();
        return initial;
    }
};

// A record as another desktop stores it: a face this machine does not have,
// a width, and fields Qt has no use for.
vrk::TFontRecord ForeignFontRecord() {
    vrk::TFontRecord record;
    record.height = -13;
    record.width = 7;
    record.escapement = 0;
    record.weight = 400;
    record.charSet = vrk::kEastEuropeCharSet;
    record.outPrecision = 3;
    record.clipPrecision = 2;
    record.quality = 1;
    record.pitchAndFamily = 34;
    record.SetFaceName("Arial CE");
    return record;
}

// An entry left alone is written back byte for byte, also when its face is
// not installed here; the sample still names the stored face.
TEST_F(FontsDlgTest, UnchangedSlotIsWrittenBackUnchanged) {
    vrk::TFontRecord first = ForeignFontRecord();
    vrk::TFontRecord second = ForeignFontRecord();
    second.SetFaceName("Times New Roman");
    CFontsDlg dialog;
    ASSERT_TRUE(dialog.AddEntry(QStringLiteral("Prva"), &first));
    ASSERT_TRUE(dialog.AddEntry(QStringLiteral("Druga"), &second));
    QStringList names;
    QString sample;
    const int result = RunDialog(dialog, [&](CFontsDlg* shown) {
        auto* list = vrk::Child<QComboBox>(shown, "fontWindowList");
        for (int i = 0; i < list->count(); ++i) names << list->itemText(i);
        EXPECT_EQ(list->currentIndex(), 0);
        sample = vrk::Child<QLabel>(shown, "fontSample")->text();
        FontsButton(shown, "okButton")->click();
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(names, (QStringList{"Prva", "Druga"}));
    EXPECT_EQ(sample, QStringLiteral("Arial CE"));
    EXPECT_EQ(vrk::EncodeFontRecord(first), vrk::EncodeFontRecord(ForeignFontRecord()));
    EXPECT_EQ(second.FaceName(), "Times New Roman");
}

TEST_F(FontsDlgTest, ChosenFontReachesTheSlotOnlyWithOk) {
    QFont chosen = QApplication::font();
    chosen.setPixelSize(23);
    chosen.setItalic(true);
    for (const bool ok : {false, true}) {
        vrk::TFontRecord slot = ForeignFontRecord();
        CFontsDlg dialog;
        ASSERT_TRUE(dialog.AddEntry(QStringLiteral("Najdena gesla"), &slot));
        RunDialog(dialog, [&](CFontsDlg* shown) {
            ChangeFont(shown, chosen);
            EXPECT_EQ(shown->EntryCopy(0).height, -23);
            EXPECT_EQ(vrk::Child<QLabel>(shown, "fontSample")->font().pixelSize(), 23);
            FontsButton(shown, ok ? "okButton" : "cancelButton")->click();
        });
        if (ok) {
            EXPECT_EQ(slot, vrk::RecordFromFont(chosen));
        } else {
            EXPECT_EQ(slot, ForeignFontRecord());
        }
    }
}

// A slot without a face (a window whose font was never chosen) is shown,
// and edited, from the dialog's own font; a cancelled font dialog leaves
// the copy as it was. Help opens the dialog's page.
TEST_F(FontsDlgTest, SlotWithoutFaceStartsFromTheDialogFont) {
    vrk::TFontRecord slot;
    CFontsDlg dialog;
    ASSERT_TRUE(dialog.AddEntry(QStringLiteral("Prazna"), &slot));
    QFont initial;
    RunDialog(dialog, [&](CFontsDlg* shown) {
        EXPECT_EQ(shown->SampleFont(0), shown->font());
        EXPECT_EQ(vrk::Child<QLabel>(shown, "fontSample")->text(), shown->font().family());
        initial = ChangeFont(shown, std::nullopt);
        EXPECT_EQ(shown->EntryCopy(0), vrk::TFontRecord{});
        FontsButton(shown, "helpButton")->click();
        FontsButton(shown, "okButton")->click();
    });
    EXPECT_EQ(initial.family(), dialog.font().family());
    EXPECT_EQ(slot, vrk::TFontRecord{});
    EXPECT_EQ(helpContexts_, std::vector<int>{vrk::help::kFonts});
}

}  // namespace
