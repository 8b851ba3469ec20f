#include "ui/test_ui.h"

#include <QAction>
#include <QApplication>
#include <QLocale>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <map>
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

namespace {

// The mnemonics of `text` as Qt's menus read them: each "&" before a
// character other than "&"; only the first of them is used.
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

}  // namespace

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

void TUiTest::WhenModal(std::function<void(QWidget*)> action, int timeoutMs) {
    WhenShown([] { return QApplication::activeModalWidget(); }, std::move(action), timeoutMs,
              "modal window");
}

}  // namespace vrk
