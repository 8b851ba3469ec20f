#include "ui/worker.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <atomic>
#include <chrono>
#include <thread>

#include "ui/progress_window.h"
#include "ui/test_ui.h"

namespace vrk {
namespace {

using namespace std::chrono_literals;

class WorkerTest : public TUiTest {};

TEST(ProgressBarFormula, EachFormulaAtItsEdges) {
    EXPECT_EQ(BarFullAbove90(0, 0), 0);
    EXPECT_EQ(BarFullAbove90(91, 100), 100);
    EXPECT_EQ(BarFullAbove90(2000000000, 2100000000), 100);  // no overflow
    EXPECT_EQ(BarOverTotalPlusOne(7, 0), 100);               // held within the bar
    EXPECT_EQ(BarOverTotalPlusOne(2000000000, 2000000000), 99);
}

// A run as both programs make it: the bar moves, the UI thread serves calls
// until the worker has ended, and "Prekliči" acts as the cancel policy says.
TEST_F(WorkerTest, RunsBehindItsWindowAndEndsAsItsCancelPolicySays) {
    enum TEnd { kByItself, kWorkerStops, kUserCancels };
    const struct {
        const char* what;
        TCancelPolicy policy;
        TEnd end;
        int result;            // the window's
        bool openAfterCancel;  // and its button disabled
    } cases[] = {
        {"by itself", TCancelPolicy::kCloseAtOnce, kByItself, QDialog::Accepted, false},
        {"worker stops", TCancelPolicy::kWaitForEnd, kWorkerStops, QDialog::Rejected, false},
        {"cancel", TCancelPolicy::kCloseAtOnce, kUserCancels, QDialog::Rejected, false},
        {"cancel, wait", TCancelPolicy::kWaitForEnd, kUserCancels, QDialog::Rejected, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TWorker worker;
        CProgressWindow window(worker, QStringLiteral("Delo"), BarOverTotalPlusOne, c.policy);
        int barShown = -1;
        bool onUiThread = false, servedAfterStop = false;
        std::atomic<bool> waitsForCancel{false};
        worker.Start([&] {
            if (!worker.WaitUntilShown()) return;
            worker.Progress().Start(99);
            worker.Progress().SetPos(50);
            worker.OnUiThread([&] {
                onUiThread = QThread::currentThread() == window.thread();
                window.Poll();
                barShown = window.findChild<QProgressBar*>(QStringLiteral("bar"))->value();
            });
            if (c.end == kWorkerStops) worker.RequestStop();
            if (c.end != kUserCancels) return;
            waitsForCancel = true;
            while (!worker.StopRequested()) std::this_thread::sleep_for(2ms);
            std::this_thread::sleep_for(100ms);
            worker.OnUiThread([&] { servedAfterStop = true; });
        });
        bool openAfterCancel = false;
        if (c.end == kUserCancels)
            WhenShown([&]() -> QWidget* { return waitsForCancel ? &window : nullptr; },
                      [&](QWidget*) {
                          auto* cancel = Child<QPushButton>(&window, "cancelButton");
                          cancel->click();
                          openAfterCancel = window.isVisible() && !cancel->isEnabled();
                      },
                      5000, "worker waiting for the cancel");
        EXPECT_EQ(window.exec(), c.result);
        worker.Join();
        EXPECT_TRUE(worker.HasEnded());
        EXPECT_FALSE(WorkerRunning());
        EXPECT_TRUE(onUiThread);
        EXPECT_EQ(barShown, 50);
        EXPECT_EQ(openAfterCancel, c.openAfterCancel);
        EXPECT_EQ(servedAfterStop, c.end == kUserCancels);
    }
}

// A worker's box shows on the UI thread. The program's end stops a worker
// waiting for its window and gives one waiting for a box its escape answer.
TEST_F(WorkerTest, TheProgramsEndEndsEveryWorker) {
    TWorker waiting, asking;
    bool shown = true, ended = false, onUiThread = false;
    TMsgAnswer answer = TMsgAnswer::kYes;
    SetMessageHook([&](const TMessage&) {
        onUiThread = QThread::currentThread() == qApp->thread();
        ShutDownWorkers(3s);
        ended = !WorkerRunning();
        return TMsgAnswer::kYes;
    });
    waiting.Start([&] { shown = waiting.WaitUntilShown(); });
    asking.Start([&] {
        answer =
            ShowMessage(nullptr, QStringLiteral("?"), TMsgIcon::kQuestion, TMsgButtons::kYesNo);
    });
    asking.Join();
    EXPECT_TRUE(onUiThread);
    EXPECT_TRUE(ended);
    EXPECT_FALSE(shown);
    EXPECT_EQ(answer, TMsgAnswer::kNo);
}

}  // namespace
}  // namespace vrk
