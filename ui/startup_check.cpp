#include "ui/startup_check.h"

#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

namespace vrk {

namespace {

constexpr int kTickMs = 100;
constexpr int kShownTicks = 15;    // the main window up for 1.5 s, with no modal window
constexpr int kGiveUpTicks = 300;  // 30 s

void Say(const QString& line) {
    std::fprintf(stderr, "startup check: %s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
}

QWidget* VisibleMainWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (qobject_cast<QMainWindow*>(widget) != nullptr && widget->isVisible()) return widget;
    return nullptr;
}

}  // namespace

void ArmStartupCheck() {
    const char* env = std::getenv("VRK3_STARTUP_CHECK");
    if (env == nullptr || *env == '\0' || qApp == nullptr) return;
    static bool armed = false;
    if (armed) return;
    armed = true;
    auto* timer = new QTimer(qApp);
    timer->setInterval(kTickMs);
    QObject::connect(timer, &QTimer::timeout, [timer, ticks = 0, shown = 0]() mutable {
        // A modal window runs its own event loop; the timer fires in it too.
        if (QWidget* modal = QApplication::activeModalWidget()) {
            const auto* box = qobject_cast<QMessageBox*>(modal);
            Say(QStringLiteral("modal window \"%1\" (%2): %3")
                    .arg(modal->windowTitle(), modal->objectName(), box ? box->text() : QString()));
            std::_Exit(3);
        }
        if (QWidget* main = VisibleMainWindow(); main != nullptr && ++shown >= kShownTicks) {
            Say(QStringLiteral("main window \"%1\" is up").arg(main->windowTitle()));
            timer->stop();
            QCoreApplication::exit(0);
            return;
        }
        if (++ticks >= kGiveUpTicks) {
            Say(QStringLiteral("no main window after %1 s").arg(kGiveUpTicks * kTickMs / 1000));
            std::_Exit(4);
        }
    });
    timer->start();
}

}  // namespace vrk
