#include "ui/test_ui.h"

#include <QApplication>
#include <QLocale>
#include <QTest>
#include <QTimer>
#include <memory>

#include "ui/file_dialog.h"
#include "ui/help.h"
#include "ui/ui_init.h"

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

void TUiTest::WhenModal(std::function<void(QWidget*)> action, int timeoutMs) {
    WhenShown([] { return QApplication::activeModalWidget(); }, std::move(action), timeoutMs,
              "modal window");
}

}  // namespace vrk
