#include "ui/test_ui.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <map>
#include <memory>

#include "ui/elided_label.h"
#include "ui/file_dialog.h"
#include "ui/help.h"
#include "ui/ui_init.h"
#include "ui/ui_texts.h"
#include "ui/window_fit.h"

namespace vrk {
namespace {

void EnsureApplication() {
    if (QApplication::instance()) return;
    // Run without a display also when started by hand.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "vrk3-test";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);  // lives until the test program ends
    QLocale::setDefault(QLocale(QLocale::Slovenian, QLocale::Slovenia));
}

// The mnemonics of `text` as Qt reads them ("&&" is a plain "&").
QList<QChar> Mnemonics(const QString& text) {
    QList<QChar> found;
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (text[i + 1] != '&') found << text[i + 1].toUpper();
        ++i;
    }
    return found;
}

void CollectMnemonicFaults(const QWidget* menu, const QString& where, QStringList& faults) {
    std::map<QChar, QString> letters;
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator()) continue;
        const QString text = action->text().section('\t', 0, 0);
        const QString name = QString(text).remove('&');
        const QString item = where.isEmpty() ? name : where + " > " + name;
        const QList<QChar> mnemonics = Mnemonics(text);
        if (mnemonics.isEmpty()) faults << item + ": no mnemonic";
        if (mnemonics.size() > 1) faults << item + ": more than one mnemonic";
        if (!mnemonics.isEmpty()) {
            auto [it, added] = letters.emplace(mnemonics.first(), item);
            if (!added) faults << item + ": letter " + mnemonics.first() + " also in " + it->second;
        }
        if (action->menu()) CollectMnemonicFaults(action->menu(), item, faults);
    }
}

QStringList DialogKeyFaults(const QWidget* dialog) {
    QStringList faults;
    std::map<QChar, QString> letters;
    auto take = [&](const QString& text, const QString& what) {
        const QList<QChar> mnemonics = Mnemonics(text);
        if (mnemonics.size() != 1) {
            faults << what + ": " + QString::number(mnemonics.size()) + " mnemonics";
            return;
        }
        auto [it, added] = letters.emplace(mnemonics.first(), what);
        if (!added) faults << what + ": letter " + mnemonics.first() + " also in " + it->second;
    };
    QList<const QWidget*> named;
    // A titled group names what it holds.
    for (const QGroupBox* group : dialog->findChildren<QGroupBox*>())
        if (!group->isCheckable() && !group->title().isEmpty())
            for (const QWidget* inside : group->findChildren<QWidget*>()) named << inside;
    for (const QLabel* label : dialog->findChildren<QLabel*>()) {
        if (!label->isVisible() || !label->buddy()) continue;
        named << label->buddy();
        take(label->text(), "label " + QString(label->text()).remove('&'));
    }
    QStringList unnamed;
    int inputs = 0;
    for (const QWidget* control : dialog->findChildren<QWidget*>()) {
        if (!control->isVisible() || control->focusPolicy() == Qt::NoFocus) continue;
        // A read-only text is there to be read, not filled in.
        if (const auto* line = qobject_cast<const QLineEdit*>(control); line && line->isReadOnly())
            continue;
        if (const auto* text = qobject_cast<const QPlainTextEdit*>(control);
            text && text->isReadOnly())
            continue;
        const bool input =
            qobject_cast<const QLineEdit*>(control) || qobject_cast<const QComboBox*>(control) ||
            qobject_cast<const QAbstractItemView*>(control) ||
            qobject_cast<const QAbstractSpinBox*>(control) ||
            qobject_cast<const QPlainTextEdit*>(control) || qobject_cast<const QTextEdit*>(control);
        // A combo box's own line edit and list belong to it.
        if (!input || qobject_cast<const QComboBox*>(control->parentWidget())) continue;
        ++inputs;
        if (!named.contains(control))
            unnamed << "no label names " + control->objectName() + " (" +
                           control->metaObject()->className() + ")";
    }
    // The only field of a dialog has the focus from the start.
    if (inputs > 1) faults << unnamed;
    bool hasDefault = false;
    for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
        if (!button->isVisible() || button->text().isEmpty()) continue;
        const auto* push = qobject_cast<const QPushButton*>(button);
        hasDefault = hasDefault || (push && push->isDefault());
        // Enter, Escape and F1 press these.
        if ((push && push->isDefault()) || button->text() == texts::kOk ||
            button->text() == texts::kCancel || button->text() == texts::kHelp)
            continue;
        take(button->text(), "button " + QString(button->text()).remove('&'));
    }
    for (const QGroupBox* group : dialog->findChildren<QGroupBox*>())
        if (group->isVisible() && group->isCheckable())
            take(group->title(), "group " + QString(group->title()).remove('&'));
    if (!hasDefault) faults << "no default button";
    return faults;
}

// What a control's text needs (a push button: its text and icon within its
// margins; a wrapping label: its lines' height at its width). Empty for texts
// cut with "…" on purpose, controls without a text and Qt's own.
QSize NeededSize(const QWidget* control) {
    if (qobject_cast<const CElidedLabel*>(control)) return {};
    if (control->objectName().startsWith(QStringLiteral("qt_"))) return {};
    if (control->property("text").toString().isEmpty() &&
        control->property("title").toString().isEmpty())
        return {};
    if (const auto* button = qobject_cast<const QPushButton*>(control)) {
        const QString text = QString(button->text()).remove('&');
        const QStyle* style = button->style();
        int width = button->fontMetrics().horizontalAdvance(text) +
                    style->pixelMetric(QStyle::PM_ButtonMargin) +
                    2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth);
        if (!button->icon().isNull()) width += button->iconSize().width() + 4;
        return {width, button->fontMetrics().height()};
    }
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        if (label->wordWrap()) return {1, label->heightForWidth(label->width())};
        return label->minimumSizeHint();
    }
    if (qobject_cast<const QAbstractButton*>(control) || qobject_cast<const QGroupBox*>(control))
        return control->minimumSizeHint();
    return {};
}

}  // namespace

