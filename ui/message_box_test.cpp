#include "ui/message_box.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <optional>

#include "ui/test_ui.h"

namespace vrk {
namespace {

class MessageBoxTest : public TUiTest {};

// The real box, without a script: its icon, default button, Slovene button
// names, and the answer of the button pressed or of Escape.
TEST_F(MessageBoxTest, RealBoxShowsItsIconAndButtonsAndGivesTheAnswerPressed) {
    SetMessageHook({});
    const struct {
        TMsgIcon icon;
        TMsgButtons buttons;
        std::optional<TMsgAnswer> defaultAnswer;
        QMessageBox::Icon shownIcon;
        const char* names;                  // the default's, then all sorted
        QMessageBox::StandardButton press;  // NoButton: Escape
        TMsgAnswer answer;
    } cases[] = {
        {TMsgIcon::kQuestion, TMsgButtons::kYesNo, TMsgAnswer::kNo, QMessageBox::Question,
         "Ne: Da Ne", QMessageBox::NoButton, TMsgAnswer::kNo},
        {TMsgIcon::kQuestion, TMsgButtons::kYesNoCancel, TMsgAnswer::kNo, QMessageBox::Question,
         "Ne: Da Ne Prekliči", QMessageBox::No, TMsgAnswer::kNo},
        {TMsgIcon::kError, TMsgButtons::kOkCancel, std::nullopt, QMessageBox::Critical,
         "V redu: Prekliči V redu", QMessageBox::Cancel, TMsgAnswer::kCancel},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.names);
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString names;
        WhenModal([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            icon = box->icon();
            QStringList all;
            for (QAbstractButton* button : box->buttons()) all.append(button->text());
            all.sort();
            const QPushButton* byEnter = box->defaultButton();
            names = (byEnter ? byEnter->text() : QString()) + ": " + all.join(' ');
            if (c.press == QMessageBox::NoButton)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->button(c.press)->click();
        });
        EXPECT_EQ(ShowMessage(nullptr, QStringLiteral("?"), c.icon, c.buttons, c.defaultAnswer),
                  c.answer);
        EXPECT_EQ(icon, c.shownIcon);
        EXPECT_EQ(names, QString::fromUtf8(c.names));
    }
}

}  // namespace
}  // namespace vrk
