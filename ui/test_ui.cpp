#include "ui/test_ui.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <memory>

#include "ui/elided_label.h"
#include "ui/file_dialog.h"
#include "ui/help.h"
#include "ui/ui_init.h"
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
    InitUi();
}

}  // namespace

void TUiTest::SetUp() {
    TSettingsTest::SetUp();
    EnsureApplication();
    InitUi();  // after the settings test's own question hook, to test the real one
    messages_ = std::make_unique<TMessageScript>();
    SetHelpHook([this](int context) { helpContexts_.push_back(context); });
}

void TUiTest::TearDown() {
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

namespace {

// What a control's text needs: its smallest size, for a label that wraps
// its lines the height of its lines at its width, for a push button its text
// and icon within the button's margins (not the width the style gives
// buttons with short texts). Empty for controls whose text scrolls or is cut
// with "…" on purpose, for controls without a text (pictures, icon
// buttons) and for Qt's own (the entry window's title buttons).
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

std::string Describe(const QWidget* control) {
    const QString name = control->objectName();
    return std::string(control->metaObject()->className()) + " " +
           (name.isEmpty()
                ? std::string("\"") + control->property("text").toString().toStdString() + "\""
                : name.toStdString());
}

}  // namespace

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
        EXPECT_GE(control->width(), needed.width()) << what << ": " << Describe(control);
        EXPECT_GE(control->height(), needed.height()) << what << ": " << Describe(control);
    }
}

void TUiTest::WhenModal(std::function<void(QWidget*)> action, int timeoutMs) {
    WhenShown([] { return QApplication::activeModalWidget(); }, std::move(action), timeoutMs,
              "modal window");
}

}  // namespace vrk