void TUiTest::SetUp() {
    TSettingsTest::SetUp();
    EnsureApplication();
    InitUi();  // after the settings test's own question hook, to test the real one
    messages_ = std::make_unique<TMessageScript>();
    SetHelpHook([this](int context) { helpContexts_.push_back(context); });
    constexpr int kTickMs = 100;
    modalWatchdog_ = std::make_unique<QTimer>();
    modalWatchdog_->setInterval(kTickMs);
    QObject::connect(modalWatchdog_.get(), &QTimer::timeout, [this] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || modal != watchedModal_) {
            watchedModal_ = modal;
            watchedTicks_ = 0;
        } else if (++watchedTicks_ * kTickMs > unansweredModalMs_) {
            ADD_FAILURE() << "a modal window nobody answered: "
                          << modal->objectName().toStdString();
            modal->close();
            watchedTicks_ = 0;
        }
    });
    modalWatchdog_->start();
}

void TUiTest::TearDown() {
    modalWatchdog_.reset();
    SetHelpHook({});
    SetFileDialogHook({});
    messages_.reset();
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible()) widget->close();
    }
    TSettingsTest::TearDown();
}

void TypeText(QWidget* widget, const QString& text) {
    for (QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(widget, c.toLatin1());
        } else {
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
}

void ExpectFilledInByKeys(QWidget* dialog) {
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    EXPECT_EQ(DialogKeyFaults(dialog).join('\n').toStdString(), "")
        << dialog->metaObject()->className();
}

QStringList MnemonicFaults(const QWidget* menu) {
    QStringList faults;
    CollectMnemonicFaults(menu, menu->objectName(), faults);
    return faults;
}

void WhenShown(std::function<QWidget*()> find, std::function<void(QWidget*)> action, int timeoutMs,
               const std::string& what) {
    auto* timer = new QTimer;
    auto remaining = std::make_shared<int>(timeoutMs / 10);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout,
                     [timer, remaining, what, find = std::move(find), action = std::move(action)] {
                         QWidget* widget = find();
                         if (widget && widget->isVisible()) {
                             timer->stop();
                             timer->deleteLater();
                             action(widget);
                         } else if (--*remaining <= 0) {
                             timer->stop();
                             timer->deleteLater();
                             ADD_FAILURE() << "no " << what << " appeared";
                         }
                     });
    timer->start();
}

void ExpectLaidOut(QWidget* window, const std::string& what, bool fitsOnOpening) {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window)) << what;
    QApplication::processEvents();
    const QSize decoration = WindowDecoration(window);
    const QSize smallest = window->minimumSizeHint().expandedTo(window->minimumSize());
    for (const QSize size : {window->size(), smallest}) {
        if (fitsOnOpening && size != smallest) continue;
        EXPECT_LE(size.width() + decoration.width(), kSmallScreen.width()) << what;
        EXPECT_LE(size.height() + decoration.height(), kSmallScreen.height()) << what;
    }
    for (const QWidget* control : window->findChildren<QWidget*>()) {
        if (control->isWindow() || !control->isVisibleTo(window)) continue;
        const QSize needed = NeededSize(control);
        if (needed.isEmpty()) continue;
        const QString name = control->objectName();
        const std::string shown =
            what + ": " + control->metaObject()->className() + " " +
            (name.isEmpty() ? '"' + control->property("text").toString() + '"' : name)
                .toStdString();
        EXPECT_GE(control->width(), needed.width()) << shown;
        EXPECT_GE(control->height(), needed.height()) << shown;
    }
}

void TUiTest::WhenModal(std::function<void(QWidget*)> action, int timeoutMs) {
    WhenShown([] { return QApplication::activeModalWidget(); }, std::move(action), timeoutMs,
              "modal window");
}

void TUiTest::WhenPopup(std::function<void(QWidget*)> action, int timeoutMs) {
    WhenShown([] { return QApplication::activePopupWidget(); }, std::move(action), timeoutMs,
              "pop-up menu");
}

void TUiTest::WhenDialog(const char* objectName, std::function<void(QWidget*)> action,
                         int timeoutMs) {
    const QString name = QString::fromLatin1(objectName);
    WhenShown(
        [name]() -> QWidget* {
            QWidget* modal = QApplication::activeModalWidget();
            return modal && modal->objectName() == name ? modal : nullptr;
        },
        std::move(action), timeoutMs, "window " + name.toStdString());
}

void TUiTest::Click(QWidget* window, const char* name) {
    auto* button = Child<QAbstractButton>(window, name);
    if (!button) return;
    EXPECT_TRUE(button->isEnabled()) << name;
    // A check box reacts only on its box and text, at its left.
    const bool check = qobject_cast<QCheckBox*>(button) != nullptr;
    QTest::mouseClick(button, Qt::LeftButton, {},
                      check ? QPoint(6, button->height() / 2) : button->rect().center());
}

void TUiTest::Type(QWidget* window, const char* name, const QString& text) {
    QWidget* edit = Child<QWidget>(window, name);
    if (!edit) return;
    if (auto* line = qobject_cast<QLineEdit*>(edit)) {
        line->selectAll();
        line->del();
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(edit)) {
        plain->clear();
    }
    edit->setFocus();
    const QStringList lines = text.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        if (i > 0) QTest::keyClick(edit, Qt::Key_Return);
        TypeText(edit, lines[i]);
    }
}

}  // namespace vrk
